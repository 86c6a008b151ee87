#pragma once
// A picture's pixels as the bytes of a PNG file, for embedding.

#include <cstdint>
#include <vector>

namespace gltf_export {

// `pixels`: `channels` (1 grey, 3 RGB, 4 RGBA) bytes per pixel, rows tightly
// packed, the bottom row first (as OpenGL takes them); the file has the top
// row first. Empty when the picture cannot be encoded.
std::vector<unsigned char> pngOf(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                                 unsigned channels);

// A PNG file without its colour space and pixel shape notes (gAMA, cHRM,
// iCCP, sRGB, pHYs): glTF takes every picture as sRGB with square pixels,
// and the validator warns of files that say otherwise. Other bytes (and
// files that are not PNG) are kept as they are.
std::vector<unsigned char> withoutColourSpaceNotes(const std::vector<unsigned char>& png);

} // namespace gltf_export
