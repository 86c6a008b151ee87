#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "render/image_file.h"
#include "tests/render/image_test_files.h"
#include "tools/writers/picture_writer.h"

namespace fs = std::filesystem;

namespace {

class ImageFileTest : public ::testing::Test {
    ScratchDirectory scratch_;
};

std::vector<uint8_t> pixelAt(const PixelImage& image, unsigned bytesPerPixel, uint32_t x, uint32_t y)
{
    auto first = image.pixels.begin() + (size_t(y) * image.width + x) * bytesPerPixel;
    return std::vector<uint8_t>(first, first + bytesPerPixel);
}

void expectNear(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want, int tolerance)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tolerance) << "channel " << i;
}

// 16x16 in four flat 8x8 blocks: red, green on top; blue, yellow below.
std::vector<uint8_t> quadrants()
{
    const uint8_t colours[4][3] = {{250, 10, 10}, {10, 250, 10}, {10, 10, 250}, {250, 250, 10}};
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.insert(pixels.end(), colours[(y / 8) * 2 + x / 8], colours[(y / 8) * 2 + x / 8] + 3);
    return pixels;
}

std::vector<uint8_t> fileBytes(const char* name)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readResourceFile(name, bytes));
    return bytes;
}

} // namespace

TEST_F(ImageFileTest, JpegAndPngReadTopRowFirstInRgbOrder)
{
    std::vector<uint8_t> pixels = quadrants();
    ASSERT_TRUE(writers::writeJpeg("quad.jpg", pixels.data(), 16, 16));
    ASSERT_TRUE(writers::writePng("quad.png", pixels.data(), 16, 16));

    for (const char* name : {"quad.jpg", "quad.png"}) {
        SCOPED_TRACE(name);
        ImageRGB image;
        ASSERT_TRUE(loadImageRGB(name, image));
        EXPECT_EQ(image.name, name);
        EXPECT_EQ(image.width, 16u);
        EXPECT_EQ(image.height, 16u);
        int tolerance = std::string(name) == "quad.jpg" ? 4 : 0;
        expectNear(pixelAt(image, 3, 2, 2), {250, 10, 10}, tolerance);
        expectNear(pixelAt(image, 3, 13, 2), {10, 250, 10}, tolerance);
        expectNear(pixelAt(image, 3, 2, 13), {10, 10, 250}, tolerance);
        expectNear(pixelAt(image, 3, 13, 13), {250, 250, 10}, tolerance);
    }

    // The same JPEG from memory; the name is the caller's to keep.
    std::vector<uint8_t> bytes = fileBytes("quad.jpg");
    ImageRGB fromMemory;
    fromMemory.name = "kept";
    ASSERT_TRUE(loadImageRGBFromMemory(bytes.data(), bytes.size(), "stored.jpg", fromMemory));
    EXPECT_EQ(fromMemory.name, "kept");
    expectNear(pixelAt(fromMemory, 3, 13, 13), {250, 250, 10}, 4);

    ImageRGBA rgba;
    EXPECT_FALSE(loadImageRGBAFromMemory(bytes.data(), bytes.size(), "stored.jpg", rgba));
}

