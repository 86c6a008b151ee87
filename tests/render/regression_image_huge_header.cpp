#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/image_file.h"
#include "tests/render/image_test_files.h"
#include "tools/writers/picture_writer.h"

// Found by fuzz_image: a JPEG of a few hundred bytes whose frame header
// claims 65535 x 65535 pixels made FreeImage allocate the whole picture
// (gigabytes) before reading a pixel. Such pictures are refused from their
// header. (The normal build sees only the refusal; the allocation itself is
// caught by the fuzz build's memory limit, which replays the reproducer in
// fuzz/regressions/image.)
TEST(ImageRegression, JpegClaimingHugeSidesIsRefused)
{
    ScratchDirectory scratch;
    std::vector<uint8_t> pixels(8 * 8 * 3, 128);
    ASSERT_TRUE(writers::writeJpeg("small.jpg", pixels.data(), 8, 8));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readResourceFile("small.jpg", bytes));
    size_t frame = 0;
    for (size_t i = 0; i + 9 < bytes.size() && !frame; ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0)
            frame = i;
    ASSERT_NE(frame, 0u) << "no baseline frame header";
    auto withSides = [&](uint16_t height, uint16_t width) {
        std::vector<uint8_t> claimed = bytes;
        claimed[frame + 5] = uint8_t(height >> 8), claimed[frame + 6] = uint8_t(height);
        claimed[frame + 7] = uint8_t(width >> 8), claimed[frame + 8] = uint8_t(width);
        return claimed;
    };

    // Sides beyond any texture; then sides a texture may have but an area
    // (12000 x 12000, 430 MB of RGB) that fuzz_texture found a 724-byte
    // record could make us allocate twice over while scaling it.
    for (const std::vector<uint8_t>& huge : {withSides(65535, 65535), withSides(12000, 12000)}) {
        ImageRGB rgb;
        EXPECT_FALSE(loadImageRGBFromMemory(huge.data(), huge.size(), "huge.jpg", rgb));
        EXPECT_FALSE(rgb.hasPixels());
        Image8 grey;
        EXPECT_FALSE(loadImage8FromMemory(huge.data(), huge.size(), "huge.jpg", grey));
    }

    // The same picture with its own sides still decodes.
    ImageRGB small;
    ASSERT_TRUE(readResourceFile("small.jpg", bytes));
    EXPECT_TRUE(loadImageRGBFromMemory(bytes.data(), bytes.size(), "small.jpg", small));
    EXPECT_EQ(small.width, 8u);
}
