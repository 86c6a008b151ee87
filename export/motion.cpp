// Keyframe handlers as glTF animation channels. Translation and scale keep
// their curves exactly: every piece between breakpoints is one cubic of
// time, which glTF's cubic Hermite spline holds with its slopes as tangents.
// Rotations are Euler angles turned through the node's matrices; glTF
// interpolates quaternions, so they are sampled.
#include <algorithm>
#include <cstdio>
#include <cmath>
#include <functional>
#include <memory>

#include "export/axes.h"
#include "export/gltf_export.h"
#include "export/scalar_curve.h"
#include "math/envelope.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"

namespace gltf_export {

namespace {

struct Sample {
    double value[3], slope[3];
};

using Curves = std::unique_ptr<ScalarCurve>[3];

// The three curves of a handler, or false for a constant handler.
bool curvesOf(const TransformNode::KeyframeHandler& handler, Curves& curves)
{
    if (const auto* lw6 = dynamic_cast<const LW6KeyframeHandler*>(&handler)) {
        for (int c = 0; c < 3; ++c)
            curves[c] = envelopeCurve(lw6->envelope(c));
        return true;
    }
    if (const auto* lw5 = dynamic_cast<const LW5KeyframeHandler*>(&handler)) {
        for (int c = 0; c < 3; ++c)
            curves[c] = lw5Curve(lw5->spline.interpolator, c);
        return true;
    }
    return false;
}

// Sorted breakpoints of the curves within [first, last], both ends
// included; times closer than float keys can tell apart are one.
std::vector<double> breakpointsOf(const Curves& curves, double first, double last)
{
    std::vector<double> all{first, last};
    for (int c = 0; c < 3; ++c)
        curves[c]->breakpoints(first, last, all);
    std::sort(all.begin(), all.end());
    std::vector<double> times;
    for (double t : all) {
        if (t < first || t > last)
            continue;
        if (!times.empty() && t - times.back() <= 1e-6 * std::max(1.0, std::fabs(t)))
            continue;
        times.push_back(t);
    }
    return times;
}

Sample sample(const Curves& curves, double inside, double time)
{
    Sample s;
    for (int c = 0; c < 3; ++c)
        curves[c]->evaluate(inside, time, s.value[c], s.slope[c]);
    return s;
}

bool near(double a, double b) { return std::fabs(a - b) <= 1e-6 * (1 + std::fabs(a) + std::fabs(b)); }

bool sameValue(const Sample& a, const Sample& b)
{
    return near(a.value[0], b.value[0]) && near(a.value[1], b.value[1]) && near(a.value[2], b.value[2]);
}

// The short ramp that stands for a jump: glTF times must increase.
double jumpLength(double time, double previous)
{
    return std::min(std::max(2e-5, std::fabs(time) * 1e-6), (time - previous) / 4);
}

void push3(std::vector<float>& values, const double (&v)[3], double zSign)
{
    values.push_back(float(v[0]));
    values.push_back(float(v[1]));
    values.push_back(float(v[2] * zSign + 0.0));
}

// A translation or scale channel: nothing when the curves stay constant
// (the value goes into `still`), STEP when every piece is constant, LINEAR
// when every piece is straight and none jumps, else CUBICSPLINE.
// `exact` gives the handler's own value at a time: at a jump it tells
// which side the handler takes at the jump's very moment.
bool curveChannel(const Curves& curves, const std::function<Vector3f(double)>& exact, double first, double last,
                  double zSign, Channel& channel, float (&still)[3])
{
    const std::vector<double> times = breakpointsOf(curves, first, last);
    const size_t pieces = times.size() - 1;
    std::vector<Sample> starts, ends;
    for (size_t j = 0; j < pieces; ++j) {
        const double inside = (times[j] + times[j + 1]) / 2;
        starts.push_back(sample(curves, inside, times[j]));
        ends.push_back(sample(curves, inside, times[j + 1]));
    }
    if (pieces == 0) {
        const Sample s = sample(curves, first, first);
        for (int c = 0; c < 3; ++c)
            still[c] = float(c == 2 ? s.value[c] * zSign + 0.0 : s.value[c]);
        return false;
    }
    // The handler's own value at each breakpoint: at a stepped key at the
    // end of the range, or one that a reset follows, the value holds only
    // at that instant and differs from both pieces beside it.
    std::vector<Sample> at(pieces + 1);
    std::vector<bool> instant(pieces + 1, false);
    for (size_t j = 0; j <= pieces; ++j) {
        const Vector3f v = exact(times[j]);
        at[j] = Sample{{v.x, v.y, v.z}, {0, 0, 0}};
        const bool offLeft = j > 0 && !sameValue(at[j], ends[j - 1]);
        const bool offRight = j < pieces && !sameValue(at[j], starts[j]);
        instant[j] = (offLeft || j == 0) && (offRight || j == pieces) && (offLeft || offRight);
    }
    bool constant = true, straight = true, jumps = false;
    for (size_t j = 0; j <= pieces; ++j)
        jumps = jumps || instant[j];
    for (size_t j = 0; j < pieces; ++j) {
        const double length = times[j + 1] - times[j];
        for (int c = 0; c < 3; ++c) {
            const double chord = (ends[j].value[c] - starts[j].value[c]) / length;
            const double scale = 1 + std::fabs(chord);
            straight = straight && std::fabs(starts[j].slope[c] - chord) <= 1e-6 * scale &&
                       std::fabs(ends[j].slope[c] - chord) <= 1e-6 * scale;
            constant = constant && near(starts[j].value[c], ends[j].value[c]) && starts[j].slope[c] == 0 &&
                       ends[j].slope[c] == 0;
        }
        if (j > 0 && !sameValue(ends[j - 1], starts[j]))
            jumps = true;
    }
    if (constant && !jumps) {
        for (int c = 0; c < 3; ++c)
            still[c] = float(c == 2 ? starts[0].value[c] * zSign + 0.0 : starts[0].value[c]);
        return false;
    }
    channel.times.clear();
    channel.values.clear();
    if (constant) {
        channel.interpolation = Channel::Step;
        for (size_t j = 0; j <= pieces; ++j) {
            if (instant[j]) {
                channel.times.push_back(float(times[j]));
                push3(channel.values, at[j].value, zSign);
                if (j == pieces)
                    break;
                channel.times.push_back(float(times[j] + jumpLength(times[j + 1], times[j])));
                push3(channel.values, starts[j].value, zSign);
                continue;
            }
            if (j == pieces || (j > 0 && sameValue(ends[j - 1], starts[j])))
                continue;
            channel.times.push_back(float(times[j]));
            push3(channel.values, starts[j].value, zSign);
        }
        return true;
    }
    if (straight && !jumps) {
        channel.interpolation = Channel::Linear;
        for (size_t j = 0; j <= pieces; ++j) {
            channel.times.push_back(float(times[j]));
            push3(channel.values, j < pieces ? starts[j].value : ends[j - 1].value, zSign);
        }
        return true;
    }
    channel.interpolation = Channel::CubicSpline;
    auto key = [&](double time, const Sample& in, const Sample& at, const Sample& out) {
        channel.times.push_back(float(time));
        push3(channel.values, in.slope, zSign);
        push3(channel.values, at.value, zSign);
        push3(channel.values, out.slope, zSign);
    };
    auto edge = [&](double t) {
        const Vector3f v = exact(t);
        Sample s{{v.x, v.y, v.z}, {0, 0, 0}};
        return s;
    };
    for (size_t j = 0; j <= pieces; ++j) {
        // At the ends of the range the handler's own value stands outside:
        // a repeat that starts its next period at the last frame.
        const Sample left = j > 0 ? ends[j - 1] : edge(times[0]);
        const Sample right = j < pieces ? starts[j] : edge(times[pieces]);
        if (instant[j] && j > 0 && j < pieces) {
            // A value held for an instant: a short ramp up to it and down.
            const double before = times[j] - jumpLength(times[j], times[j - 1]);
            const double after = times[j] + jumpLength(times[j + 1], times[j]);
            const Sample held = sample(curves, (times[j - 1] + times[j]) / 2, before);
            const Sample next = sample(curves, (times[j] + times[j + 1]) / 2, after);
            key(before, held, held, held);
            key(times[j], at[j], at[j], at[j]);
            key(after, next, next, next);
        } else if (!sameValue(left, right)) {
            // The ramp lies on the side the handler does not take at the jump.
            const Vector3f at = exact(times[j]);
            double toLeft = 0, toRight = 0;
            for (int c = 0; c < 3; ++c) {
                const double v = c == 0 ? at.x : c == 1 ? at.y : at.z;
                toLeft += std::fabs(v - left.value[c]);
                toRight += std::fabs(v - right.value[c]);
            }
            if (j < pieces && (j == 0 || toLeft < toRight)) {
                const double after = times[j] + jumpLength(times[j + 1], times[j]);
                key(times[j], left, left, left);
                const Sample next = sample(curves, (times[j] + times[j + 1]) / 2, after);
                key(after, next, next, next);
            } else {
                const double before = times[j] - jumpLength(times[j], times[j - 1]);
                const Sample held = sample(curves, (times[j - 1] + times[j]) / 2, before);
                key(before, held, held, held);
                key(times[j], right, right, right);
            }
        } else {
            key(times[j], left, right, right);
        }
    }
    return true;
}

// The node rotation of `turn` (pitch, heading, bank in the nodes' degrees)
// as a glTF quaternion.
void rotationAt(const TransformNode& node, float time, float (&q)[4])
{
    Vector3f turn;
    node.rotation().evaluate(turn, time);
    Matrix44 r;
    if (node.rotation_order == 0 || node.rotation_order == 1)
        r = Matrix44::rotationY(turn.y) * Matrix44::rotationX(turn.x) * Matrix44::rotationZ(turn.z);
    quaternionOf(r, q);
}

// The times a sampled channel takes: every frame of the range, every key
// off the frame grid, and the moments either side of every key (where a
// value may jump).
std::vector<double> sampleTimes(const TransformNode::KeyframeHandler& handler, const TimeRange& range)
{
    std::vector<double> times;
    const double first = range.first, last = std::max(range.first, range.last);
    const double step = 1.0 / (range.framesPerSecond > 0 ? range.framesPerSecond : 30);
    for (double k = 0; first + k * step < last; ++k)
        times.push_back(first + k * step);
    times.push_back(last);
    Curves curves;
    if (curvesOf(handler, curves)) {
        for (double t : breakpointsOf(curves, first, last)) {
            times.push_back(t);
            if (t > first)
                times.push_back(t - jumpLength(t, first));
            if (t < last)
                times.push_back(t + jumpLength(last, t));
        }
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end(),
                            [](double a, double b) { return float(a) == float(b); }),
                times.end());
    return times;
}

// The angle between two unit quaternions as rotations, in degrees.
double turnBetween(const float (&a)[4], const float (&b)[4])
{
    const double dot = std::fabs(double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2] + double(a[3]) * b[3]);
    return 2 * std::acos(std::min(1.0, dot)) * 180 / M_PI;
}

