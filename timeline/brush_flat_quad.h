#pragma once
#include "timeline/brush.h"

namespace hlv {

// An untextured rectangle centred on (channel 0, channel 1), channel 2 wide
// and channel 3 high, coloured by channels 4 to 7 (flashes and fades). A
// fresh one is a zero-sized white quad.
class BrushFlatQuad : public Brush {
public:
    void render(float localTime) override;
};

} // namespace hlv
