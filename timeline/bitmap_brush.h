#pragma once
#include <string>

#include "timeline/brush.h"

namespace hlv {

// An image at its pixel size, its lower-left corner at (channel 0,
// channel 1), tinted by channels 4 to 7; blended when alpha < 1 or the image
// has alpha. Depth test and writes stay as the frame left them.
class BitmapBrush : public Brush {
public:
    void render(float localTime) override;

    std::string bitmapName;  // a bitmap held by the bitmap manager
};

} // namespace hlv
