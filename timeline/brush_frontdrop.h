#pragma once
#include <string>

#include "timeline/brush.h"

namespace hlv {

// Multiplies the whole frame by a full-screen picture (placed as a
// backdrop's), tinted by channels 4 to 6.
class BrushFrontdrop : public Brush {
public:
    void render(float localTime) override;

    std::string bitmapName;  // a bitmap held by the bitmap manager
};

} // namespace hlv
