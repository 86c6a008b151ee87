#include "math/envelope.h"

#include <cmath>
#include <utility>

namespace {

// The Hermite basis at w, applied to the span's end values and tangents.
float hermite(float w, float v0, float out, float v1, float in)
{
    float w2 = w * w, w3 = w2 * w;
    float h2 = 3 * w2 - 2 * w3;
    float h1 = 1 - h2;
    float h3 = w3 - 2 * w2 + w;
    float h4 = w3 - w2;
    return h1 * v0 + h3 * out + h2 * v1 + h4 * in;
}

float bezier(float p0, float p1, float p2, float p3, float u)
{
    float v = 1 - u;
    return v * v * v * p0 + 3 * v * v * u * p1 + 3 * v * u * u * p2 + u * u * u * p3;
}

// A two-dimensional Bezier tangent: a time span scaled by the ratio of two
// parameters, with a near-zero divisor turned into a large factor.
float bezier2DSlope(float span, float numerator, float divisor)
{
    float x = span * numerator;
    return std::fabs(divisor) > 0.00001f ? x / divisor : x * 100000.0f;
}

// The value of a two-dimensional Bezier span at `time`: the curve parameter
// is found by bisection on the time curve.
float bezier2D(const Key& key0, const Key& key1, float time)
{
    bool outIs2D = key0.shape == Envelope::Bezier2D;
    float x0 = key0.time;
    float x1 = key0.time + (outIs2D ? key0.params[2] : (key1.time - key0.time) / 3);
    float x2 = key1.time + key1.params[0];
    float x3 = key1.time;
    float y0 = key0.value;
    float y1 = key0.value + (outIs2D ? key0.params[3] : key0.params[1] / 3);
    float y2 = key1.value + key1.params[1];
    float y3 = key1.value;

    // Float times far from 0, or a time curve that never reaches `time`,
    // cannot always come within the tolerance; the bound keeps the search
    // finite (the interval is below float resolution long before it).
    float lower = 0, upper = 1, u = 0.5f;
    for (int step = 0; step < 64; ++step) {
        float x = bezier(x0, x1, x2, x3, u);
        if (std::fabs(time - x) <= 0.0001f)
            break;
        if (x > time)
            upper = u;
        else
            lower = u;
        u = lower + (upper - lower) * 0.5f;
    }
    return bezier(y0, y1, y2, y3, u);
}

// Brings `time` into [first, last] by whole periods; `count` receives how
// many periods were taken off (negative before the first key). Periods are
// counted from the first key, not from time 0: counted from 0, an envelope
// whose first key is not at 0 lands outside its keys (see
// docs/architecture.md, "Kept on purpose").
float wrap(float time, float first, float last, int& count)
{
    float range = last - first;
    if (range == 0) {
        count = 0;
        return first;
    }
    float wrapped = first + (time - first) - range * std::floor((time - first) / range);
    count = -static_cast<int>((wrapped - time) / range + (wrapped > time ? 0.5f : -0.5f));
    return wrapped;
}

} // namespace

float outgoingTangent(const Key& key0, const Key& key1)
{
    const Key* p = key0.prev;
    float d = key1.value - key0.value;
    float k = p ? (key1.time - key0.time) / (key1.time - p->time) : 1.0f;
    switch (key0.shape) {
    case Envelope::TCB: {
        float a = (1 - key0.tension) * (1 + key0.continuity) * (1 + key0.bias);
        float b = (1 - key0.tension) * (1 - key0.continuity) * (1 - key0.bias);
        return p ? k * (a * (key0.value - p->value) + b * d) : b * d;
    }
    case Envelope::Hermite:
    case Envelope::Bezier:
        return key0.params[1] * k;
    case Envelope::Linear:
        return p ? k * (key0.value - p->value + d) : d;
    case Envelope::Bezier2D:
        return bezier2DSlope(key1.time - key0.time, key0.params[3], key0.params[2]);
    default:
        return 0;
    }
}

float incomingTangent(const Key& key0, const Key& key1)
{
    const Key* q = key1.next;
    float d = key1.value - key0.value;
    float k = q ? (key1.time - key0.time) / (q->time - key0.time) : 1.0f;
    switch (key1.shape) {
    case Envelope::TCB: {
        float a = (1 - key1.tension) * (1 - key1.continuity) * (1 + key1.bias);
        float b = (1 - key1.tension) * (1 + key1.continuity) * (1 - key1.bias);
        return q ? k * (b * (q->value - key1.value) + a * d) : a * d;
    }
    case Envelope::Hermite:
    case Envelope::Bezier:
        return key1.params[0] * k;
    case Envelope::Linear:
        return q ? k * (q->value - key1.value + d) : d;
    case Envelope::Bezier2D:
        return bezier2DSlope(key1.time - key0.time, key1.params[1], key1.params[0]);
    default:
        return 0;
    }
}

