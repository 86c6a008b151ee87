#include <gtest/gtest.h>

#include <vector>

#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "resources/bitmap_manager.h"
#include "tests/render/image_test_files.h"
#include "tests/render/material_frame.h"
#include "tests/support/gl_window.h"
#include "timeline/bitmap_brush.h"
#include "timeline/brush_alpha_to_stencil.h"
#include "timeline/brush_backdrop.h"
#include "timeline/brush_flat_quad.h"
#include "timeline/brush_frontdrop.h"
#include "timeline/brush_scroll_quad.h"
#include "tools/writers/picture_writer.h"

namespace {

class ImageBrushTest : public GLWindowTest {
protected:
    // A picture file, loaded as a padded RGB texture under its resource name.
    void loadPicture(const char* name, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb)
    {
        ASSERT_TRUE(writers::writePng(name, rgb.data(), width, height));
        BitmapManager::instance().loadPadded(name);
    }

private:
    ScratchDirectory scratch_;
};

GLint integerState(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void expectColour(Rgba pixel, int r, int g, int b, int tolerance = 2)
{
    EXPECT_NEAR(pixel.r, r, tolerance);
    EXPECT_NEAR(pixel.g, g, tolerance);
    EXPECT_NEAR(pixel.b, b, tolerance);
}

// Top half red, bottom half green.
std::vector<uint8_t> redOverGreen(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels = solidPixels(width, height / 2, {255, 0, 0});
    std::vector<uint8_t> bottom = solidPixels(width, height - height / 2, {0, 255, 0});
    pixels.insert(pixels.end(), bottom.begin(), bottom.end());
    return pixels;
}

void expectBrushStateRestored()
{
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GLStateCache::instance().textureUnits(), 0u);
    EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_MODELVIEW);
}

} // namespace

TEST_F(ImageBrushTest, BitmapBrushDrawsItsImageAtPixelSizeFromTheLowerLeft)
{
    loadPicture("picture.png", 256, 128, redOverGreen(256, 128));
    beginShowFrame(0, 0, 0);
    hlv::BitmapBrush brush;
    brush.bitmapName = "picture.png";
    brush.channels[0] = Envelope(-1.0f);
    brush.channels[1] = Envelope(-1.0f);
    brush.render(0.0f);

    // 2 x 256 / 800 = 0.64 by 2 x 128 / 600 = 0.4267 of the -1..1 screen.
    expectColour(readPixel(0, 0), 0, 255, 0);
    expectColour(readPixel(255, 127), 255, 0, 0);  // the image's top row is at the top
    expectColour(readPixel(256, 64), 0, 0, 0);
    expectColour(readPixel(100, 128), 0, 0, 0);
    expectBrushStateRestored();
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(ImageBrushTest, BitmapBrushBlendsOnlyBelowFullAlphaOrForImagesWithAlpha)
{
    std::vector<uint8_t> black = solidPixels(64, 64, {0, 0, 0});
    std::vector<uint8_t> transparent(64 * 64, 0);
    loadPicture("black.png", 64, 64, black);
    ASSERT_TRUE(writers::writePng("ink.png", black.data(), 64, 64));
    ASSERT_TRUE(writers::writePng("ink_a.png", transparent.data(), 64, 64, 1));
    BitmapManager::instance().loadWithAlpha("ink.png", "ink_a.png");

    struct Case {
        const char* bitmap;
        float alpha;
        int expected;  // over white
    };
    for (Case c : {Case{"black.png", 1.0f, 0}, Case{"black.png", 0.99f, 3}, Case{"black.png", 0.5f, 128},
                   Case{"ink.png", 1.0f, 255}}) {
        SCOPED_TRACE(std::string(c.bitmap) + " alpha " + std::to_string(c.alpha));
        beginShowFrame(1, 1, 1);
        hlv::BitmapBrush brush;
        brush.bitmapName = c.bitmap;
        brush.channels[0] = Envelope(-0.5f);
        brush.channels[7] = Envelope(c.alpha);
        brush.render(0.0f);
        expectColour(readPixel(230, 330), c.expected, c.expected, c.expected, 1);
        expectBrushStateRestored();
    }
}

TEST_F(ImageBrushTest, BackdropShowsThePictureOnePixelPerPixelBehindEverything)
{
    std::vector<uint8_t> picture = patternPixels(800, 600);
    loadPicture("demo/back.png", 800, 600, picture);
    ASSERT_EQ(BitmapManager::instance().find("demo/back.png")->currentImage()->width, 1024u);
    beginShowFrame(0, 0, 0);
    hlv::BrushBackdrop backdrop;
    backdrop.bitmapName = "demo/back.png";
    backdrop.render(0.0f);

    std::vector<Rgba> frame = readPixels(0, 0, 800, 600);
    int wrong = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const uint8_t* want = &picture[((599 - y) * 800 + x) * 3];
            const Rgba& got = frame[y * 800 + x];
            wrong += std::abs(got.r - want[0]) > 1 || std::abs(got.g - want[1]) > 1 || std::abs(got.b - want[2]) > 1;
        }
    }
    EXPECT_EQ(wrong, 0);
    float depth = 0;
    glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);  // nothing written to depth
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(integerState(GL_DEPTH_WRITEMASK), GL_TRUE);
    expectBrushStateRestored();
}

