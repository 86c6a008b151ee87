#pragma once
// The three kinds of keyframe motion: a constant, the LightWave 5 Hermite
// spline and three LightWave 6 envelopes.

#include <vector>

#include "scene/hermite_spline.h"
#include "scene/transform_node.h"

class Envelope;

class ConstantKeyframeHandler : public TransformNode::KeyframeHandler {
public:
    static constexpr const char* kClassName = "class ConstantKeyframeHandler";

    ConstantKeyframeHandler() = default;
    explicit ConstantKeyframeHandler(const Vector3f& value) : value(value) {}

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    Vector3f evaluate(Vector3f& output, float time) const override;

    Vector3f value;
};

class LW5KeyframeHandler : public TransformNode::KeyframeHandler {
public:
    static constexpr const char* kClassName = "class LW5KeyframeHandler";

    LW5KeyframeHandler() = default;
    LW5KeyframeHandler(std::vector<HermiteInterpolator::Ctrl> points, float loopLength)
        : spline(HermiteInterpolator(std::move(points), loopLength)) {}

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    Vector3f evaluate(Vector3f& output, float time) const override;

    HermiteSpline spline;
};

class LW6KeyframeHandler : public TransformNode::KeyframeHandler {
public:
    static constexpr const char* kClassName = "class LW6KeyframeHandler";

    // Three envelopes without keys (every component 0).
    LW6KeyframeHandler();
    // Takes ownership of the three envelopes.
    LW6KeyframeHandler(Envelope* x, Envelope* y, Envelope* z);
    LW6KeyframeHandler(const LW6KeyframeHandler&) = delete;
    LW6KeyframeHandler& operator=(const LW6KeyframeHandler&) = delete;
    ~LW6KeyframeHandler() override;

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    Vector3f evaluate(Vector3f& output, float time) const override;

    const Envelope& envelope(int component) const { return *envelopes_[component]; }

private:
    Envelope* envelopes_[3];
};
