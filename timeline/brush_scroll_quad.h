#pragma once
#include <string>

#include "timeline/brush.h"

namespace hlv {

// A textured rectangle centred on (channel 0, channel 1), channel 2 wide and
// channel 3 high, tinted by channels 4 to 7; as the texture offset grows the
// image moves up across it and repeats.
class BrushScrollQuad : public Brush {
public:
    void render(float localTime) override;

    std::string bitmapName;      // a bitmap held by the bitmap manager
    float textureOffset = 0.0f;  // written every frame by an envelope-value brush
    float unusedScale = 1.0f;    // set and never read
};

} // namespace hlv