TEST_F(ImageBrushTest, HiddenOrMissingBackdropsDrawNothing)
{
    loadPicture("white.png", 16, 16, solidPixels(16, 16, {255, 255, 255}));
    beginShowFrame(0, 0, 1);
    hlv::BrushBackdrop hidden;
    hidden.bitmapName = "white.png";
    hidden.visible = false;
    hidden.render(0.0f);
    expectColour(readPixel(400, 300), 0, 0, 255, 0);
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LEQUAL);

    // A bitmap that is not held: no quad, but the state as the brush leaves it.
    hlv::BrushBackdrop missing;
    missing.bitmapName = "not loaded.jpg";
    missing.render(0.0f);
    expectColour(readPixel(400, 300), 0, 0, 255, 0);
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LESS);
    expectBrushStateRestored();

    hlv::BitmapBrush missingBitmap;
    missingBitmap.bitmapName = "not loaded.jpg";
    missingBitmap.channels[7] = Envelope(0.5f);
    missingBitmap.render(0.0f);
    expectColour(readPixel(400, 300), 0, 0, 255, 0);
    expectBrushStateRestored();
}

TEST_F(ImageBrushTest, FrontdropMultipliesTheFrame)
{
    // Screen-sized: the padded texture's clamped border would darken the rest.
    loadPicture("screen_white.png", 800, 600, solidPixels(800, 600, {255, 255, 255}));
    loadPicture("screen_black.png", 800, 600, solidPixels(800, 600, {0, 0, 0}));
    beginShowFrame(0.2f, 0.4f, 0.6f);
    Rgba before = readPixel(400, 300);
    hlv::BrushFrontdrop white;
    white.bitmapName = "screen_white.png";
    white.render(0.0f);
    expectColour(readPixel(400, 300), before.r, before.g, before.b, 0);
    expectColour(readPixel(0, 0), before.r, before.g, before.b, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integerState(GL_DEPTH_WRITEMASK), GL_TRUE);
    expectBrushStateRestored();

    hlv::BrushFrontdrop black;
    black.bitmapName = "screen_black.png";
    black.render(0.0f);
    expectColour(readPixel(400, 300), 0, 0, 0, 0);
    expectColour(readPixel(799, 599), 0, 0, 0, 0);
}

