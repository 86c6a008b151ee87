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

} // namespace gltf_export
