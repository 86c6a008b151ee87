#include <gtest/gtest.h>

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
    k.params[0] = p0;
    k.params[1] = p1;
    k.params[2] = p2;
    k.params[3] = p3;
    return k;
}

// Keys (0, 1) and (2, 3) joined linearly: inside the range the value is 1 + t.
Envelope linearRamp(int behaviour)
{
    Envelope e;
    e.appendKey(key(0, 1, Envelope::Linear)).appendKey(key(2, 3, Envelope::Linear));
    e.preBehaviour = e.postBehaviour = behaviour;
    return e;
}

} // namespace

TEST(Envelope, KeyCountsAndExactKeyTimes)
{
    EXPECT_EQ(Envelope(0.25f).evaluate(3), 0.25f);
    Envelope one;
    one.addKey(5, 7);
    EXPECT_EQ(one.evaluate(-100), 7);
    EXPECT_EQ(one.evaluate(5), 7);
    EXPECT_EQ(one.evaluate(100), 7);

    Envelope e = linearRamp(Envelope::Constant);
    EXPECT_EQ(e.keyCount, 2);
    EXPECT_EQ(e.evaluate(0), 1);
    EXPECT_EQ(e.evaluate(2), 3);
}

TEST(Envelope, TcbSpansAndTheirArgumentOrder)
{
    // Keys (0,0), (1,1), (2,3). Without a previous key the outgoing tangent
    // is the span's rise; the incoming one at key 1 averages both spans,
    // weighted by time (k = 1/2).
    Envelope plain;
    plain.addKey(0, 0).addKey(1, 1).addKey(2, 3);
    EXPECT_FLOAT_EQ(plain.evaluate(0.5f), 0.4375f);
    EXPECT_FLOAT_EQ(plain.evaluate(1.5f), 1.9375f);

    // Continuity, tension and bias of key 1, in the order addKey takes them.
    Envelope continuity;
    continuity.addKey(0, 0).addKey(1, 1, 0.5f, 0, 0).addKey(2, 3);
    EXPECT_FLOAT_EQ(continuity.evaluate(0.5f), 0.40625f);
    Envelope tension;
    tension.addKey(0, 0).addKey(1, 1, 0, 0.5f, 0).addKey(2, 3);
    EXPECT_FLOAT_EQ(tension.evaluate(0.5f), 0.53125f);
    Envelope bias;
    bias.addKey(0, 0).addKey(1, 1, 0, 0, 0.5f).addKey(2, 3);
    EXPECT_FLOAT_EQ(bias.evaluate(0.5f), 0.46875f);
}

TEST(Envelope, HermiteBezierLinearAndSteppedSpans)
{
    // Out tangent 2 at key 0, in tangent -1 at key 1.
    Envelope hermite;
    hermite.appendKey(key(0, 0, Envelope::Hermite, 0, 2)).appendKey(key(1, 1, Envelope::Hermite, -1, 0));
    EXPECT_FLOAT_EQ(hermite.evaluate(0.5f), 0.875f);
    // A following key scales the in tangent by (1 - 0) / (3 - 0).
    hermite.appendKey(key(3, 0, Envelope::Hermite));
    EXPECT_FLOAT_EQ(hermite.evaluate(0.5f), 0.75f + 0.125f / 3);

    Envelope bezier;
    bezier.appendKey(key(0, 0, Envelope::Bezier, 0, 2)).appendKey(key(1, 1, Envelope::Bezier, -1, 0));
    EXPECT_FLOAT_EQ(bezier.evaluate(0.5f), 0.875f);

    Envelope linear;
    linear.addKey(0, 0).appendKey(key(2, 4, Envelope::Linear));
    EXPECT_FLOAT_EQ(linear.evaluate(0.5f), 1.0f);

    Envelope stepped;
    stepped.addKey(0, 1).appendKey(key(2, 5, Envelope::Stepped));
    EXPECT_EQ(stepped.evaluate(1.999f), 1);
    EXPECT_EQ(stepped.evaluate(2.0f), 5);

    // An unknown shape yields the offset alone.
    Envelope unknown;
    unknown.addKey(0, 1).appendKey(key(2, 5, 9));
    EXPECT_EQ(unknown.evaluate(1), 0);
}

