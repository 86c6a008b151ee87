// A driver that cannot make every frame it is asked for: the frame keeps the
// size asked with fewer samples, and a frame that follows the window keeps
// following it past a size the driver refused.

#include <gtest/gtest.h>

#include <SDL.h>

#include "render/device.h"
#include "render/gl_api.h"
#include "tests/support/gl_window.h"

namespace {

// Renderbuffer storage as a driver short of memory gives it: none for more
// than `most` samples or wider than `widest` (the frame is then incomplete).
struct RefusedStorage {
    static inline int most = 32;
    static inline int widest = 16384;
    static inline int asked = 0;
    static inline void (*plain)(GLenum, GLenum, GLsizei, GLsizei) = nullptr;
    static inline void (*multisample)(GLenum, GLsizei, GLenum, GLsizei, GLsizei) = nullptr;

    explicit RefusedStorage(int mostSamples, int widestFrame = 16384)
    {
        most = mostSamples;
        widest = widestFrame;
        asked = 0;
        plain = slot_glRenderbufferStorage;
        multisample = slot_glRenderbufferStorageMultisample;
        slot_glRenderbufferStorage = [](GLenum target, GLenum format, GLsizei width, GLsizei height) {
            ++asked;
            if (width <= widest)
                plain(target, format, width, height);
        };
        slot_glRenderbufferStorageMultisample = [](GLenum target, GLsizei samples, GLenum format, GLsizei width,
                                                   GLsizei height) {
            ++asked;
            if (samples <= most && width <= widest)
                multisample(target, samples, format, width, height);
        };
    }
    ~RefusedStorage()
    {
        slot_glRenderbufferStorage = plain;
        slot_glRenderbufferStorageMultisample = multisample;
    }
};

class FrameFollowTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        ASSERT_NE(gldevice::current->offscreenFrame, nullptr) << "llvmpipe offers framebuffer objects";
        GLint most = 1;
        glGetIntegerv(GL_MAX_SAMPLES, &most);
        if (!glflags::framebuffer_multisample || most < 4)
            GTEST_SKIP() << "the driver offers fewer than 4 samples";
    }
    void TearDown() override
    {
        HL_3Ddevice& device = *gldevice::current;
        device.frameFollowsWindow = false;
        resizeWindow(800, 600);
        device.drawOffscreen(800, 600);
    }
    static void resizeWindow(int width, int height) { SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), width, height); }
};

} // namespace

TEST_F(FrameFollowTest, AFrameTooLargeForItsSamplesKeepsItsSizeWithFewer)
{
    const struct {
        int mostSamples, expected;
    } cases[] = {{8, 4}, {2, 2}, {1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mostSamples);
        RefusedStorage refused(c.mostSamples);
        ASSERT_TRUE(gldevice::current->drawOffscreen(1440, 1080, 4));
        EXPECT_EQ(gldevice::frameWidth, 1440u);
        EXPECT_EQ(gldevice::frameHeight, 1080u);
        EXPECT_EQ(gldevice::current->offscreenFrame->samples(), c.expected);
        // The frame takes drawing: a clear reads back whole.
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        const std::vector<uint8_t> rgb = readFrameRGB();
        ASSERT_EQ(rgb.size(), size_t(1440) * 1080 * 3);
        EXPECT_EQ(rgb[0], 0);
        EXPECT_EQ(rgb[1], 255);
        EXPECT_EQ(rgb[rgb.size() - 2], 255);
    }
}

TEST_F(FrameFollowTest, TheWindowIsFollowedPastASizeTheDriverRefused)
{
    HL_3Ddevice& device = *gldevice::current;
    // As after a start on a window without pixels: nothing followed yet.
    device.frameFollowsWindow = true;
    device.followedSize = {};
    device.followedSamples = 4;
    device.followWindowSize();
    EXPECT_EQ(gldevice::frameWidth, 800u);
    EXPECT_EQ(device.offscreenFrame->samples(), 4) << "the window's frame is made once it has a size";

    {
        RefusedStorage refused(32, 1000);
        resizeWindow(1040, 780);
        device.followWindowSize();
        EXPECT_EQ(gldevice::frameWidth, 800u) << "the old frame again";
        EXPECT_EQ(device.offscreenFrame->samples(), 4);
        const int asked = RefusedStorage::asked;
        for (int frame = 0; frame < 5; ++frame)
            device.followWindowSize();
        EXPECT_EQ(RefusedStorage::asked, asked) << "a refused size is not asked for on every frame";
    }
    resizeWindow(1200, 900);
    device.followWindowSize();
    EXPECT_EQ(gldevice::frameWidth, 1200u);
    EXPECT_EQ(gldevice::frameHeight, 900u);
    EXPECT_EQ(device.offscreenFrame->samples(), 4);
}