TEST_F(ImageFileTest, PalettesLowBitGreyAndSixteenBitPngsBecomeEightBitSamples)
{
    // 4-bit palette: indices 0, 1, 2 across one row.
    writers::PngPicture palette;
    palette.width = 3;
    palette.height = 1;
    palette.colourType = 3;
    palette.bitDepth = 4;
    palette.palette = {200, 100, 50, 0, 0, 0, 128, 128, 128};
    palette.rows = {0x01, 0x20};
    ASSERT_TRUE(writers::writePng("palette.png", palette));

    ImageRGB rgb;
    ASSERT_TRUE(loadImageRGB("palette.png", rgb));
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{200, 100, 50, 0, 0, 0, 128, 128, 128}));
    // On the 8-bit path the colours become luminance, not palette indices.
    Image8 grey;
    ASSERT_TRUE(loadImage8("palette.png", grey));
    ASSERT_EQ(grey.pixels.size(), 3u);
    EXPECT_NEAR(grey.pixels[0], 0.2126 * 200 + 0.7152 * 100 + 0.0722 * 50, 2);
    EXPECT_EQ(grey.pixels[1], 0);
    EXPECT_EQ(grey.pixels[2], 128);

    // 2-bit grey 0..3 expands to 0, 85, 170, 255 and is replicated to RGB.
    writers::PngPicture lowGrey;
    lowGrey.width = 4;
    lowGrey.height = 1;
    lowGrey.colourType = 0;
    lowGrey.bitDepth = 2;
    lowGrey.rows = {0x1B};  // 00 01 10 11
    ASSERT_TRUE(writers::writePng("grey2.png", lowGrey));
    ASSERT_TRUE(loadImage8("grey2.png", grey));
    EXPECT_EQ(grey.pixels, (std::vector<uint8_t>{0, 85, 170, 255}));
    ASSERT_TRUE(loadImageRGB("grey2.png", rgb));
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));

    // 16-bit RGBA: the high byte of each sample, alpha dropped.
    writers::PngPicture deep;
    deep.width = 1;
    deep.height = 2;
    deep.colourType = 6;
    deep.bitDepth = 16;
    deep.rows = {0xAB, 0xCD, 0x12, 0x34, 0x56, 0x78, 0x00, 0x01, 0x01, 0x00, 0x02, 0x00, 0xFE, 0xFF, 0x80, 0x00};
    ASSERT_TRUE(writers::writePng("deep.png", deep));
    ASSERT_TRUE(loadImageRGB("deep.png", rgb));
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{0xAB, 0x12, 0x56, 0x01, 0x02, 0xFE}));

    // 16-bit grey with alpha on both paths.
    writers::PngPicture greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.height = 1;
    greyAlpha.colourType = 4;
    greyAlpha.bitDepth = 16;
    greyAlpha.rows = {0x40, 0x00, 0xFF, 0xFF, 0xC0, 0x11, 0x00, 0x00};
    ASSERT_TRUE(writers::writePng("greyalpha.png", greyAlpha));
    ASSERT_TRUE(loadImage8("greyalpha.png", grey));
    EXPECT_EQ(grey.pixels, (std::vector<uint8_t>{0x40, 0xC0}));
    ASSERT_TRUE(loadImageRGB("greyalpha.png", rgb));
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{0x40, 0x40, 0x40, 0xC0, 0xC0, 0xC0}));
}

TEST_F(ImageFileTest, ColourOnTheEightBitPathBecomesLuminance)
{
    const uint8_t pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 90, 90, 90};
    ASSERT_TRUE(writers::writePng("colour.png", pixels, 4, 1));
    Image8 grey;
    ASSERT_TRUE(loadImage8("colour.png", grey));
    ASSERT_EQ(grey.pixels.size(), 4u);
    EXPECT_GT(grey.pixels[1], grey.pixels[0]);  // green weighs most, then red, then blue
    EXPECT_GT(grey.pixels[0], grey.pixels[2]);
    EXPECT_EQ(grey.pixels[3], 90);

    // A colour JPEG on the 8-bit path (FreeImage) too.
    std::vector<uint8_t> quad = quadrants();
    ASSERT_TRUE(writers::writeJpeg("quad.jpg", quad.data(), 16, 16));
    ASSERT_TRUE(loadImage8("quad.jpg", grey));
    ASSERT_EQ(grey.pixels.size(), 256u);
    EXPECT_GT(grey.pixels[8], grey.pixels[0]);          // green block brighter than red
    EXPECT_GT(grey.pixels[8 * 16 + 8], grey.pixels[8]);  // yellow brighter than green

    // A grey JPEG reads back its own values.
    std::vector<uint8_t> blocks(256);
    for (int i = 0; i < 256; ++i)
        blocks[i] = i < 128 ? 40 : 200;  // two flat 16x8 bands
    ASSERT_TRUE(writers::writeJpeg("blocks.jpg", blocks.data(), 16, 16, 1));
    ASSERT_TRUE(loadImage8("blocks.jpg", grey));
    EXPECT_NEAR(grey.pixels[0], 40, 3);
    EXPECT_NEAR(grey.pixels[255], 200, 3);
}