Envelope::Envelope(float defaultValue_) : defaultValue(defaultValue_) {}

Envelope::Envelope(const Envelope& other) { *this = other; }

Envelope& Envelope::operator=(const Envelope& other)
{
    if (this == &other)
        return *this;
    clearKeys();
    for (const Key* key = other.firstKey; key; key = key->next)
        appendKey(*key);
    preBehaviour = other.preBehaviour;
    postBehaviour = other.postBehaviour;
    defaultValue = other.defaultValue;
    return *this;
}

Envelope::~Envelope() { clearKeys(); }

void Envelope::clearKeys()
{
    while (firstKey) {
        Key* next = firstKey->next;
        delete firstKey;
        firstKey = next;
    }
    lastKey_ = nullptr;
    keyCount = 0;
}

Envelope& Envelope::addKey(float time, float value, float continuity, float tension, float bias)
{
    Key key;
    key.time = time;
    key.value = value;
    key.continuity = continuity;
    key.tension = tension;
    key.bias = bias;
    return appendKey(key);
}

Envelope& Envelope::appendKey(const Key& key)
{
    Key* added = new Key(key);
    added->next = nullptr;
    added->prev = lastKey_;
    if (lastKey_)
        lastKey_->next = added;
    else
        firstKey = added;
    lastKey_ = added;
    ++keyCount;
    return *this;
}

Envelope& Envelope::scaleValues(float factor)
{
    // Adding 0 turns the negative zeros that a negative factor makes of 0
    // back into 0: the same value, and the same bytes in files.
    for (Key* key = firstKey; key; key = key->next) {
        key->value = key->value * factor + 0.0f;
        // A 2D Bezier key holds (time, value) handle offsets: in, then out.
        const int valueParams[2] = {key->shape == Bezier2D ? 1 : 0, key->shape == Bezier2D ? 3 : 1};
        for (int p : valueParams)
            key->params[p] = key->params[p] * factor + 0.0f;
    }
    defaultValue = defaultValue * factor + 0.0f;
    return *this;
}

float Envelope::evaluate(float time) const
{
    if (!firstKey)
        return defaultValue;
    if (!firstKey->next)
        return firstKey->value;

    const Key& first = *firstKey;
    const Key& last = *lastKey();
    float offset = 0;
    int count = 0;

    if (time < first.time || time > last.time) {
        bool before = time < first.time;
        switch (before ? preBehaviour : postBehaviour) {
        case Reset:
            return 0;
        case Constant:
            return before ? first.value : last.value;
        case Repeat:
            time = wrap(time, first.time, last.time, count);
            break;
        case Oscillate:
            time = wrap(time, first.time, last.time, count);
            if (count % 2 != 0)
                time = first.time + last.time - time;  // mirrored within the key range
            break;
        case Offset:
            time = wrap(time, first.time, last.time, count);
            offset = count * (last.value - first.value);
            break;
        case LinearBehaviour:
            if (before) {
                const Key& next = *first.next;
                return outgoingTangent(first, next) / (next.time - first.time) * (time - first.time) + first.value;
            } else {
                const Key& prev = *last.prev;
                return incomingTangent(prev, last) / (last.time - prev.time) * (time - last.time) + last.value;
            }
        default:
            break;
        }
    }

    // The span that holds `time`; rounding in the wrap may leave it a hair
    // outside the key range, which the first or last span then covers.
    const Key* key0 = firstKey;
    while (key0->next->next && !(time <= key0->next->time))
        key0 = key0->next;
    const Key& k0 = *key0;
    const Key& k1 = *key0->next;
    if (time == k0.time)
        return k0.value + offset;
    if (time == k1.time)
        return k1.value + offset;

    float w = (time - k0.time) / (k1.time - k0.time);
    switch (k1.shape) {
    case TCB:
    case Hermite:
    case Bezier:
        return hermite(w, k0.value, outgoingTangent(k0, k1), k1.value, incomingTangent(k0, k1)) + offset;
    case Linear:
        return k0.value + w * (k1.value - k0.value) + offset;
    case Stepped:
        return k0.value + offset;
    case Bezier2D:
        return bezier2D(k0, k1, time) + offset;
    default:
        return offset;
    }
}
