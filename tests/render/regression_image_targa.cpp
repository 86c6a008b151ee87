#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/image_file.h"

// Found by fuzz_image: FreeImage's Targa reader sized a buffer from a file
// that ends inside its own header and ID field, got none, and crashed on it.
// Such files are refused; whole Targa pictures still decode.
TEST(ImageRegression, TargaEndingInsideItsHeaderIsRefused)
{
    const std::vector<uint8_t> reproducer = {0xFF, 0xE1, 0x0B, 0x02, 0x00, 0x40, 0x60, 0x00, 0x00,
                                             0x00, 0x00, 0xFF, 0xDB, 0x00, 0x06, 0x00, 0x08};
    ImageRGB rgb;
    EXPECT_FALSE(loadImageRGBFromMemory(reproducer.data(), reproducer.size(), "a.tga", rgb));
    Image8 grey;
    EXPECT_FALSE(loadImage8FromMemory(reproducer.data(), reproducer.size(), "a.tga", grey));

    // 2 x 2, 24 bits, uncompressed, a 3-byte ID field, rows from the bottom.
    std::vector<uint8_t> whole = {3, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0, 'i', 'd', '!'};
    const uint8_t bgr[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    for (const auto& pixel : bgr)
        whole.insert(whole.end(), pixel, pixel + 3);
    ASSERT_TRUE(loadImageRGBFromMemory(whole.data(), whole.size(), "a.tga", rgb));
    ASSERT_EQ(rgb.width, 2u);
    ASSERT_EQ(rgb.height, 2u);
    // Top row first: the file's second row, then its first, as R, G, B.
    EXPECT_EQ(std::vector<uint8_t>(rgb.pixels.begin(), rgb.pixels.begin() + 3), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(rgb.pixels.end() - 3, rgb.pixels.end()), (std::vector<uint8_t>{0, 255, 0}));

    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + 19);  // ends in the ID field
    EXPECT_FALSE(loadImageRGBFromMemory(cut.data(), cut.size(), "a.tga", rgb));
}