TEST_F(ImageFileTest, ANameWithoutADotIsLookedUpWhole)
{
    std::vector<uint8_t> quad = quadrants();
    ASSERT_TRUE(writers::writeJpeg("jpg", quad.data(), 16, 16));
    ImageRGB image;
    EXPECT_TRUE(loadImageRGB("jpg", image));  // "jpg" itself names the format
    EXPECT_EQ(image.width, 16u);

    fs::copy_file("jpg", "picture");
    ImageRGB unknown;
    EXPECT_FALSE(loadImageRGB("picture", unknown));
    EXPECT_FALSE(unknown.hasPixels());

    // Only the text after the last '.' counts, not an earlier one.
    fs::copy_file("jpg", "picture.jpg.bin");
    EXPECT_FALSE(loadImageRGB("picture.jpg.bin", unknown));
}

TEST_F(ImageFileTest, PngProbeReportsGreyAndAlpha)
{
    const uint8_t pixels[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(writers::writePng("grey.png", pixels, 2, 1, 1));
    ASSERT_TRUE(writers::writePng("greyalpha.png", pixels, 2, 1, 2));
    ASSERT_TRUE(writers::writePng("rgb.png", pixels, 2, 1, 3));
    ASSERT_TRUE(writers::writePng("rgba.png", pixels, 2, 1, 4));
    ASSERT_TRUE(writers::writeJpeg("photo.jpg", pixels, 2, 1));

    unsigned flags = 99;
    EXPECT_TRUE(isPngFile("grey.png", flags));
    EXPECT_EQ(flags, unsigned(kPngGrey));
    EXPECT_TRUE(isPngFile("greyalpha.png", flags));
    EXPECT_EQ(flags, unsigned(kPngHasAlpha));
    EXPECT_TRUE(isPngFile("rgb.png", flags));
    EXPECT_EQ(flags, 0u);
    EXPECT_TRUE(isPngFile("rgba.png", flags));
    EXPECT_EQ(flags, unsigned(kPngHasAlpha));
    EXPECT_FALSE(isPngFile("photo.jpg", flags));
    EXPECT_EQ(flags, 0u);
    EXPECT_FALSE(isPngFile("missing.png", flags));
}

TEST_F(ImageFileTest, MissingTruncatedAndCorruptPicturesFailWithoutPixels)
{
    ImageRGB image;
    EXPECT_FALSE(loadImageRGB("missing.jpg", image));
    EXPECT_FALSE(image.hasPixels());
    EXPECT_TRUE(image.name.empty());

    std::vector<uint8_t> quad = quadrants();
    ASSERT_TRUE(writers::writePng("quad.png", quad.data(), 16, 16));
    ASSERT_TRUE(writers::writeJpeg("quad.jpg", quad.data(), 16, 16));
    for (const char* name : {"quad.png", "quad.jpg"}) {
        std::vector<uint8_t> bytes = fileBytes(name);
        for (size_t keep : {size_t(0), size_t(3), size_t(20), bytes.size() / 2}) {
            SCOPED_TRACE(std::string(name) + " cut to " + std::to_string(keep));
            std::string cut = "cut-" + std::to_string(keep) + "-" + name;
            std::vector<uint8_t> head(bytes.begin(), bytes.begin() + keep);
            FILE* file = std::fopen(cut.c_str(), "wb");
            std::fwrite(head.data(), 1, head.size(), file);
            std::fclose(file);
            ImageRGB truncated;
            Image8 truncated8;
            // A cut JPEG may still decode partially; it must never read past its end.
            bool decoded = loadImageRGB(cut.c_str(), truncated);
            EXPECT_EQ(decoded, truncated.hasPixels());
            if (std::string(name) == "quad.png") {
                EXPECT_FALSE(decoded);
            }
            EXPECT_EQ(loadImage8(cut.c_str(), truncated8), truncated8.hasPixels());
            EXPECT_FALSE(loadImageRGBFromMemory(head.data(), std::min<size_t>(head.size(), 20), "x.jpg", truncated));
        }
    }

    std::vector<uint8_t> noise(4000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 7919 % 251);
    ImageRGB corrupt;
    EXPECT_FALSE(loadImageRGBFromMemory(noise.data(), noise.size(), "noise.jpg", corrupt));
    EXPECT_FALSE(corrupt.hasPixels());
}
