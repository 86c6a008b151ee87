#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/image_file.h"
#include "tests/render/image_test_files.h"
#include "tools/writers/picture_writer.h"

namespace {

class ImageFileTest : public ::testing::Test {
    ScratchDirectory scratch_;
};

// 16x16 in four flat 8x8 blocks (flat so that JPEG keeps them): red, green
// on top; blue, yellow below.
std::vector<uint8_t> quadrants()
{
    const uint8_t colours[4][3] = {{250, 10, 10}, {10, 250, 10}, {10, 10, 250}, {250, 250, 10}};
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.insert(pixels.end(), colours[(y / 8) * 2 + x / 8], colours[(y / 8) * 2 + x / 8] + 3);
    return pixels;
}

writers::PngPicture pngOf(uint32_t width, int colourType, int bitDepth, std::vector<uint8_t> rows)
{
    writers::PngPicture picture;
    picture.width = width;
    picture.height = 1;
    picture.colourType = colourType;
    picture.bitDepth = bitDepth;
    picture.rows = std::move(rows);
    return picture;
}

} // namespace

TEST_F(ImageFileTest, JpegAndPngReadTopRowFirstInRgbOrder)
{
    std::vector<uint8_t> pixels = quadrants();
    ASSERT_TRUE(writers::writeJpeg("quad.jpg", pixels.data(), 16, 16));
    ASSERT_TRUE(writers::writePng("quad.png", pixels.data(), 16, 16));
    std::vector<uint8_t> jpegBytes;
    ASSERT_TRUE(readResourceFile("quad.jpg", jpegBytes));

    ImageRGB png, jpeg, fromMemory;
    ASSERT_TRUE(loadImageRGB("quad.png", png));
    EXPECT_EQ(png.pixels, pixels);
    EXPECT_EQ(png.name, "quad.png");
    ASSERT_TRUE(loadImageRGB("quad.jpg", jpeg));
    ASSERT_TRUE(loadImageRGBFromMemory(jpegBytes.data(), jpegBytes.size(), "stored.jpg", fromMemory));
    EXPECT_TRUE(fromMemory.name.empty());
    for (const ImageRGB* image : {&jpeg, &fromMemory}) {
        ASSERT_EQ(image->width, 16u);
        ASSERT_EQ(image->height, 16u);
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_NEAR(image->pixels[i], pixels[i], 4) << "byte " << i;
    }
    ImageRGBA rgba;
    EXPECT_FALSE(loadImageRGBAFromMemory(jpegBytes.data(), jpegBytes.size(), "stored.jpg", rgba));
}

TEST_F(ImageFileTest, EveryPngKindBecomesEightBitSamplesOfTheAskedChannels)
{
    // 4-bit palette; 2-bit grey 0..3; 16-bit RGBA; 16-bit grey with alpha.
    writers::PngPicture palette = pngOf(3, 3, 4, {0x01, 0x20});
    palette.palette = {200, 100, 50, 0, 0, 0, 128, 128, 128};
    ASSERT_TRUE(writers::writePng("palette.png", palette));
    ASSERT_TRUE(writers::writePng("grey2.png", pngOf(4, 0, 2, {0x1B})));
    ASSERT_TRUE(writers::writePng("deep.png", pngOf(2, 6, 16, {0xAB, 0xCD, 0x12, 0x34, 0x56, 0x78, 0, 1, 1, 0, 2, 0,
                                                              0xFE, 0xFF, 0x80, 0})));
    ASSERT_TRUE(writers::writePng("greyalpha.png", pngOf(2, 4, 16, {0x40, 0, 0xFF, 0xFF, 0xC0, 0x11, 0, 0})));

    ImageRGB rgb;
    Image8 grey;
    ASSERT_TRUE(loadImageRGB("palette.png", rgb));
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{200, 100, 50, 0, 0, 0, 128, 128, 128}));
    ASSERT_TRUE(loadImageRGB("grey2.png", rgb));  // grey replicated to RGB
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));
    ASSERT_TRUE(loadImageRGB("deep.png", rgb));  // high bytes, alpha dropped
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{0xAB, 0x12, 0x56, 0x01, 0x02, 0xFE}));
    ASSERT_TRUE(loadImageRGB("greyalpha.png", rgb));
    EXPECT_EQ(rgb.pixels, (std::vector<uint8_t>{0x40, 0x40, 0x40, 0xC0, 0xC0, 0xC0}));
    ASSERT_TRUE(loadImage8("grey2.png", grey));
    EXPECT_EQ(grey.pixels, (std::vector<uint8_t>{0, 85, 170, 255}));
    ASSERT_TRUE(loadImage8("greyalpha.png", grey));
    EXPECT_EQ(grey.pixels, (std::vector<uint8_t>{0x40, 0xC0}));

    // Colour on the 8-bit path becomes luminance, not an index or one channel.
    ASSERT_TRUE(loadImage8("palette.png", grey));
    ASSERT_EQ(grey.pixels.size(), 3u);
    EXPECT_NEAR(grey.pixels[0], 0.2126 * 200 + 0.7152 * 100 + 0.0722 * 50, 2);
    EXPECT_EQ(grey.pixels[2], 128);
    std::vector<uint8_t> quad = quadrants();
    ASSERT_TRUE(writers::writeJpeg("quad.jpg", quad.data(), 16, 16));
    ASSERT_TRUE(loadImage8("quad.jpg", grey));
    EXPECT_GT(grey.pixels[8], grey.pixels[0]);           // green block brighter than red
    EXPECT_GT(grey.pixels[8 * 16 + 8], grey.pixels[8]);  // yellow brighter than green

    unsigned flags = 99;
    EXPECT_TRUE(isPngFile("grey2.png", flags));
    EXPECT_EQ(flags, unsigned(kPngGrey));
    EXPECT_TRUE(isPngFile("greyalpha.png", flags));
    EXPECT_EQ(flags, unsigned(kPngHasAlpha));
    EXPECT_FALSE(isPngFile("quad.jpg", flags));
}

