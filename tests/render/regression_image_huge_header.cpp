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
    for (size_t side = frame + 5; side < frame + 9; ++side)
        bytes[side] = 0xFF;  // height, then width: 65535 each

    ImageRGB rgb;
    EXPECT_FALSE(loadImageRGBFromMemory(bytes.data(), bytes.size(), "huge.jpg", rgb));
    EXPECT_FALSE(rgb.hasPixels());
    Image8 grey;
    EXPECT_FALSE(loadImage8FromMemory(bytes.data(), bytes.size(), "huge.jpg", grey));

    // The same picture with its own sides still decodes.
    ImageRGB small;
    ASSERT_TRUE(readResourceFile("small.jpg", bytes));
    EXPECT_TRUE(loadImageRGBFromMemory(bytes.data(), bytes.size(), "small.jpg", small));
    EXPECT_EQ(small.width, 8u);
}
