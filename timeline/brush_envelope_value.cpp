#include "timeline/brush_envelope_value.h"

namespace hlv {

BrushEnvelopeValue::BrushEnvelopeValue(float* target_) : target(target_) {}

void BrushEnvelopeValue::render(float localTime)
{
    *target = value.evaluate(localTime);
}

} // namespace hlv