// Image editors save palettes with a transparent colour (a tRNS chunk),
// which the palette expansion turns into alpha: it is dropped like any
// other alpha, on both paths, whatever part of the palette it covers.
TEST_F(ImageFileTest, PalettesWithTransparencyReadAsTheirColours)
{
    const std::vector<uint8_t> palette = {200, 100, 50, 0, 0, 0, 128, 128, 128, 255, 255, 255};
    const std::vector<uint8_t> indices = {2, 0, 3, 1};  // one row of four pixels
    std::vector<uint8_t> expectedRgb;
    for (uint8_t index : indices)
        expectedRgb.insert(expectedRgb.end(), &palette[index * 3], &palette[index * 3 + 3]);
    const struct {
        const char* what;
        std::vector<uint8_t> transparency;
    } cases[] = {{"no tRNS", {}}, {"every entry", {0, 255, 128, 10}}, {"the first entry only", {0}}};
    for (const auto& c : cases) {
        // 8-bit indices, and the same indices packed two bits each.
        writers::PngPicture wide = pngOf(4, 3, 8, indices);
        writers::PngPicture packed = pngOf(4, 3, 2, {uint8_t(indices[0] << 6 | indices[1] << 4 | indices[2] << 2 | indices[3])});
        for (writers::PngPicture* picture : {&wide, &packed}) {
            picture->palette = palette;
            picture->transparency = c.transparency;
            ASSERT_TRUE(writers::writePng("palette.png", *picture));
            ImageRGB rgb;
            ASSERT_TRUE(loadImageRGB("palette.png", rgb)) << c.what << ", " << picture->bitDepth << " bits";
            EXPECT_EQ(rgb.pixels, expectedRgb) << c.what;
            Image8 grey;
            ASSERT_TRUE(loadImage8("palette.png", grey)) << c.what << ", " << picture->bitDepth << " bits";
            ASSERT_EQ(grey.pixels.size(), 4u);
            EXPECT_EQ(grey.pixels[0], 128) << c.what;
            EXPECT_NEAR(grey.pixels[1], 0.2126 * 200 + 0.7152 * 100 + 0.0722 * 50, 2) << c.what;
            EXPECT_EQ(grey.pixels[2], 255) << c.what;
            EXPECT_EQ(grey.pixels[3], 0) << c.what;
        }
    }
}

TEST_F(ImageFileTest, AKnownSignatureDecidesOverTheName)
{
    // Pictures of LightWave content often carry no extension or another one;
    // what the bytes say they are wins, and a name alone decodes nothing. A
    // format without a signature (Targa) still goes by its name.
    std::vector<uint8_t> quad = quadrants();
    ASSERT_TRUE(writers::writeJpeg("jpg", quad.data(), 16, 16));
    std::filesystem::copy_file("jpg", "picture");
    std::filesystem::copy_file("jpg", "picture.png.bin");
    std::filesystem::copy_file("jpg", "picture.tga");
    for (const char* name : {"jpg", "picture", "picture.png.bin", "picture.tga"}) {
        ImageRGB image;
        ASSERT_TRUE(loadImageRGB(name, image)) << name;
        EXPECT_EQ(image.width, 16u) << name;
    }
    std::ofstream("noise.jpg", std::ios::binary) << std::string(64, '\x5a');
    ImageRGB image;
    EXPECT_FALSE(loadImageRGB("noise.jpg", image));
    // A Targa has no signature: named as one it decodes, unnamed it does not.
    const uint8_t targa[18 + 3] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 10, 20, 30};
    for (const char* name : {"dot.tga", "dot"}) {
        FILE* file = std::fopen(name, "wb");
        std::fwrite(targa, 1, sizeof targa, file);
        std::fclose(file);
    }
    EXPECT_TRUE(loadImageRGB("dot.tga", image));
    EXPECT_FALSE(loadImageRGB("dot", image));
    EXPECT_FALSE(image.hasPixels());
}

TEST_F(ImageFileTest, MissingTruncatedAndCorruptPicturesFailWithoutPixels)
{
    ImageRGB image;
    EXPECT_FALSE(loadImageRGB("missing.jpg", image));
    std::vector<uint8_t> quad = quadrants(), bytes;
    ASSERT_TRUE(writers::writePng("quad.png", quad.data(), 16, 16));
    ASSERT_TRUE(readResourceFile("quad.png", bytes));
    for (size_t keep : {size_t(3), size_t(20), bytes.size() / 2}) {
        FILE* file = std::fopen("cut.png", "wb");
        std::fwrite(bytes.data(), 1, keep, file);
        std::fclose(file);
        Image8 cut;
        EXPECT_FALSE(loadImage8("cut.png", cut)) << keep;
        EXPECT_FALSE(cut.hasPixels());
    }
    std::vector<uint8_t> noise(4000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 7919 % 251);
    EXPECT_FALSE(loadImageRGBFromMemory(noise.data(), noise.size(), "noise.jpg", image));
    EXPECT_FALSE(image.hasPixels());
}