// Interpolation between quaternions takes the short way round: a turn of
// more than 180 degrees between samples (a propeller) would play
// backwards. Samples are added until no step turns more than 90 degrees.
std::vector<double> withShortTurns(const TransformNode& transform, std::vector<double> times)
{
    std::vector<double> out;
    for (size_t i = 0; i < times.size(); ++i) {
        out.push_back(times[i]);
        if (i + 1 == times.size())
            break;
        std::vector<double> pending{times[i + 1]};
        double from = times[i];
        float qFrom[4];
        rotationAt(transform, float(from), qFrom);
        while (!pending.empty()) {
            const double to = pending.back();
            float qTo[4];
            rotationAt(transform, float(to), qTo);
            const double middle = (from + to) / 2;
            if (turnBetween(qFrom, qTo) > 90 && float(middle) != float(from) && float(middle) != float(to)) {
                pending.push_back(middle);
                continue;
            }
            pending.pop_back();
            if (!pending.empty()) {
                out.push_back(to);
                from = to;
                std::copy(qTo, qTo + 4, qFrom);
            }
        }
    }
    return out;
}

void rotationChannel(Document& document, int node, const TransformNode& transform, const TimeRange& range)
{
    const std::vector<double> times = withShortTurns(transform, sampleTimes(transform.rotation(), range));
    Channel channel;
    channel.node = node;
    channel.path = Channel::Rotation;
    channel.interpolation = Channel::Linear;
    bool moves = false;
    float previous[4] = {0, 0, 0, 1};
    for (size_t i = 0; i < times.size(); ++i) {
        float q[4];
        rotationAt(transform, float(times[i]), q);
        if (i > 0) {
            // The nearer of q and -q, so that interpolation takes the short way.
            const float dot = q[0] * previous[0] + q[1] * previous[1] + q[2] * previous[2] + q[3] * previous[3];
            if (dot < 0)
                for (float& x : q)
                    x = -x;
            for (int c = 0; c < 4; ++c)
                moves = moves || std::fabs(q[c] - previous[c]) > 1e-7f;
        }
        channel.times.push_back(float(times[i]));
        channel.values.insert(channel.values.end(), q, q + 4);
        std::copy(q, q + 4, previous);
    }
    Node& target = document.nodes[size_t(node)];
    std::copy(channel.values.begin(), channel.values.begin() + 4, target.rotation);
    if (moves)
        document.channels.push_back(std::move(channel));
}

