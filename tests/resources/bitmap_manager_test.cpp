#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/gl_api.h"
#include "resources/bitmap_manager.h"
#include "tests/render/image_test_files.h"
#include "tests/render/texture_queries.h"
#include "tests/support/gl_window.h"
#include "tools/writers/picture_writer.h"

namespace {

class BitmapManagerTest : public GLWindowTest {
protected:
    BitmapManager& bitmaps = BitmapManager::instance();

private:
    ScratchDirectory scratch_;
};

void writeGrey(const char* path, uint32_t width, uint32_t height, uint8_t value)
{
    std::vector<uint8_t> pixels(size_t(width) * height, value);
    ASSERT_TRUE(writers::writePng(path, pixels.data(), width, height, 1));
}

} // namespace

TEST_F(BitmapManagerTest, PaddedPicturesSitTopLeftInABlackPowerOfTwoTexture)
{
    std::vector<uint8_t> picture = patternPixels(800, 600);
    ASSERT_TRUE(writers::writePng("demo/wide.png", picture.data(), 800, 600));
    bitmaps.loadPadded("demo\\wide.png");
    TextureImage* texture = bitmaps.find("demo\\wide.png");
    ASSERT_TRUE(texture);
    const PixelImage& padded = *texture->currentImage();
    ASSERT_EQ(padded.width, 1024u);
    ASSERT_EQ(padded.height, 1024u);
    ASSERT_EQ(padded.pixels.size(), 1024u * 1024u * 3u);
    auto black = [](uint8_t b) { return b == 0; };
    for (uint32_t y : {0u, 299u, 599u}) {
        const uint8_t* row = &padded.pixels[y * 1024 * 3];
        EXPECT_TRUE(std::equal(row, row + 800 * 3, &picture[y * 800 * 3])) << "row " << y;
        EXPECT_TRUE(std::all_of(row + 800 * 3, row + 1024 * 3, black)) << "row " << y;
    }
    EXPECT_TRUE(std::all_of(padded.pixels.begin() + 600 * 1024 * 3, padded.pixels.end(), black));
    EXPECT_EQ(textureParameter(texture->texture, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(textureParameter(texture->texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

TEST_F(BitmapManagerTest, AlphaPicturesCombineOrFailWithoutAddingAnything)
{
    std::vector<uint8_t> colour = solidPixels(256, 256, {10, 20, 30});
    ASSERT_TRUE(writers::writePng("demo/logo.png", colour.data(), 256, 256));
    writeGrey("demo/logo_a.png", 256, 256, 77);
    writeGrey("demo/small_a.png", 128, 128, 77);
    size_t held = bitmaps.size();
    EXPECT_THROW(bitmaps.loadWithAlpha("demo\\logo.png", "demo\\small_a.png"), BitmapLoadError);
    EXPECT_THROW(bitmaps.loadPadded("demo\\missing.jpg"), BitmapLoadError);
    EXPECT_EQ(bitmaps.size(), held);

    bitmaps.loadWithAlpha("demo\\logo.png", "demo\\logo_a.png");
    TextureImage* combined = bitmaps.find("demo\\logo.png");
    ASSERT_TRUE(combined && combined->rgba);
    EXPECT_TRUE(combined->hasAlpha);
    EXPECT_EQ(combined->rgba->pixels, solidPixels(256, 256, {10, 20, 30, 77}));
    bitmaps.loadAlpha("demo\\logo_a.png");
    TextureImage* mask = bitmaps.find("demo\\logo_a.png");
    ASSERT_TRUE(mask && mask->gray);
    EXPECT_TRUE(mask->hasAlpha);
    EXPECT_EQ(mask->flags, GLuint(TextureImage::NoMipmap | TextureImage::Alpha));

    try {
        bitmaps.loadAlpha("demo\\gone.png");
        ADD_FAILURE() << "a missing picture was loaded";
    } catch (const BitmapLoadError& error) {
        EXPECT_NE(std::string(error.what()).find("demo\\gone.png"), std::string::npos) << error.what();
    }
}

TEST_F(BitmapManagerTest, SidesThatAreNotPowersOfTwoFailWhereTheDriverCannotTakeThem)
{
    writeGrey("demo/odd_a.png", 100, 60, 255);
    writeGrey("demo/odd2_a.png", 100, 60, 255);
    bitmaps.loadAlpha("demo\\odd_a.png");  // this driver takes them
    ASSERT_TRUE(bitmaps.find("demo\\odd_a.png"));

    static const GLubyte* (*realGetString)(GLenum) = slot_glGetString;
    slot_glGetString = [](GLenum name) -> const GLubyte* {  // an OpenGL 1.4 driver
        if (name == GL_VERSION)
            return reinterpret_cast<const GLubyte*>("1.4 Old");
        if (name == GL_EXTENSIONS)
            return reinterpret_cast<const GLubyte*>("GL_ARB_multitexture GL_ARB_texture_compression");
        return realGetString(name);
    };
    EXPECT_THROW(bitmaps.loadAlpha("demo\\odd2_a.png"), BitmapLoadError);
    slot_glGetString = realGetString;
    EXPECT_EQ(bitmaps.find("demo\\odd2_a.png"), nullptr);
}

TEST_F(BitmapManagerTest, FindAddAndReleaseKeepOneEntryPerName)
{
    auto* first = new TextureImage;
    auto* second = new TextureImage;
    EXPECT_TRUE(bitmaps.add("demo\\a.jpg", first));
    EXPECT_FALSE(bitmaps.add("demo\\a.jpg", second));
    EXPECT_EQ(bitmaps.find("demo\\a.jpg"), first);
    delete second;
    bitmaps.release("demo\\a.jpg");
    EXPECT_EQ(bitmaps.find("demo\\a.jpg"), nullptr);
    bitmaps.release("demo\\a.jpg");  // absent: nothing happens
}
