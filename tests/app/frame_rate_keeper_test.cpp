// The player's frame after frames that cannot hold a 60 Hz display: made
// again with fewer samples, then smaller, whole and readable at each step,
// within what the user pinned.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/frame_rate_keeper.h"
#include "render/device.h"
#include "tests/support/gl_window.h"

namespace {

struct Frame {
    int width, height, samples;
    bool operator==(const Frame& o) const { return width == o.width && height == o.height && samples == o.samples; }
};

std::ostream& operator<<(std::ostream& out, const Frame& f)
{
    return out << f.width << "x" << f.height << "/" << f.samples;
}

Frame currentFrame()
{
    return {int(gldevice::frameWidth), int(gldevice::frameHeight), gldevice::current->offscreenFrame->samples()};
}

// True when the whole frame, cleared to green, reads back green at its size.
bool wholeGreenFrame()
{
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<uint8_t> rgb = readFrameRGB();
    if (rgb.size() != size_t(gldevice::frameWidth) * gldevice::frameHeight * 3)
        return false;
    for (size_t i = 0; i < rgb.size(); i += 3)
        if (rgb[i] != 0 || rgb[i + 1] != 255 || rgb[i + 2] != 0)
            return false;
    return true;
}

} // namespace

class FrameRateKeeperTest : public GLWindowTest {
protected:
    void TearDown() override { gldevice::current->drawOffscreen(800, 600); }
};

TEST_F(FrameRateKeeperTest, SlowFramesRemakeTheFrameWithinWhatIsPinned)
{
    const FrameChoice native{true, {800, 600}, 0};
    const FrameChoice sizePinned{false, {1440, 1080}, 0};
    const FrameChoice samplesPinned{true, {800, 600}, 4};
    const struct {
        const char* name;
        FrameChoice choice;
        Frame start;
        size_t slowFrames;
        Frame expected;
    } cases[] = {
        {"one step", native, {1440, 1080, 4}, 33, {1440, 1080, 2}},
        {"samples, then size", native, {1440, 1080, 4}, 4 * 33, {800, 600, 1}},
        {"size pinned", sizePinned, {1440, 1080, 4}, 10 * 33, {1440, 1080, 1}},
        {"samples pinned", samplesPinned, {1440, 1080, 4}, 33, {1016, 762, 4}},
        {"fast enough", native, {1440, 1080, 4}, 0, {1440, 1080, 4}},
        {"the show's own frame", native, {800, 600, 1}, 10 * 33, {800, 600, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HL_3Ddevice& device = *gldevice::current;
        ASSERT_TRUE(device.drawOffscreen(unsigned(c.start.width), unsigned(c.start.height), c.start.samples));
        ASSERT_EQ(currentFrame(), c.start) << "this OpenGL cannot make the frame the case starts from";
        device.frameFollowsWindow = c.choice.native;
        device.followedSize = {c.start.width, c.start.height};
        FrameRateKeeper keeper(c.choice, 60);
        testing::internal::CaptureStderr();
        size_t remakes = 0;
        for (size_t i = 0; i < c.slowFrames; ++i)
            remakes += keeper.frameDrawn(20.0f, 47.0);
        for (size_t i = 0; i < 100; ++i)
            remakes += keeper.frameDrawn(20.0f, 12.0);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(currentFrame(), c.expected);
        EXPECT_TRUE(wholeGreenFrame());
        // One line a step.
        EXPECT_EQ(size_t(std::count(told.begin(), told.end(), '\n')), remakes) << told;
        if (c.expected.width != c.start.width) {
            EXPECT_FALSE(device.frameFollowsWindow) << "a frame smaller than the window's does not follow it";
        }
    }
}

// The frame chosen again at a cut to a new section when the last frames
// left room, never between.
TEST_F(FrameRateKeeperTest, AFrameComesBackOnlyAtANewSection)
{
    HL_3Ddevice& device = *gldevice::current;
    ASSERT_TRUE(device.drawOffscreen(1440, 1080, 4));
    FrameRateKeeper keeper(FrameChoice{true, {800, 600}, 0}, 60);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 66; ++i)
        keeper.frameDrawn(50.0f, 47.0);
    EXPECT_EQ(currentFrame(), (Frame{1440, 1080, 1}));
    for (int i = 0; i < 300; ++i)
        keeper.frameDrawn(60.0f, 4.0);
    EXPECT_EQ(currentFrame(), (Frame{1440, 1080, 1})) << "within the section";
    keeper.frameDrawn(80.0f, 4.0);  // the cubes
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(currentFrame(), (Frame{1440, 1080, 2}));
    EXPECT_TRUE(wholeGreenFrame());
}

// A window that changes size re-makes the frame; the steps start from it.
TEST_F(FrameRateKeeperTest, AFrameRemadeForTheWindowIsSteppedFromItsOwnSize)
{
    HL_3Ddevice& device = *gldevice::current;
    ASSERT_TRUE(device.drawOffscreen(1440, 1080, 4));
    FrameRateKeeper keeper(FrameChoice{true, {800, 600}, 0}, 60);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 33; ++i)
        keeper.frameDrawn(20.0f, 47.0);
    EXPECT_EQ(currentFrame(), (Frame{1440, 1080, 2}));
    ASSERT_TRUE(device.drawOffscreen(1200, 900, 2));
    for (int i = 0; i < 66; ++i)
        keeper.frameDrawn(20.0f, 47.0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(currentFrame(), (Frame{848, 636, 1}));
    EXPECT_TRUE(wholeGreenFrame());
}
