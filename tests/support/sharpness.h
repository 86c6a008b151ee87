#pragma once
// How sharp a picture looks: gradient energy, the mean squared difference
// between neighbouring pixels' luminance. Soft pictures have little of it;
// every sharp edge and fine texture adds to it. Compared against the smaller
// picture magnified as a linear-filtered texture is, it tells whether a
// larger picture shows more than the smaller one already did.

#include <cstddef>
#include <cstdint>
#include <vector>

struct GreyPicture {
    int width = 0, height = 0;
    std::vector<float> values;  // luminance 0..255, top row first
    float at(int x, int y) const { return values[size_t(y) * size_t(width) + size_t(x)]; }
};

// From RGB (channels 3) or grey (channels 1) bytes, top row first.
GreyPicture greyPicture(const uint8_t* pixels, int width, int height, int channels);

// `small` magnified `factor` times as GL_LINEAR magnifies a texture: pixel
// centres onto pixel centres, edges clamped.
GreyPicture magnified(const GreyPicture& small, int factor);

// Each `factor` x `factor` block averaged into one pixel.
GreyPicture reduced(const GreyPicture& large, int factor);

// A rectangle in pixels; the measures below scale it by `scale` (to place a
// rectangle of the 800x600 layout on a larger frame, say).
struct PictureRect {
    int x, y, width, height;
};

// Gradient energy over `rect` scaled by `scale` (the whole picture when
// the rectangle is empty).
double gradientEnergy(const GreyPicture& picture, PictureRect rect = {}, int scale = 1);
// Mean luminance over the same rectangle.
double meanLuminance(const GreyPicture& picture, PictureRect rect = {}, int scale = 1);
