#include <gtest/gtest.h>

#include <cstdio>
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
    ASSERT_EQ(padded.pixels.size(), 1024u * 1024u * 3u);  // unnamed: kept after upload
    for (uint32_t y : {0u, 1u, 299u, 599u}) {
        const uint8_t* row = &padded.pixels[y * 1024 * 3];
        EXPECT_TRUE(std::equal(row, row + 800 * 3, &picture[y * 800 * 3])) << "row " << y;
        EXPECT_TRUE(std::all_of(row + 800 * 3, row + 1024 * 3, [](uint8_t b) { return b == 0; })) << "row " << y;
    }
    EXPECT_TRUE(std::all_of(padded.pixels.begin() + 600 * 1024 * 3, padded.pixels.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(textureParameter(texture->texture, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(textureParameter(texture->texture, GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(textureParameter(texture->texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    ASSERT_TRUE(writers::writeJpeg("demo/square.jpg", picture.data(), 256, 256));
    bitmaps.loadPadded("demo\\square.jpg");
    ASSERT_TRUE(bitmaps.find("demo\\square.jpg"));
    EXPECT_EQ(bitmaps.find("demo\\square.jpg")->currentImage()->width, 256u);
    EXPECT_EQ(bitmaps.find("demo\\square.jpg")->currentImage()->height, 256u);
}

TEST_F(BitmapManagerTest, AlphaPicturesCombineOrFailWithoutAddingAnything)
{
    std::vector<uint8_t> colour = solidPixels(256, 256, {10, 20, 30});
    ASSERT_TRUE(writers::writePng("demo/logo.png", colour.data(), 256, 256));
    writeGrey("demo/logo_a.png", 256, 256, 77);
    writeGrey("demo/small_a.png", 128, 128, 77);
    size_t held = bitmaps.size();

    EXPECT_THROW(bitmaps.loadWithAlpha("demo\\logo.png", "demo\\small_a.png"), BitmapLoadError);
    EXPECT_EQ(bitmaps.find("demo\\logo.png"), nullptr);
    EXPECT_EQ(bitmaps.size(), held);

    bitmaps.loadWithAlpha("demo\\logo.png", "demo\\logo_a.png");
    TextureImage* combined = bitmaps.find("demo\\logo.png");
    ASSERT_TRUE(combined && combined->rgba);
    EXPECT_TRUE(combined->hasAlpha);
    EXPECT_FALSE(combined->flags & TextureImage::Compress);
    EXPECT_EQ(combined->rgba->pixels, solidPixels(256, 256, {10, 20, 30, 77}));
    EXPECT_EQ(textureParameter(combined->texture, GL_TEXTURE_WRAP_S), GL_CLAMP);

    bitmaps.loadAlpha("demo\\logo_a.png");
    TextureImage* mask = bitmaps.find("demo\\logo_a.png");
    ASSERT_TRUE(mask && mask->gray);
    EXPECT_TRUE(mask->hasAlpha);
    EXPECT_EQ(mask->flags, GLuint(TextureImage::NoMipmap | TextureImage::Alpha));
    EXPECT_FALSE(mask->gray->hasPixels());  // read from a file: released after upload
    EXPECT_EQ(mask->gray->width, 256u);

    EXPECT_THROW(bitmaps.loadPadded("demo\\missing.jpg"), BitmapLoadError);
    EXPECT_THROW(bitmaps.loadAlpha("demo\\missing.png"), BitmapLoadError);
    EXPECT_THROW(bitmaps.loadWithAlpha("demo\\missing.jpg", "demo\\logo_a.png"), BitmapLoadError);
    EXPECT_EQ(bitmaps.size(), held + 2);
}

TEST_F(BitmapManagerTest, SidesThatAreNotPowersOfTwoFailWhereTheDriverCannotTakeThem)
{
    writeGrey("demo/odd_a.png", 100, 60, 255);
    bitmaps.loadAlpha("demo\\odd_a.png");  // this driver takes them
    ASSERT_TRUE(bitmaps.find("demo\\odd_a.png"));
    EXPECT_EQ(bitmaps.find("demo\\odd_a.png")->currentImage()->width, 100u);

    // A driver of OpenGL 1.x without the extension.
    static const GLubyte* (*realGetString)(GLenum) = slot_glGetString;
    slot_glGetString = [](GLenum name) -> const GLubyte* {
        if (name == GL_VERSION)
            return reinterpret_cast<const GLubyte*>("1.4 Old");
        if (name == GL_EXTENSIONS)
            return reinterpret_cast<const GLubyte*>("GL_ARB_multitexture GL_ARB_texture_compression");
        return realGetString(name);
    };
    writeGrey("demo/odd2_a.png", 100, 60, 255);
    try {
        bitmaps.loadAlpha("demo\\odd2_a.png");
        ADD_FAILURE() << "uploaded a texture the driver cannot take";
    } catch (const BitmapLoadError& error) {
        EXPECT_EQ(error.fileName(), "demo\\odd2_a.png");
    }
    EXPECT_EQ(bitmaps.find("demo\\odd2_a.png"), nullptr);
    slot_glGetString = realGetString;
}

TEST_F(BitmapManagerTest, FindAddAndReleaseKeepOneEntryPerName)
{
    size_t held = bitmaps.size();
    auto* first = new TextureImage;
    auto* second = new TextureImage;
    EXPECT_TRUE(bitmaps.add("demo\\a.jpg", first));
    EXPECT_FALSE(bitmaps.add("demo\\a.jpg", second));
    EXPECT_EQ(bitmaps.find("demo\\a.jpg"), first);
    delete second;
    EXPECT_EQ(bitmaps.find("demo/a.jpg"), nullptr);  // another spelling is another name

    bitmaps.release("demo\\a.jpg");
    EXPECT_EQ(bitmaps.find("demo\\a.jpg"), nullptr);
    bitmaps.release("demo\\a.jpg");  // absent: nothing happens
    EXPECT_EQ(bitmaps.size(), held);

    // Loading a name already held keeps the texture there.
    std::vector<uint8_t> pixels = solidPixels(4, 4, {1, 2, 3});
    ASSERT_TRUE(writers::writePng("demo/b.png", pixels.data(), 4, 4));
    bitmaps.loadPadded("demo\\b.png");
    TextureImage* loaded = bitmaps.find("demo\\b.png");
    bitmaps.loadPadded("demo\\b.png");
    EXPECT_EQ(bitmaps.find("demo\\b.png"), loaded);
}

TEST_F(BitmapManagerTest, LoadFailuresNameTheFile)
{
    try {
        bitmaps.loadPadded("demo\\gone.jpg");
        FAIL() << "a missing picture was loaded";
    } catch (const BitmapLoadError& error) {
        EXPECT_EQ(error.fileName(), "demo\\gone.jpg");
        EXPECT_NE(std::string(error.what()).find("demo\\gone.jpg"), std::string::npos) << error.what();
    }
    std::vector<uint8_t> noise(300, 0x33);
    FILE* file = std::fopen("demo/noise.jpg", "wb");
    ASSERT_TRUE(file);
    std::fwrite(noise.data(), 1, noise.size(), file);
    std::fclose(file);
    EXPECT_THROW(bitmaps.loadPadded("demo\\noise.jpg"), BitmapLoadError);
    EXPECT_EQ(bitmaps.find("demo\\noise.jpg"), nullptr);
}
