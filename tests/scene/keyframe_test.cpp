#include <gtest/gtest.h>

#include "math/envelope.h"
#include "persist/encoding.h"
#include "scene/keyframe_handlers.h"

namespace {

using Ctrl = HermiteInterpolator::Ctrl;

Ctrl point(float time, Vector3f value, bool linear = false)
{
    Ctrl c;
    c.time = time;
    c.value = value;
    c.linear = linear;
    return c;
}

void expect_near(const Vector3f& actual, const Vector3f& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Vector3f at(const TransformNode::KeyframeHandler& handler, float time)
{
    Vector3f out;
    handler.evaluate(out, time);
    return out;
}

Vector3f catmull_rom(Vector3f p0, Vector3f p1, Vector3f p2, Vector3f p3, float w)
{
    float w2 = w * w, w3 = w2 * w;
    return (p1 * 2.0f + (p2 - p0) * w + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * w2 +
            (p1 * 3.0f - p0 - p2 * 3.0f + p3) * w3) *
           0.5f;
}

template <typename T>
std::unique_ptr<T> round_trip(T& handler)
{
    register_factories();
    memory_pstream out;
    write_object(out, handler);
    memory_pstream in(out.bytes());
    std::unique_ptr<persistent> read(read_object(in));
    EXPECT_EQ(in.remaining(), 0u);
    T* typed = dynamic_cast<T*>(read.get());
    EXPECT_NE(typed, nullptr);
    read.release();
    return std::unique_ptr<T>(typed);
}

} // namespace

TEST(Keyframes, LW5LinearSpanGivesExactMidpoint)
{
    LW5KeyframeHandler handler({point(0, {0, 0, 0}), point(2, {4, 6, -8}, true)}, 0);
    EXPECT_EQ(at(handler, 1.0f), Vector3f(2, 3, -4));
}

TEST(Keyframes, LW5LoopingWrapsAboveTheLoopLengthOnly)
{
    LW5KeyframeHandler handler({point(0, {0, 0, 0}), point(4, {5, 1, 2}), point(10, {-3, 7, 0})}, 10);
    expect_near(at(handler, 25.0f), at(handler, 5.0f));
    EXPECT_EQ(at(handler, 10.0f), Vector3f(-3, 7, 0));  // not wrapped to the first point
    EXPECT_NE(at(handler, 5.0f), at(handler, 4.0f));

    // A loop longer than the curve holds the last value past the last point.
    LW5KeyframeHandler shortCurve({point(0, {1, 1, 1}), point(2, {3, 3, 3})}, 10);
    EXPECT_EQ(at(shortCurve, 7.0f), Vector3f(3, 3, 3));
    EXPECT_EQ(at(shortCurve, 13.0f), Vector3f(3, 3, 3));
    expect_near(at(shortCurve, 11.0f), at(shortCurve, 1.0f));
}

TEST(Keyframes, LW5ZeroTcbSpanIsCatmullRom)
{
    Vector3f p[4] = {{0, 0, 0}, {1, 3, -2}, {4, 2, 5}, {6, -1, 1}};
    LW5KeyframeHandler handler({point(0, p[0]), point(1, p[1]), point(2, p[2]), point(3, p[3])}, 0);
    for (float w : {0.0f, 0.25f, 0.5f, 0.9f})
        expect_near(at(handler, 1.0f + w), catmull_rom(p[0], p[1], p[2], p[3], w));
}

TEST(Keyframes, LW5DegenerateCurvesStayInsideTheirPoints)
{
    LW5KeyframeHandler none({}, 0);
    EXPECT_EQ(at(none, 3.0f), Vector3f(0, 0, 0));
    LW5KeyframeHandler one({point(5, {1, 2, 3})}, 0);
    EXPECT_EQ(at(one, -4.0f), Vector3f(1, 2, 3));
    LW5KeyframeHandler two({point(0, {0, 0, 0}), point(1, {1, 1, 1}, true)}, 0);
    EXPECT_EQ(at(two, 9.0f), Vector3f(1, 1, 1));
    // Before the first point the first span is extended.
    EXPECT_EQ(at(two, -1.0f), Vector3f(-1, -1, -1));
}

TEST(Keyframes, LW6EvaluatesOneEnvelopePerComponent)
{
    Key start, end;
    start.time = 0;
    start.value = 0;
    end.time = 10;
    end.value = 20;
    end.shape = Envelope::Linear;
    Envelope* x = new Envelope;
    x->appendKey(start).appendKey(end);
    Envelope* y = new Envelope;
    y->addKey(0, 3.0f);
    LW6KeyframeHandler handler(x, y, new Envelope);
    EXPECT_EQ(at(handler, 5.0f), Vector3f(10, 3, 0));
    EXPECT_EQ(at(handler, 15.0f), Vector3f(20, 3, 0));

    std::unique_ptr<LW6KeyframeHandler> back = round_trip(handler);
    EXPECT_EQ(at(*back, 2.5f), Vector3f(5, 3, 0));
    EXPECT_EQ(back->envelope(0).keyCount, 2);
}
