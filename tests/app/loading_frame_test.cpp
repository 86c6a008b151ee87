#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/loading_frame.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/gl_context.h"
#include "render/gl_api.h"
#include "resources/bitmap_manager.h"
#include "tests/render/image_test_files.h"
#include "tests/support/gl_window.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"
#include "tools/writers/picture_writer.h"

namespace {

// Eight flat colour bands from left to right, so a JPEG keeps them.
std::vector<uint8_t> bands()
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            pixels.insert(pixels.end(), {uint8_t(x / 100 * 32), uint8_t(y < 300 ? 200 : 40), uint8_t(255 - x / 100 * 32)});
    return pixels;
}

// What the first presented frame held, read from the back buffer just
// before the swap.
std::vector<Rgba> g_presented;
int g_presents = 0;
struct FirstFramePresented {};

int captureThenStop(platform::Window*)
{
    ++g_presents;
    g_presented = readPixels(0, 0, 800, 600);
    throw FirstFramePresented{};
}

int captureAndSwap(platform::Window* window)
{
    ++g_presents;
    g_presented = readPixels(0, 0, 800, 600);
    return platform::swapBuffers(window);
}

// Every presented pixel against the picture, the screen's bottom row being
// the picture's last.
int pixelsUnlike(const std::vector<uint8_t>& picture)
{
    int unlike = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const uint8_t* want = &picture[((599 - y) * 800 + x) * 3];
            const Rgba& got = g_presented[size_t(y) * 800 + x];
            unlike += std::abs(got.r - want[0]) > 8 || std::abs(got.g - want[1]) > 8 || std::abs(got.b - want[2]) > 8;
        }
    }
    return unlike;
}

} // namespace

// The real start-up, up to the first frame it presents: the loading picture,
// whole and unscaled. The start-up is stopped there, before the show is built.
TEST(LoadingFrameTest, StartUpPresentsTheLoadingPictureFirst)
{
    ScratchDirectory scratch;
    std::vector<uint8_t> picture = bands();
    ASSERT_TRUE(writers::writeJpeg("demo/loading.jpg", picture.data(), 800, 600));
    slot_SwapBuffers = captureThenStop;  // the entry-point loader keeps a filled slot

    StartupOptions options;
    options.askDisclaimer = false;
    options.fullScreen = false;
    options.hidden = true;
    EXPECT_THROW(startUp(options), FirstFramePresented);
    shutDownShow();  // as the program does when its start-up stops
    ASSERT_EQ(g_presents, 1);
    ASSERT_EQ(g_presented.size(), 800u * 600u);
    // Bands are blurred only at their edges by the JPEG.
    EXPECT_LT(pixelsUnlike(picture), 800 * 600 / 50);
    EXPECT_NEAR(g_presented[0].b, 255, 4);  // bottom-left: first band, lower half
    EXPECT_NEAR(g_presented[0].g, 40, 4);
    EXPECT_NEAR(g_presented[599 * 800 + 799].r, 7 * 32, 4);  // top-right: last band, upper half
    EXPECT_NEAR(g_presented[599 * 800 + 799].g, 200, 4);
}

class LoadingFrameGLTest : public GLWindowTest {
    ScratchDirectory scratch_;
};

TEST_F(LoadingFrameGLTest, TheFrameLeavesNothingBehind)
{
    std::vector<uint8_t> picture = bands();
    ASSERT_TRUE(writers::writeJpeg("demo/loading.jpg", picture.data(), 800, 600));
    slot_SwapBuffers = captureAndSwap;
    showLoadingFrame();
    EXPECT_EQ(g_presents, 1);
    EXPECT_LT(pixelsUnlike(picture), 800 * 600 / 50);
    EXPECT_EQ(hlv::TimeLine::instance().count(), 0u);
    EXPECT_EQ(BitmapManager::instance().find("demo\\loading.jpg"), nullptr);
    for (int layer = 0; layer < hlv::LayerList::kLayerCount; ++layer)
        EXPECT_TRUE(hlv::LayerList::instance().layer(layer).empty());
}
