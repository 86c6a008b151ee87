#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/envelope.h"
#include "persist/encoding.h"
#include "tests/support/stored_bytes.h"

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

// Kochanek-Bartels spans through keys that carry both tension and
// continuity, each with its own sign, so that a wrong sign or a swapped
// argument on either side of a key changes the value.
TEST(Envelope, TensionAndContinuityShapeBothSidesOfAKey)
{
    Envelope e;
    e.addKey(0, 0).addKey(1, 2, 0.5f, -0.5f).addKey(3, 1, -0.25f, 0.5f).addKey(4, 3);
    // Hermite basis at w = 1/2.
    const double h1 = 0.5, h2 = 0.5, h3 = 0.125, h4 = -0.125;

    // Span (0, 0) -> (1, 2) at 0.5. Out of the first key, which has no key
    // before it: b * d with b = 1, d = 2. Into the key (C 0.5, T -0.5):
    // a = (1 - T)(1 - C) = 0.75, b = (1 - T)(1 + C) = 2.25, scaled by
    // (1 - 0) / (3 - 0) as the key (3, 1) follows.
    const double out1 = 1 * 2.0;
    const double in1 = (1.0 / 3) * (2.25 * (1 - 2) + 0.75 * 2);
    EXPECT_NEAR(e.evaluate(0.5f), h1 * 0 + h2 * 2 + h3 * out1 + h4 * in1, 1e-5);

    // Span (1, 2) -> (3, 1) at 2, d = -1. Out of (C 0.5, T -0.5):
    // a = (1 - T)(1 + C) = 2.25, b = (1 - T)(1 - C) = 0.75, scaled by
    // (3 - 1) / (3 - 0). Into (C -0.25, T 0.5): a = (1 - T)(1 - C) = 0.625,
    // b = (1 - T)(1 + C) = 0.375, scaled by (3 - 1) / (4 - 1).
    const double out2 = (2.0 / 3) * (2.25 * (2 - 0) + 0.75 * -1);
    const double in2 = (2.0 / 3) * (0.375 * (3 - 1) + 0.625 * -1);
    EXPECT_NEAR(e.evaluate(2.0f), h1 * 2 + h2 * 1 + h3 * out2 + h4 * in2, 1e-5);
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

// Key count, then per key value, time, shape, tension, continuity, bias
// and the four parameters, then the pre- and post-behaviour.
TEST(Envelope, StoredFormFieldByField)
{
    StoredBytes expected;
    expected.i32(2);
    expected.f32(2.5f).f32(0.25f).i32(Envelope::Bezier2D).f32(0.1f).f32(0.2f).f32(0.3f);
    expected.f32(1).f32(2).f32(3).f32(4);
    expected.f32(-1.5f).f32(3).i32(Envelope::Stepped).f32(-0.4f).f32(0.5f).f32(-0.6f);
    expected.f32(5).f32(6).f32(7).f32(8);
    expected.i32(Envelope::Oscillate).i32(Envelope::Offset);

    memory_pstream in(expected.bytes());
    Envelope read;
    io(in, false, read);
    EXPECT_EQ(in.remaining(), 0u);
    ASSERT_EQ(read.keyCount, 2);
    const Key* first = read.firstKey;
    const Key* second = first->next;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->prev, first);
    EXPECT_EQ(read.lastKey(), second);
    const struct {
        const Key* key;
        float value, time;
        int shape;
        float tension, continuity, bias, params[4];
    } keys[] = {{first, 2.5f, 0.25f, Envelope::Bezier2D, 0.1f, 0.2f, 0.3f, {1, 2, 3, 4}},
                {second, -1.5f, 3, Envelope::Stepped, -0.4f, 0.5f, -0.6f, {5, 6, 7, 8}}};
    for (const auto& k : keys) {
        EXPECT_EQ(k.key->value, k.value);
        EXPECT_EQ(k.key->time, k.time);
        EXPECT_EQ(k.key->shape, k.shape);
        EXPECT_EQ(k.key->tension, k.tension);
        EXPECT_EQ(k.key->continuity, k.continuity);
        EXPECT_EQ(k.key->bias, k.bias);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(k.key->params[i], k.params[i]) << "parameter " << i;
    }
    EXPECT_EQ(read.preBehaviour, Envelope::Oscillate);
    EXPECT_EQ(read.postBehaviour, Envelope::Offset);

    Envelope made;
    made.appendKey(key(0.25f, 2.5f, Envelope::Bezier2D, 1, 2, 3, 4)).appendKey(key(3, -1.5f, Envelope::Stepped, 5, 6, 7, 8));
    made.firstKey->tension = 0.1f;
    made.firstKey->continuity = 0.2f;
    made.firstKey->bias = 0.3f;
    made.lastKey()->tension = -0.4f;
    made.lastKey()->continuity = 0.5f;
    made.lastKey()->bias = -0.6f;
    made.preBehaviour = Envelope::Oscillate;
    made.postBehaviour = Envelope::Offset;
    memory_pstream out;
    io(out, true, made);
    EXPECT_EQ(out.bytes(), expected.bytes());
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