TEST(Envelope, TwoDimensionalBezier)
{
    // Time controls 0, 1/3, 2/3, 1 make time and curve parameter equal;
    // value controls 0, 0.5, 1, 1.
    Envelope straight;
    straight.appendKey(key(0, 0, Envelope::Bezier2D, 0, 0, 1.0f / 3, 0.5f))
        .appendKey(key(1, 1, Envelope::Bezier2D, -1.0f / 3, 0));
    EXPECT_NEAR(straight.evaluate(0.5f), 0.6875f, 1e-6f);
    EXPECT_NEAR(straight.evaluate(0.25f), 0.3671875f, 1e-6f);

    // Time controls 0, 0, 1, 1: x(u) = 3u^2 - 2u^3, so t = 0.15625 needs the
    // bisection to reach u = 0.25.
    Envelope curved;
    curved.appendKey(key(0, 0, Envelope::Bezier2D, 0, 0, 0, 0.5f)).appendKey(key(1, 1, Envelope::Bezier2D, 0, 0));
    EXPECT_NEAR(curved.evaluate(0.15625f), 0.3671875f, 1e-6f);

    // A divisor of 0.000001 multiplies by 100000 instead of dividing: out
    // tangent 1 * 0.5 * 100000 feeds a Hermite span.
    Envelope tinyOut;
    tinyOut.appendKey(key(0, 0, Envelope::Bezier2D, 0, 0, 0.000001f, 0.5f)).appendKey(key(1, 1, Envelope::Hermite));
    EXPECT_FLOAT_EQ(tinyOut.evaluate(0.5f), 0.125f * 50000 + 0.5f);
    // The same for the in tangent, seen through a linear post-behaviour.
    Envelope tinyIn;
    tinyIn.addKey(0, 0).appendKey(key(1, 1, Envelope::Bezier2D, 0.000001f, 0.5f));
    tinyIn.setLinear();
    EXPECT_NEAR(tinyIn.evaluate(1.001f), 51.0f, 0.01f);

    // Times far from 0 cannot always come within the tolerance; the search
    // still ends.
    Envelope late;
    late.appendKey(key(4000, 0, Envelope::Bezier2D, 0, 0, 0.4f, 0)).appendKey(key(4001.5f, 1, Envelope::Bezier2D));
    float v = late.evaluate(4000.7f);
    EXPECT_GT(v, 0);
    EXPECT_LT(v, 1);
}

TEST(Envelope, Behaviours)
{
    Envelope reset = linearRamp(Envelope::Reset);
    EXPECT_EQ(reset.evaluate(-1), 0);
    EXPECT_EQ(reset.evaluate(3), 0);

    Envelope constant = linearRamp(Envelope::Constant);
    EXPECT_EQ(constant.evaluate(-1), 1);
    EXPECT_EQ(constant.evaluate(3), 3);

    Envelope repeat = linearRamp(Envelope::Repeat);
    EXPECT_FLOAT_EQ(repeat.evaluate(2.5f), 1.5f);
    EXPECT_FLOAT_EQ(repeat.evaluate(5.0f), 2.0f);
    EXPECT_FLOAT_EQ(repeat.evaluate(-0.5f), 2.5f);

    // Every second repetition runs backwards.
    Envelope oscillate = linearRamp(Envelope::Oscillate);
    EXPECT_FLOAT_EQ(oscillate.evaluate(2.5f), 2.5f);
    EXPECT_FLOAT_EQ(oscillate.evaluate(4.5f), 1.5f);
    EXPECT_FLOAT_EQ(oscillate.evaluate(-0.5f), 1.5f);

    // Each repetition adds last - first = 2.
    Envelope offset = linearRamp(Envelope::Offset);
    EXPECT_FLOAT_EQ(offset.evaluate(2.5f), 3.5f);
    EXPECT_FLOAT_EQ(offset.evaluate(4.5f), 5.5f);
    EXPECT_FLOAT_EQ(offset.evaluate(-0.5f), 0.5f);

    // Linear extends the end spans' tangents (slope 1 here).
    Envelope linear = linearRamp(Envelope::LinearBehaviour);
    EXPECT_FLOAT_EQ(linear.evaluate(-1), 0);
    EXPECT_FLOAT_EQ(linear.evaluate(3), 4);
}

