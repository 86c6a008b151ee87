#pragma once
#include <string>

#include "timeline/brush.h"

namespace hlv {

// A full-screen picture behind everything, one image pixel per screen pixel
// from its top-left corner, tinted by channels 4 to 6. Draws nothing while
// hidden. Leaves the depth function at GL_LESS.
class BrushBackdrop : public Brush {
public:
    void render(float localTime) override;

    std::string bitmapName;              // a bitmap held by the bitmap manager
    bool destinationAlphaBlend = false;  // blend by the frame's alpha, keep it
};

} // namespace hlv
