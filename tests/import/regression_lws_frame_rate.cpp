#include <gtest/gtest.h>

#include <string>

#include "import/lws_parser.h"
#include "tests/geometry/capturing_logger.h"

// A frame rate no int can hold (found by fuzz_lws) is logged as 0 frames a
// second instead of reaching an undefined conversion.
TEST(ImportRegression, FrameRatesBeyondAnIntAreLoggedAsZero)
{
    for (const char* rate : {"1e39", "99999999999"}) {
        CapturingLogger log;
        LW::LwsScene scene;
        std::string text = std::string("LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond ") + rate + "\n";
        try {
            LW::parseLwsText(text, scene);
        } catch (bool) {
        }
        EXPECT_TRUE(log.contains(" frames/second.")) << rate << log.text;
        EXPECT_FALSE(log.contains("-2147483648 frames/second.")) << rate;
    }
}
