#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/envelope.h"
#include "persist/encoding.h"

namespace {

Key key(float time, float value, int shape, float p0 = 0, float p1 = 0, float p2 = 0, float p3 = 0)
{
    Key k;
    k.time = time;
    k.value = value;
    k.shape = shape;
    const float params[4] = {p0, p1, p2, p3};
    std::memcpy(k.params, params, sizeof params);
    return k;
}

// Keys (first, first + 1) and (first + 2, first + 3) joined linearly.
Envelope linearRamp(int behaviour, float first = 0)
{
    Envelope e;
    e.appendKey(key(first, first + 1, Envelope::Linear)).appendKey(key(first + 2, first + 3, Envelope::Linear));
    e.preBehaviour = e.postBehaviour = behaviour;
    return e;
}

} // namespace

TEST(Envelope, KeyCounts)
{
    EXPECT_EQ(Envelope(0.25f).evaluate(3), 0.25f);
    Envelope one;
    one.addKey(5, 7);
    EXPECT_EQ(one.evaluate(-100), 7);
    EXPECT_EQ(one.evaluate(100), 7);
}

TEST(Envelope, Shapes)
{
    // TCB over (0,0), (1,1), (2,3): tangents 1 and 1.5 at w = 1/2.
    Envelope tcb;
    tcb.addKey(0, 0).addKey(1, 1).addKey(2, 3);
    EXPECT_FLOAT_EQ(tcb.evaluate(0.5f), 0.4375f);
    EXPECT_FLOAT_EQ(tcb.evaluate(1.5f), 1.9375f);
    // Continuity, tension and bias of key 1, in the order addKey takes them.
    const float cases[3][4] = {{0.5f, 0, 0, 0.40625f}, {0, 0.5f, 0, 0.53125f}, {0, 0, 0.5f, 0.46875f}};
    for (const auto& c : cases) {
        Envelope e;
        e.addKey(0, 0).addKey(1, 1, c[0], c[1], c[2]).addKey(2, 3);
        EXPECT_FLOAT_EQ(e.evaluate(0.5f), c[3]);
    }

    // Out tangent 2 at key 0, in tangent -1 at key 1; a following key
    // scales the in tangent by (1 - 0) / (3 - 0).
    for (int shape : {Envelope::Hermite, Envelope::Bezier}) {
        Envelope e;
        e.appendKey(key(0, 0, shape, 0, 2)).appendKey(key(1, 1, shape, -1, 0));
        EXPECT_FLOAT_EQ(e.evaluate(0.5f), 0.875f);
        e.appendKey(key(3, 0, shape));
        EXPECT_FLOAT_EQ(e.evaluate(0.5f), 0.75f + 0.125f / 3);
    }

    Envelope linear;
    linear.addKey(0, 0).appendKey(key(2, 4, Envelope::Linear));
    EXPECT_FLOAT_EQ(linear.evaluate(0.5f), 1.0f);

    Envelope stepped;
    stepped.addKey(0, 1).appendKey(key(2, 5, Envelope::Stepped));
    EXPECT_EQ(stepped.evaluate(1.999f), 1);
    EXPECT_EQ(stepped.evaluate(2.0f), 5);
}

TEST(Envelope, TwoDimensionalBezier)
{
    // Time controls 0, 1/3, 2/3, 1 (time = curve parameter); values 0, 0.5, 1, 1.
    Envelope straight;
    straight.appendKey(key(0, 0, Envelope::Bezier2D, 0, 0, 1.0f / 3, 0.5f))
        .appendKey(key(1, 1, Envelope::Bezier2D, -1.0f / 3, 0));
    EXPECT_NEAR(straight.evaluate(0.5f), 0.6875f, 1e-6f);
    // Time controls 0, 0, 1, 1: x(u) = 3u^2 - 2u^3; t = 0.15625 is u = 0.25.
    Envelope curved;
    curved.appendKey(key(0, 0, Envelope::Bezier2D, 0, 0, 0, 0.5f)).appendKey(key(1, 1, Envelope::Bezier2D));
    EXPECT_NEAR(curved.evaluate(0.15625f), 0.3671875f, 1e-6f);

    // A divisor of 0.000001 multiplies by 100000: out tangent 50000 feeds a
    // Hermite span; the in tangent shows through a linear post-behaviour.
    Envelope tinyOut;
    tinyOut.appendKey(key(0, 0, Envelope::Bezier2D, 0, 0, 0.000001f, 0.5f)).appendKey(key(1, 1, Envelope::Hermite));
    EXPECT_FLOAT_EQ(tinyOut.evaluate(0.5f), 0.125f * 50000 + 0.5f);
    Envelope tinyIn;
    tinyIn.addKey(0, 0).appendKey(key(1, 1, Envelope::Bezier2D, 0.000001f, 0.5f));
    tinyIn.setLinear();
    EXPECT_NEAR(tinyIn.evaluate(1.001f), 51.0f, 0.01f);

    // Far from 0, float times cannot come within the tolerance; the search ends.
    Envelope late;
    late.appendKey(key(4000, 0, Envelope::Bezier2D, 0, 0, 0.4f, 0)).appendKey(key(4001.5f, 1, Envelope::Bezier2D));
    EXPECT_GT(late.evaluate(4000.7f), 0);
}