TEST(Envelope, RepetitionsStartAtTheFirstKeyWhenItIsNotAtZero)
{
    // Keys (1, 1) and (3, 3): the periods run 1..3, 3..5, ...
    Envelope e;
    e.appendKey(key(1, 1, Envelope::Linear)).appendKey(key(3, 3, Envelope::Linear));
    e.setRepeat();
    EXPECT_FLOAT_EQ(e.evaluate(3.5f), 1.5f);
    e.setOscillate();
    EXPECT_FLOAT_EQ(e.evaluate(3.5f), 2.5f);
    e.preBehaviour = e.postBehaviour = Envelope::Offset;
    EXPECT_FLOAT_EQ(e.evaluate(3.5f), 3.5f);
}

TEST(Envelope, CopiesOwnTheirKeys)
{
    Envelope original(0.5f);
    original.addKey(0, 1).addKey(1, 2);
    original.setRepeat();
    Envelope copy(original);
    Envelope assigned;
    assigned = original;
    assigned = assigned;
    original.addKey(2, 10);
    original.firstKey->value = -5;

    for (const Envelope* e : {&copy, &assigned}) {
        EXPECT_EQ(e->keyCount, 2);
        EXPECT_EQ(e->firstKey->value, 1);
        EXPECT_EQ(e->lastKey()->prev, e->firstKey);
        EXPECT_EQ(e->preBehaviour, Envelope::Repeat);
        EXPECT_EQ(e->defaultValue, 0.5f);
        EXPECT_FLOAT_EQ(e->evaluate(1.5f), 1.5f);
    }
}

TEST(Envelope, StoredForm)
{
    Envelope e;
    e.appendKey(key(0.5f, 2, Envelope::Bezier2D, 1, 2, 3, 4)).addKey(1, 3, 0.1f, 0.2f, 0.3f);
    e.preBehaviour = Envelope::Reset;
    e.postBehaviour = Envelope::Offset;
    memory_pstream s;
    io(s, true, e);
    ASSERT_EQ(s.bytes().size(), 4u + 2 * 40 + 8);
    int count;
    float value, time;
    int shape;
    std::memcpy(&count, &s.bytes()[0], 4);
    std::memcpy(&value, &s.bytes()[4], 4);
    std::memcpy(&time, &s.bytes()[8], 4);
    std::memcpy(&shape, &s.bytes()[12], 4);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(time, 0.5f);
    EXPECT_EQ(shape, Envelope::Bezier2D);

    Envelope back;
    io(s, false, back);
    ASSERT_EQ(back.keyCount, 2);
    const Key& k1 = *back.lastKey();
    EXPECT_EQ(back.firstKey->params[3], 4);
    EXPECT_EQ(k1.continuity, 0.1f);
    EXPECT_EQ(k1.tension, 0.2f);
    EXPECT_EQ(k1.bias, 0.3f);
    EXPECT_EQ(back.preBehaviour, Envelope::Reset);
    EXPECT_EQ(back.postBehaviour, Envelope::Offset);
    EXPECT_EQ(back.evaluate(0.75f), e.evaluate(0.75f));
}

TEST(Envelope, BadStoredFormsFailAndKeepTheEnvelope)
{
    Envelope kept;
    kept.addKey(0, 7);

    // A key count larger than the stream could hold.
    memory_pstream huge(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0});
    EXPECT_THROW(io(huge, false, kept), persistent::exception);
    // A negative key count.
    memory_pstream negative(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF});
    try {
        io(negative, false, kept);
        ADD_FAILURE() << "a negative key count was accepted";
    } catch (persistent::exception error) {
        EXPECT_EQ(error, persistent::bad_data);
    }
    // Cut short inside the behaviours.
    Envelope two;
    two.addKey(0, 1).addKey(1, 2);
    memory_pstream whole;
    io(whole, true, two);
    std::vector<uint8_t> cut = whole.bytes();
    cut.resize(cut.size() - 3);
    memory_pstream shortened(cut);
    EXPECT_THROW(io(shortened, false, kept), persistent::exception);

    EXPECT_EQ(kept.keyCount, 1);
    EXPECT_EQ(kept.evaluate(3), 7);
}
