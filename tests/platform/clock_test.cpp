#include <gtest/gtest.h>

#include <cstdint>

#include "platform/clock.h"

// Elapsed milliseconds are now - start while the counter has not wrapped,
// and 0xFFFFFFFF - start + now once it has (one less than the modular
// difference), taken as an unsigned 32-bit count, made a float and
// multiplied by 0.001.
TEST(Clock, WrapRuleOfTheMillisecondCounter)
{
    EXPECT_EQ(platform::elapsedSeconds(5000, 5000), 0.0f);
    EXPECT_FLOAT_EQ(platform::elapsedSeconds(0, 1), 0.001f);
    EXPECT_FLOAT_EQ(platform::elapsedSeconds(0xFFFFFFF0u, 0xFFFFFFFFu), 0.015f);
    EXPECT_FLOAT_EQ(platform::elapsedSeconds(0xFFFFFFF0u, 0x10u), 0.031f);
    EXPECT_EQ(platform::elapsedSeconds(0xFFFFFFFFu, 0), 0.0f);
    EXPECT_FLOAT_EQ(platform::elapsedSeconds(0, 0xFFFFFFFFu), float(4294967295u) * 0.001f);

    // A show started just before the wrap: its clock never runs back.
    const uint32_t start = 0xFFFFFF00u;
    float previous = 0.0f;
    for (uint32_t now : {0xFFFFFF00u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0u, 1u, 0x100u, 0x10000u}) {
        const float t = platform::elapsedSeconds(start, now);
        EXPECT_GE(t, previous) << "at counter value " << now;
        previous = t;
    }
    EXPECT_FLOAT_EQ(previous, (0xFFu + 0x10000u) * 0.001f);
}
