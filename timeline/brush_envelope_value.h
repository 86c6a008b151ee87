#pragma once
#include "timeline/brush.h"

namespace hlv {

// Draws nothing: every frame it writes its envelope's value at the local
// time into a float that belongs to someone else (a scrolling quad's
// texture offset). The target must outlive the brush.
class BrushEnvelopeValue : public Brush {
public:
    explicit BrushEnvelopeValue(float* target);
    void render(float localTime) override;

    Envelope value;
    float* target;
};

} // namespace hlv
