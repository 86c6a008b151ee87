#pragma once
#include <string>

#include "timeline/brush.h"

namespace hlv {

// Placed like a BitmapBrush, but writes stencil value 1 wherever the tinted
// image's alpha is above half the tint's alpha (the mask's outline at any
// frame size), and no colour; later layers test against it.
class BrushAlphaToStencil : public Brush {
public:
    void render(float localTime) override;

    std::string bitmapName;  // a bitmap held by the bitmap manager
};

} // namespace hlv
