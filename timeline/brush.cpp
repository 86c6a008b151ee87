#include "timeline/brush.h"

namespace hlv {

Brush::Brush()
{
    // Colour and alpha (channels 4 to 7) start opaque white; position, size
    // and channel 8 start at 0.
    for (int i = 4; i <= 7; ++i)
        channels[i].defaultValue = 1.0f;
}

bool Brush::isFinished(float localTime) { return duration != 0 && duration <= localTime; }

void Brush::evaluateChannels(float localTime, float values[kChannelCount]) const
{
    for (int i = 0; i < kChannelCount; ++i)
        values[i] = channels[i].evaluate(localTime);
}

} // namespace hlv
