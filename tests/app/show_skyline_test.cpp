// The skyline that cuts the landscape's second view keeps its shape at every
// frame size: the stencil it leaves has the mask's window holes, scaled.
// One show start per process: one test per frame size.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "render/device.h"
#include "render/gl_api.h"
#include "render/image_file.h"
#include "tests/app/show_run.h"

namespace {

// Cells of a grid that are 0 below the first non-zero cell of their column:
// the windows cut out of the buildings (the sky lies above every roof).
// `solid(x, y)` with y counted from the top.
template <typename Solid>
long holesBelowTheRoofs(int width, int height, Solid solid)
{
    long holes = 0;
    for (int x = 0; x < width; ++x) {
        bool underRoof = false;
        for (int y = 0; y < height; ++y) {
            const bool here = solid(x, y);
            underRoof = underRoof || here;
            holes += underRoof && !here;
        }
    }
    return holes;
}

// The mask's holes on screen: its left 800 columns over the bottom of the
// 800x600 layout, one mask pixel per layout pixel.
long maskHolesOnScreen()
{
    Image8 mask;
    const std::string path = std::filesystem::path(SKYDRIFT_DEMO_PACK).string() + "/cite-alpha.png";
    EXPECT_TRUE(loadImage8(path.c_str(), mask)) << path;
    if (mask.width < 800)
        return 0;
    return holesBelowTheRoofs(800, int(mask.height),
                              [&](int x, int y) { return mask.pixels[size_t(y) * mask.width + size_t(x)] >= 128; });
}

} // namespace

void PrintTo(const FrameSize& size, std::ostream* out)
{
    *out << size.width << "x" << size.height;
}

namespace {

class SkylineStencil : public testing::TestWithParam<FrameSize> {};

} // namespace

// At 130 s the mask stands at the bottom of the screen; the stencil the frame
// keeps afterwards is 1 on the buildings. Its holes cover the mask's holes
// scaled to the frame, not a shrunken two thirds of them.
TEST_P(SkylineStencil, TheWindowHolesKeepTheirArea)
{
    const FrameSize size = GetParam();
    const long expected = maskHolesOnScreen();
    ASSERT_GT(expected, 1000) << "the mask has its lit windows";

    ShowRun run(false, ShowRun::kOnlyAskedFrames, false, FrameChoice{false, size, 1});
    ASSERT_TRUE(run.started());
    run.frameAt(130.0f);
    ASSERT_EQ(int(gldevice::frameWidth), size.width);
    std::vector<uint8_t> stencil(size_t(size.width) * size_t(size.height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.width, size.height, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // OpenGL's rows run bottom-up; the mask's 256 layout rows are the frame's bottom ones.
    const int rows = size.height * 256 / 600;
    const long holes = holesBelowTheRoofs(size.width, rows, [&](int x, int y) {
        return stencil[size_t(rows - 1 - y) * size_t(size.width) + size_t(x)] != 0;
    });
    const double scale = double(size.width) / 800.0;
    const double share = double(holes) / (double(expected) * scale * scale);
    std::printf("%dx%d: %ld hole pixels, %.3f of the mask's %ld scaled\n", size.width, size.height, holes, share,
                expected);
    if (size == FrameSize{800, 600}) {
        EXPECT_EQ(holes, expected);
    }
    EXPECT_NEAR(share, 1.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SkylineStencil, testing::Values(FrameSize{800, 600}, FrameSize{1440, 1080}),
                         [](const testing::TestParamInfo<FrameSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });
