// Full-screen pictures (backdrops, frontdrops) reach the frame's edges in
// their own colours at every frame size: no dark border from the picture's
// padding or the texture's border.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/device.h"
#include "render/gl_api.h"
#include "resources/bitmap_manager.h"
#include "tests/render/image_test_files.h"
#include "tests/render/material_frame.h"
#include "tests/support/gl_window.h"
#include "timeline/brush_backdrop.h"
#include "timeline/brush_frontdrop.h"
#include "tools/writers/picture_writer.h"

namespace {

// A picture of the screen's size: each column a colour of its own in red,
// each row in green, blue constant, so that any pixel of the frame can be
// traced to the picture pixels it came from.
std::vector<uint8_t> tracePicture()
{
    std::vector<uint8_t> rgb;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            rgb.insert(rgb.end(), {uint8_t(60 + x * 160 / 799), uint8_t(40 + y * 180 / 599), 200});
    return rgb;
}

// The picture's colour seen at frame pixel (x, y) of a width x height frame
// (bottom-up), by the mapping of pixel centres: the frame's outer centres on
// the picture's outer centres, linear between. Green runs top-down.
void expectedColour(int x, int y, int width, int height, double* red, double* green)
{
    const double column = width > 1 ? double(x) * 799.0 / (width - 1) : 0.0;
    const double row = height > 1 ? double(height - 1 - y) * 599.0 / (height - 1) : 0.0;
    *red = 60.0 + column * 160.0 / 799.0;
    *green = 40.0 + row * 180.0 / 599.0;
}

class FullScreenPictureTest : public GLWindowTest {
protected:
    void TearDown() override { gldevice::current->drawOffscreen(800, 600); }

private:
    ScratchDirectory scratch_;
};

} // namespace

TEST_F(FullScreenPictureTest, OuterRowsAndColumnsKeepThePicturesColours)
{
    ASSERT_TRUE(writers::writePng("trace.png", tracePicture().data(), 800, 600));
    BitmapManager::instance().loadPadded("trace.png");
    const struct {
        int width, height;
    } sizes[] = {{800, 600}, {1440, 1080}, {2880, 2160}, {400, 300}};
    for (bool front : {false, true})
        for (const auto& size : sizes) {
            SCOPED_TRACE(std::string(front ? "frontdrop " : "backdrop ") + std::to_string(size.width) + "x" +
                         std::to_string(size.height));
            ASSERT_TRUE(gldevice::current->drawOffscreen(unsigned(size.width), unsigned(size.height)));
            // The frontdrop multiplies the frame: on white it shows the picture itself.
            beginShowFrame(front ? 1.0f : 0.0f, front ? 1.0f : 0.0f, front ? 1.0f : 0.0f);
            glViewport(0, 0, size.width, size.height);
            if (front) {
                hlv::BrushFrontdrop brush;
                brush.bitmapName = "trace.png";
                brush.render(0.0f);
            } else {
                hlv::BrushBackdrop brush;
                brush.bitmapName = "trace.png";
                brush.render(0.0f);
            }
            const int w = size.width, h = size.height;
            const std::vector<Rgba> frame = readPixels(0, 0, w, h);
            int wrong = 0;
            auto check = [&](int x, int y) {
                double red = 0, green = 0;
                expectedColour(x, y, w, h, &red, &green);
                const Rgba p = frame[size_t(y) * size_t(w) + size_t(x)];
                if ((std::abs(p.r - red) > 1.5 || std::abs(p.g - green) > 1.5 || std::abs(p.b - 200) > 1) && ++wrong <= 4)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << int(p.r) << "," << int(p.g) << ","
                                  << int(p.b) << " where the picture gives " << red << "," << green << ",200";
            };
            for (int x = 0; x < w; ++x)
                for (int y : {0, 1, h / 2, h - 2, h - 1})
                    check(x, y);
            for (int y = 0; y < h; ++y)
                for (int x : {0, 1, w / 2, w - 2, w - 1})
                    check(x, y);
            EXPECT_EQ(wrong, 0);
        }
}