// A translation or scale channel as LINEAR samples of the handler's own
// value, for readers that play no CUBICSPLINE; none when it never moves.
void sampledChannel(const TransformNode::KeyframeHandler& handler, const TimeRange& range, float zSign,
                    Channel& channel, float (&still)[3])
{
    channel.interpolation = Channel::Linear;
    bool moves = false;
    for (double t : sampleTimes(handler, range)) {
        Vector3f value;
        handler.evaluate(value, float(t));
        const float v[3] = {value.x, value.y, value.z * zSign + 0.0f};
        if (!channel.values.empty())
            for (int c = 0; c < 3; ++c)
                moves = moves || v[c] != channel.values[c];
        channel.times.push_back(float(t));
        channel.values.insert(channel.values.end(), v, v + 3);
    }
    std::copy(channel.values.begin(), channel.values.begin() + 3, still);
    if (!moves) {
        channel.times.clear();
        channel.values.clear();
    }
}

} // namespace

float startAtZero(Document& document)
{
    float first = 0;
    for (const Channel& channel : document.channels)
        for (float t : channel.times)
            first = std::min(first, t);
    if (first >= 0)
        return 0;
    for (Channel& channel : document.channels)
        for (float& t : channel.times)
            t -= first;
    document.timeShift -= first;
    return -first;
}

bool keyRange(const Scene& scene, float& first, float& last)
{
    bool any = false;
    auto add = [&](float t) {
        first = any ? std::min(first, t) : t;
        last = any ? std::max(last, t) : t;
        any = true;
    };
    for (const SceneNode* node : scene.nodes()) {
        const auto* transform = dynamic_cast<const TransformNode*>(node);
        if (!transform)
            continue;
        for (const TransformNode::KeyframeHandler* handler : {&transform->position(), &transform->rotation(), &transform->scale()}) {
            if (const auto* lw6 = dynamic_cast<const LW6KeyframeHandler*>(handler)) {
                for (int c = 0; c < 3; ++c)
                    if (lw6->envelope(c).firstKey) {
                        add(lw6->envelope(c).firstKey->time);
                        add(lw6->envelope(c).lastKey()->time);
                    }
            } else if (const auto* lw5 = dynamic_cast<const LW5KeyframeHandler*>(handler)) {
                const HermiteInterpolator& spline = lw5->spline.interpolator;
                if (!spline.points.empty()) {
                    add(spline.points.front().time);
                    add(std::max(spline.points.back().time, spline.loopLength));
                }
            }
        }
    }
    return any;
}

// A handler whose motion goes on after its last key (a repeat, an offset, a
// straight line), which glTF cannot: it holds the value at the range's end.
bool movesAfterItsKeys(const TransformNode::KeyframeHandler& handler)
{
    if (const auto* lw6 = dynamic_cast<const LW6KeyframeHandler*>(&handler)) {
        for (int c = 0; c < 3; ++c) {
            const Envelope& envelope = lw6->envelope(c);
            if (envelope.firstKey && envelope.firstKey->next && envelope.postBehaviour != Envelope::Constant)
                return true;
        }
        return false;
    }
    if (const auto* lw5 = dynamic_cast<const LW5KeyframeHandler*>(&handler))
        return lw5->spline.interpolator.loopLength > 0 && lw5->spline.interpolator.points.size() > 1;
    return false;
}

void addMotion(Document& document, int node, const TransformNode& transform, const TimeRange& range)
{
    for (const TransformNode::KeyframeHandler* handler : {&transform.position(), &transform.rotation(), &transform.scale()})
        if (movesAfterItsKeys(*handler)) {
            char end[32];
            std::snprintf(end, sizeof end, "%g", double(std::max(range.first, range.last)));
            document.notCarried.push_back("'" + document.nodes[size_t(node)].name + "': its motion after " + end +
                                          " s (a repeat or other behaviour after the last key; glTF holds the value there)");
            break;
        }
    const double first = range.first, last = std::max(range.first, range.last);
    const TransformNode::KeyframeHandler* handlers[2] = {&transform.position(), &transform.scale()};
    for (int h = 0; h < 2; ++h) {
        Node& target = document.nodes[size_t(node)];
        float (&still)[3] = h == 0 ? target.translation : target.scale;
        Curves curves;
        if (!curvesOf(*handlers[h], curves)) {
            Vector3f value;
            handlers[h]->evaluate(value, float(first));
            const float zSign = h == 0 ? -1.0f : 1.0f;
            still[0] = value.x;
            still[1] = value.y;
            still[2] = value.z * zSign + 0.0f;
            continue;
        }
        Channel channel;
        channel.node = node;
        channel.path = h == 0 ? Channel::Translation : Channel::Scale;
        const TransformNode::KeyframeHandler& handler = *handlers[h];
        if (range.sampled) {
            sampledChannel(handler, range, h == 0 ? -1.0f : 1.0f, channel, still);
            if (!channel.times.empty())
                document.channels.push_back(std::move(channel));
            continue;
        }
        auto exact = [&handler](double t) {
            Vector3f value;
            handler.evaluate(value, float(t));
            return value;
        };
        if (curveChannel(curves, exact, first, last, h == 0 ? -1.0 : 1.0, channel, still)) {
            // The node's own value is the curve at the first time.
            for (int c = 0; c < 3; ++c)
                still[c] = channel.values[size_t(channel.interpolation == Channel::CubicSpline ? 3 + c : c)];
            document.channels.push_back(std::move(channel));
        }
    }
    rotationChannel(document, node, transform, range);
}

} // namespace gltf_export
