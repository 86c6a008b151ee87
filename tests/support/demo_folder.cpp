#include "tests/support/demo_folder.h"

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/writers/picture_writer.h"

std::string makeDemoFolder(const std::string& folder)
{
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/demo");
    // A plain grey gradient stands in for the loading picture.
    const uint32_t width = 800, height = 600;
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width * 3; ++x)
            pixels[size_t(y) * width * 3 + x] = static_cast<uint8_t>(y * 255 / height);
    writers::writeJpeg(folder + "/demo/loading.jpg", pixels.data(), width, height, 3, 90);
    return folder;
}
