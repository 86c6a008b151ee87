#include "scene/hermite_spline.h"

#include <cmath>

Vector3f HermiteInterpolator::evaluate(float time) const
{
    const size_t n = points.size();
    if (n == 0)
        return Vector3f();
    if (loopLength > 0 && time > loopLength)
        time -= std::floor(time / loopLength) * loopLength;
    if (n == 1)
        return points[0].value;
    // Looping curves shorter than their loop also hold the last value.
    if (time > points[n - 1].time)
        return points[n - 1].value;

    size_t i = 1;
    while (i < n - 1 && points[i].time < time)
        ++i;
    const Ctrl& key0 = points[i - 1];
    const Ctrl& key1 = points[i];
    const float span = key1.time - key0.time;
    const float w = span != 0 ? (time - key0.time) / span : 0.0f;
    const Vector3f d = key1.value - key0.value;

    if (key1.linear)
        return key0.value + d * w;

    const float a = (1 - key0.tension) * (1 + key0.continuity) * (1 + key0.bias);
    const float b = (1 - key0.tension) * (1 - key0.continuity) * (1 - key0.bias);
    Vector3f out;
    if (i == 1)
        out = d * ((a + b) * 0.5f);
    else
        out = ((key0.value - points[i - 2].value) * a + d * b) * (span / (key1.time - points[i - 2].time));

    const float c = (1 - key1.tension) * (1 - key1.continuity) * (1 + key1.bias);
    const float e = (1 - key1.tension) * (1 + key1.continuity) * (1 - key1.bias);
    Vector3f in;
    if (i == n - 1)
        in = d * ((c + e) * 0.5f);
    else
        in = ((points[i + 1].value - key1.value) * e + d * c) * (span / (points[i + 1].time - key0.time));

    const float w2 = w * w, w3 = w2 * w;
    const float h2 = 3 * w2 - 2 * w3;
    const float h1 = 1 - h2;
    const float h3 = w3 - 2 * w2 + w;
    const float h4 = w3 - w2;
    return key0.value * h1 + key1.value * h2 + out * h3 + in * h4;
}
