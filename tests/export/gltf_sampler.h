#pragma once
// glTF's own interpolation of a channel (the formulas glTF 2.0 defines), so
// that the tests read exported channels as any glTF reader would.
#include <algorithm>
#include <vector>

#include "export/gltf_export.h"

inline std::vector<float> sampleChannel(const gltf_export::Channel& channel, float time)
{
    const bool cubic = channel.interpolation == gltf_export::Channel::CubicSpline;
    const size_t width = channel.path == gltf_export::Channel::Rotation ? 4 : 3;
    const size_t stride = cubic ? 3 * width : width;
    const size_t n = channel.times.size();
    auto value = [&](size_t k, size_t c) { return channel.values[k * stride + (cubic ? width : 0) + c]; };
    std::vector<float> out(width);
    const size_t k = size_t(std::upper_bound(channel.times.begin(), channel.times.end(), time) - channel.times.begin());
    if (k == 0 || k == n) {
        for (size_t c = 0; c < width; ++c)
            out[c] = value(k == 0 ? 0 : n - 1, c);
        return out;
    }
    const double t0 = channel.times[k - 1], t1 = channel.times[k], td = t1 - t0, s = (time - t0) / td;
    for (size_t c = 0; c < width; ++c) {
        const double v0 = value(k - 1, c), v1 = value(k, c);
        switch (channel.interpolation) {
        case gltf_export::Channel::Step:
            out[c] = float(v0);
            break;
        case gltf_export::Channel::Linear:
            out[c] = float(v0 + (v1 - v0) * s);
            break;
        case gltf_export::Channel::CubicSpline: {
            const double out0 = channel.values[(k - 1) * stride + 2 * width + c] * td;
            const double in1 = channel.values[k * stride + c] * td;
            const double s2 = s * s, s3 = s2 * s;
            out[c] = float((2 * s3 - 3 * s2 + 1) * v0 + (s3 - 2 * s2 + s) * out0 + (-2 * s3 + 3 * s2) * v1 +
                           (s3 - s2) * in1);
            break;
        }
        }
    }
    return out;
}
