#pragma once
// The LightWave 5 motion curve: a Kochanek-Bartels (tension, continuity,
// bias) Hermite spline through vector control points.

#include <vector>

#include "math/vector3.h"

class HermiteInterpolator {
public:
    struct Ctrl {
        float time = 0;
        Vector3f value;
        float tension = 0;
        float continuity = 0;
        float bias = 0;
        bool linear = false;  // the span that ends at this point is straight
    };

    HermiteInterpolator() = default;
    HermiteInterpolator(std::vector<Ctrl> points, float loopLength)
        : loopLength(loopLength), points(std::move(points)) {}
    virtual ~HermiteInterpolator() = default;

    // Past the last point (without looping) and with no point at all the
    // curve holds its last value, so nothing reads beyond the points.
    Vector3f evaluate(float time) const;

    float loopLength = 0;  // 0 or less: no looping
    std::vector<Ctrl> points;  // in increasing time
};

template <typename Interpolator, typename Control, typename Value>
class Spline {
public:
    Spline() = default;
    explicit Spline(Interpolator interpolator) : interpolator(std::move(interpolator)) {}
    virtual ~Spline() = default;

    Value evaluate(float time) const { return interpolator.evaluate(time); }

    Interpolator interpolator;
};

using HermiteSpline = Spline<HermiteInterpolator, HermiteInterpolator::Ctrl, Vector3f>;