TEST_F(ImageBrushTest, AlphaToStencilMarksTheOpaqueShapeAndWritesNoColour)
{
    std::vector<uint8_t> colour = solidPixels(256, 256, {255, 255, 255});
    std::vector<uint8_t> alpha;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            alpha.push_back(x < 128 ? 255 : 0);
    ASSERT_TRUE(writers::writePng("shape.png", colour.data(), 256, 256));
    ASSERT_TRUE(writers::writePng("shape_a.png", alpha.data(), 256, 256, 1));
    BitmapManager::instance().loadWithAlpha("shape.png", "shape_a.png");

    beginShowFrame(0.2f, 0.4f, 0.6f);
    Rgba before = readPixel(50, 100);
    hlv::BrushAlphaToStencil brush;
    brush.bitmapName = "shape.png";
    brush.channels[0] = Envelope(-1.0f);
    brush.channels[1] = Envelope(-1.0f);
    brush.render(0.0f);

    auto stencilAt = [](int x, int y) {
        GLubyte value = 0;
        glReadPixels(x, y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &value);
        return int(value);
    };
    EXPECT_EQ(stencilAt(50, 100), 1);
    EXPECT_EQ(stencilAt(200, 100), 0);  // transparent half
    EXPECT_EQ(stencilAt(300, 100), 0);  // outside the image
    for (auto [x, y] : {std::pair{50, 100}, std::pair{200, 100}, std::pair{600, 500}})
        expectColour(readPixel(x, y), before.r, before.g, before.b, 0);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    expectBrushStateRestored();
}

TEST_F(ImageBrushTest, ScrollQuadMovesItsImageUpAsTheOffsetGrows)
{
    // A red band across rows 24 to 31 of a green 64 x 64 picture.
    std::vector<uint8_t> picture = solidPixels(64, 64, {0, 255, 0});
    for (int y = 24; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture[(y * 64 + x) * 3 + 0] = 255, picture[(y * 64 + x) * 3 + 1] = 0;
    loadPicture("band.png", 64, 64, picture);

    // The quad spans rows 150..449; returns the band's middle row.
    auto bandRow = [](float offset) {
        hlv::BrushScrollQuad quad;
        quad.bitmapName = "band.png";
        quad.channels[2] = Envelope(1.0f);
        quad.channels[3] = Envelope(1.0f);
        quad.textureOffset = offset;
        quad.render(0.0f);
        std::vector<Rgba> column = readPixels(400, 0, 1, 600);
        int sum = 0, count = 0;
        for (int y = 0; y < 600; ++y)
            if (column[y].r > 128 && column[y].g < 128)
                sum += y, ++count;
        return count ? sum / count : -1;
    };
    beginShowFrame(0, 0, 0);
    int still = bandRow(0.0f);
    EXPECT_NEAR(still, 450 - 0.4375 * 300, 3);
    EXPECT_NEAR(readPixel(199, 300).g, 0, 0);  // nothing left of the quad
    expectColour(readPixel(220, 200), 0, 255, 0);
    beginShowFrame(0, 0, 0);
    int scrolled = bandRow(0.25f);
    EXPECT_NEAR(scrolled - still, 0.25 * 300, 3);
    // Bitmaps are loaded clamped, yet the strip keeps scrolling past one
    // full turn, and the picture is clamped again afterwards.
    beginShowFrame(0, 0, 0);
    EXPECT_NEAR(bandRow(4.25f), scrolled, 3);
    expectBrushStateRestored();
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, BitmapManager::instance().find("band.png")->texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP);
}

TEST_F(ImageBrushTest, FlatQuadFillsItsRectangleInItsColour)
{
    beginShowFrame(0, 0, 0);
    hlv::BrushFlatQuad quad;
    quad.channels[0] = Envelope(0.5f);
    quad.channels[2] = Envelope(0.5f);
    quad.channels[3] = Envelope(2.0f);
    quad.channels[5] = Envelope(0.0f);
    quad.channels[7] = Envelope(0.5f);
    quad.render(0.0f);
    expectColour(readPixel(600, 0), 128, 0, 128, 1);  // x 500..700, all rows, half blended
    expectColour(readPixel(499, 300), 0, 0, 0, 0);
    expectColour(readPixel(701, 300), 0, 0, 0, 0);
    expectBrushStateRestored();
}
