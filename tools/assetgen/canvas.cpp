#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Rgb mix(const Rgb& a, const Rgb& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(const Rgb& c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Rgb fromHex(uint32_t hex)
{
    return {float((hex >> 16) & 0xFF) / 255.0f, float((hex >> 8) & 0xFF) / 255.0f, float(hex & 0xFF) / 255.0f};
}

float layoutAt(int pixel, int detail)
{
    return (float(pixel) + 0.5f) / float(detail) - 0.5f;
}

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float smoothstep(float edge0, float edge1, float x)
{
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Canvas::Canvas(int width, int height, int channels)
    : width_(width), height_(height), channels_(channels), data_(size_t(width) * height * channels, 0.0f)
{
}

Rgb Canvas::rgb(int x, int y) const
{
    const float* p = pixel(x, y);
    return channels_ == 3 ? Rgb{p[0], p[1], p[2]} : Rgb{p[0], p[0], p[0]};
}

void Canvas::set(int x, int y, const Rgb& c)
{
    float* p = pixel(x, y);
    if (channels_ == 3) {
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    } else {
        p[0] = c.r;
    }
}

void Canvas::blend(int x, int y, const Rgb& c, float alpha)
{
    if (alpha <= 0 || x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    set(x, y, mix(rgb(x, y), c, std::min(alpha, 1.0f)));
}

void Canvas::add(int x, int y, const Rgb& c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    Rgb old = rgb(x, y);
    set(x, y, {old.r + c.r, old.g + c.g, old.b + c.b});
}

void Canvas::blendMask(const Canvas& mask, const Rgb& colour, float opacity)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            blend(x, y, colour, mask.value(x, y) * opacity);
}

void Canvas::addMask(const Canvas& mask, const Rgb& colour)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float m = mask.value(x, y);
            if (m > 0)
                add(x, y, scaled(colour, m));
        }
}

namespace {

// One box pass along a line of `count` samples `stride` apart, edges clamped.
void boxLine(float* line, int count, size_t stride, int radius, std::vector<float>& scratch)
{
    scratch.resize(count);
    float sum = 0;
    auto at = [&](int i) { return line[size_t(std::clamp(i, 0, count - 1)) * stride]; };
    for (int i = -radius; i <= radius; ++i)
        sum += at(i);
    float norm = 1.0f / float(2 * radius + 1);
    for (int i = 0; i < count; ++i) {
        scratch[i] = sum * norm;
        sum += at(i + radius + 1) - at(i - radius);
    }
    for (int i = 0; i < count; ++i)
        line[size_t(i) * stride] = scratch[i];
}

} // namespace

void Canvas::blur(int radius)
{
    if (radius <= 0)
        return;
    std::vector<float> scratch;
    for (int pass = 0; pass < 3; ++pass)
        for (int c = 0; c < channels_; ++c) {
            for (int y = 0; y < height_; ++y)
                boxLine(&data_[size_t(y) * width_ * channels_ + c], width_, channels_, radius, scratch);
            for (int x = 0; x < width_; ++x)
                boxLine(&data_[size_t(x) * channels_ + c], height_, size_t(width_) * channels_, radius, scratch);
        }
}

std::vector<uint8_t> Canvas::bytes() const
{
    static const float kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<uint8_t> out(data_.size());
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float dither = (kBayer[y & 3][x & 3] + 0.5f) / 16.0f;
            for (int c = 0; c < channels_; ++c) {
                size_t i = (size_t(y) * width_ + x) * channels_ + c;
                float v = clamp01(data_[i]) * 255.0f + dither;
                out[i] = uint8_t(std::min(255.0f, std::floor(v)));
            }
        }
    return out;
}

} // namespace assetgen