TEST(Envelope, Behaviours)
{
    // Inside the keys, 1 + t.
    EXPECT_EQ(linearRamp(Envelope::Reset).evaluate(-1), 0);
    EXPECT_EQ(linearRamp(Envelope::Reset).evaluate(3), 0);
    EXPECT_EQ(linearRamp(Envelope::Constant).evaluate(-1), 1);
    EXPECT_EQ(linearRamp(Envelope::Constant).evaluate(3), 3);

    const struct {
        int behaviour;
        float at, expected;
    } cases[] = {
        {Envelope::Repeat, 2.5f, 1.5f},    {Envelope::Repeat, 5, 2},           {Envelope::Repeat, -0.5f, 2.5f},
        {Envelope::Oscillate, 2.5f, 2.5f}, {Envelope::Oscillate, 4.5f, 1.5f},  {Envelope::Oscillate, -0.5f, 1.5f},
        {Envelope::Offset, 2.5f, 3.5f},    {Envelope::Offset, 4.5f, 5.5f},     {Envelope::Offset, -0.5f, 0.5f},
        {Envelope::LinearBehaviour, -1, 0}, {Envelope::LinearBehaviour, 3, 4},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(linearRamp(c.behaviour).evaluate(c.at), c.expected) << c.behaviour << " at " << c.at;

    // With the first key at 1 the periods run 1..3, 3..5: no jump at 3.
    EXPECT_FLOAT_EQ(linearRamp(Envelope::Repeat, 1).evaluate(3.5f), 2.5f);
    EXPECT_FLOAT_EQ(linearRamp(Envelope::Oscillate, 1).evaluate(3.5f), 3.5f);
    EXPECT_FLOAT_EQ(linearRamp(Envelope::Offset, 1).evaluate(3.5f), 4.5f);
}

// A change of units: every shape and behaviour gives the same curve scaled,
// tangents and 2D Bezier handles included.
TEST(Envelope, ScaledValuesScaleTheWholeCurve)
{
    for (int shape : {Envelope::TCB, Envelope::Hermite, Envelope::Bezier, Envelope::Linear, Envelope::Stepped,
                      Envelope::Bezier2D}) {
        for (int behaviour = Envelope::Reset; behaviour <= Envelope::LinearBehaviour; ++behaviour) {
            Envelope original;
            original.appendKey(key(0, 1, shape, -0.2f, 2, 0.3f, 1.5f))
                .appendKey(key(1, 4, shape, -0.3f, -1, 0.25f, 0.5f))
                .appendKey(key(2.5f, -2, shape, -0.4f, 0.5f, 0.5f, -1));
            original.appendKey(key(3, 0.5f, shape, -0.1f, 3));
            original.preBehaviour = original.postBehaviour = behaviour;
            Envelope scaled(original);
            scaled.scaleValues(-57.3f);
            for (float t = -4; t <= 7; t += 0.125f)
                EXPECT_NEAR(scaled.evaluate(t), -57.3f * original.evaluate(t), 1e-3f * (1 + std::fabs(scaled.evaluate(t))))
                    << "shape " << shape << " behaviour " << behaviour << " at " << t;
        }
    }
    // A negative factor leaves no negative zeros behind.
    Envelope zero;
    zero.addKey(0, 0).addKey(1, 0);
    zero.scaleValues(-2);
    EXPECT_FALSE(std::signbit(zero.firstKey->value));
}

TEST(Envelope, CopiesOwnTheirKeys)
{
    Envelope original(0.5f);
    original.addKey(0, 1).addKey(1, 2);
    Envelope copy(original);
    Envelope assigned;
    assigned = original;
    original.firstKey->value = -5;
    original.addKey(2, 10);
    for (const Envelope* e : {&copy, &assigned}) {
        EXPECT_EQ(e->keyCount, 2);
        EXPECT_EQ(e->defaultValue, 0.5f);
        EXPECT_FLOAT_EQ(e->evaluate(0.5f), 1.5f);
    }
}

TEST(Envelope, StoredForm)
{
    Envelope e;
    e.appendKey(key(0.5f, 2, Envelope::Bezier2D, 1, 2, 3, 4)).addKey(1, 3, 0.1f, 0.2f, 0.3f);
    e.preBehaviour = Envelope::Reset;
    memory_pstream s;
    io(s, true, e);
    ASSERT_EQ(s.bytes().size(), 4u + 2 * 40 + 8);
    float fields[3];
    std::memcpy(fields, &s.bytes()[4], sizeof fields);
    EXPECT_EQ(fields[0], 2);     // value before time
    EXPECT_EQ(fields[1], 0.5f);

    Envelope back;
    io(s, false, back);
    ASSERT_EQ(back.keyCount, 2);
    EXPECT_EQ(back.lastKey()->tension, 0.2f);
    EXPECT_EQ(back.preBehaviour, Envelope::Reset);
    EXPECT_EQ(back.evaluate(0.75f), e.evaluate(0.75f));

    // Too many keys for the stream, a negative count, a cut: refused, and
    // the envelope keeps its keys.
    std::vector<uint8_t> cut = s.bytes();
    cut.resize(cut.size() - 3);
    const std::vector<uint8_t> bad[] = {{0xFF, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0xFF}, cut};
    for (const auto& bytes : bad) {
        memory_pstream in(bytes);
        EXPECT_THROW(io(in, false, back), persistent::exception);
        EXPECT_EQ(back.keyCount, 2);
    }
}
