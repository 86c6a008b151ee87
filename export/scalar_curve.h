#pragma once
// One component of a keyframe handler seen as what glTF can hold: pieces
// that are each one cubic polynomial of time, joined at breakpoints where
// the value may jump. Pre- and post-behaviours are unrolled into pieces.

#include <memory>
#include <vector>

class Envelope;
class HermiteInterpolator;

namespace gltf_export {

class ScalarCurve {
public:
    virtual ~ScalarCurve() = default;
    // Every time in [first, last] where one piece ends and the next begins.
    virtual void breakpoints(double first, double last, std::vector<double>& times) const = 0;
    // The value and slope (per second) at `time` of the piece that holds
    // `inside`; `time` may be anywhere on that piece, ends included.
    virtual void evaluate(double inside, double time, double& value, double& slope) const = 0;
};

std::unique_ptr<ScalarCurve> envelopeCurve(const Envelope& envelope);
// Component 0, 1 or 2 of a LightWave 5 spline.
std::unique_ptr<ScalarCurve> lw5Curve(const HermiteInterpolator& spline, int component);

} // namespace gltf_export
