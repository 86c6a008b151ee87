#pragma once
// Helpers for tests that make picture files: a fresh working directory per
// test (so resource names are plain relative paths) and picture patterns.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// Makes and enters a fresh directory; leaves and removes it at the end.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        namespace fs = std::filesystem;
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        path_ = fs::temp_directory_path() / ("skydrift-" + test + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_ / "demo");
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~ScratchDirectory()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path path_, previous_;
};

// width x height pixels of `channels` bytes each, all `value`.
inline std::vector<uint8_t> solidPixels(uint32_t width, uint32_t height, std::vector<uint8_t> value)
{
    std::vector<uint8_t> pixels;
    pixels.reserve(size_t(width) * height * value.size());
    for (size_t i = 0; i < size_t(width) * height; ++i)
        pixels.insert(pixels.end(), value.begin(), value.end());
    return pixels;
}

// RGB pixels that differ from their neighbours: R from x, G from y, B from
// the 256-pixel block.
inline std::vector<uint8_t> patternPixels(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels;
    pixels.reserve(size_t(width) * height * 3);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            pixels.insert(pixels.end(), {uint8_t(x), uint8_t(y), uint8_t(32 + (x / 256) * 64 + (y / 256) * 16)});
    return pixels;
}
