#pragma once
// A floating-point picture to paint on: one (grey) or three (RGB) channels,
// values nominally 0..1, rows top first. Painting stays in floats so that
// layered glows and gradients do not band before the final 8-bit rounding.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

Rgb mix(const Rgb& a, const Rgb& b, float t);
Rgb scaled(const Rgb& c, float k);
Rgb fromHex(uint32_t hex);  // 0xRRGGBB

class Canvas {
public:
    Canvas(int width, int height, int channels);

    int width() const { return width_; }
    int height() const { return height_; }
    int channels() const { return channels_; }

    float* pixel(int x, int y) { return &data_[(size_t(y) * width_ + x) * channels_]; }
    const float* pixel(int x, int y) const { return &data_[(size_t(y) * width_ + x) * channels_]; }
    float value(int x, int y) const { return data_[(size_t(y) * width_ + x) * channels_]; }

    Rgb rgb(int x, int y) const;
    void set(int x, int y, const Rgb& c);
    // Lays `c` over the pixel with coverage `alpha` (0..1).
    void blend(int x, int y, const Rgb& c, float alpha);
    void add(int x, int y, const Rgb& c);

    // Paints `colour` through a one-channel coverage canvas of the same size.
    void blendMask(const Canvas& mask, const Rgb& colour, float opacity = 1.0f);
    void addMask(const Canvas& mask, const Rgb& colour);

    // Separable box blur, three passes (close to a Gaussian of about `radius`).
    void blur(int radius);

    // Rounded to 8 bits with a tiny fixed dither so gradients do not band.
    std::vector<uint8_t> bytes() const;

private:
    int width_, height_, channels_;
    std::vector<float> data_;
};

// Where the centre of picture pixel `pixel` falls in layout pixels when
// `detail` picture pixels stand for one layout pixel, in the units a
// one-to-one picture samples at (its pixel index): the same value as `pixel`
// when `detail` is 1.
float layoutAt(int pixel, int detail);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

} // namespace assetgen
