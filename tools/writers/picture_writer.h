#pragma once
// Picture files for the tests and the asset generator: JPEG through
// FreeImage, PNG through libpng. Paths are file-system paths.

#include <cstdint>
#include <string>
#include <vector>

namespace writers {

// `pixels` holds `channels` (3: R, G, B; or 1: grey) bytes per pixel, rows
// tightly packed, the top row first. Quality 1..100.
bool writeJpeg(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height,
               unsigned channels = 3, int quality = 100);

// A PNG picture in its own sample layout: each row holds width x samples per
// pixel x bitDepth bits, packed most significant bit first and padded to a
// whole byte; 16-bit samples are big-endian.
struct PngPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    int colourType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth = 8;    // 1, 2, 4, 8 or 16 as the colour type allows
    std::vector<uint8_t> rows;
    std::vector<uint8_t> palette;  // R, G, B per entry, for colour type 3
    // Alpha of the first palette entries (a tRNS chunk); none when empty.
    std::vector<uint8_t> transparency;

    size_t rowBytes() const;
};

bool writePng(const std::string& path, const PngPicture& picture);

// The common case: 8-bit samples, `channels` 1 (grey), 3 (RGB) or 4 (RGBA).
bool writePng(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height,
              unsigned channels = 3);

} // namespace writers
