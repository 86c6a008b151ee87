#pragma once
#include "math/envelope.h"

namespace hlv {

// Everything the show draws. A brush renders itself for a local time
// measured from its activation; its nine channels are envelopes that the
// concrete brush reads (2D brushes: x, y, width, height, red, green, blue,
// alpha; channel 8 unused).
class Brush {
public:
    static constexpr int kChannelCount = 9;

    Brush();
    virtual ~Brush() = default;
    virtual void render(float localTime) = 0;
    // True once a non-zero duration has run out.
    virtual bool isFinished(float localTime);

    // Evaluates the nine channels, in order, into `values`.
    void evaluateChannels(float localTime, float values[kChannelCount]) const;

    Envelope channels[kChannelCount];
    int layer = 0;                  // 0..7
    float duration = 0.0f;          // 0 = endless
    bool deleteWhenFinished = true;
    bool visible = true;            // read by the backdrop and scene brushes
};

} // namespace hlv
