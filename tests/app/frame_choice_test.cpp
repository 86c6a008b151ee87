#include <gtest/gtest.h>

#include <cstdlib>

#include "app/frame_choice.h"

// The samples each choice draws with: anti-aliased by default, except the
// show's own 800x600 picture, which is the reference; what the user asks
// always wins.
TEST(FrameChoice, The800x600FrameHasOneSampleUnlessMoreAreAsked)
{
    const struct {
        const char* resolution;  // null: unset
        const char* samples;
        FrameSize frame;  // the frame the choice gives on the screen
        bool native;
        int expected;
    } cases[] = {
        {nullptr, nullptr, {1440, 1080}, true, 4},   {"native", nullptr, {800, 600}, true, 4},
        {"800x600", nullptr, {800, 600}, false, 1},  {"801x601", nullptr, {800, 600}, false, 1},
        {"800x600", "4", {800, 600}, false, 4},      {"1440x1080", nullptr, {1440, 1080}, false, 4},
        {"1440x1080", "1", {1440, 1080}, false, 1},  {"native", "2", {1440, 1080}, true, 2},
        {"800x600", "none", {800, 600}, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.resolution ? c.resolution : "(unset)") + " " + (c.samples ? c.samples : "(unset)"));
        c.resolution ? setenv("SKYDRIFT_RESOLUTION", c.resolution, 1) : unsetenv("SKYDRIFT_RESOLUTION");
        c.samples ? setenv("SKYDRIFT_SAMPLES", c.samples, 1) : unsetenv("SKYDRIFT_SAMPLES");
        testing::internal::CaptureStderr();
        const FrameChoice choice = frameChoiceFromEnvironment();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(choice.native, c.native);
        EXPECT_EQ(choice.samplesFor(c.frame), c.expected);
    }
    unsetenv("SKYDRIFT_RESOLUTION");
    unsetenv("SKYDRIFT_SAMPLES");

    // The display mode keeps 800x600 whatever was chosen, with the same rule.
    EXPECT_EQ((FrameChoice{false, {800, 600}, 0}).samplesFor({800, 600}), 1);
    EXPECT_EQ((FrameChoice{false, {800, 600}, 8}).samplesFor({800, 600}), 8);
}
