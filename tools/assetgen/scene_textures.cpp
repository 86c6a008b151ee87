#include "tools/assetgen/scene_textures.h"

#include <cmath>

#include "tools/assetgen/noise.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

float fract(float v) { return v - std::floor(v); }

} // namespace

Canvas sandstoneTexture(int size, int detail)
{
    const float texels = float(size) / float(detail);
    Canvas canvas(size, size, 3);
    NoiseField grain{31, 8, 8}, blotch{32, 2, 2};
    const Rgb light = fromHex(0xd9b98c), dark = fromHex(0xa9865e), mortar = fromHex(0x7a6248);
    const int courses = 4;  // block rows per tile
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / float(size), v = float(y) / float(size);
            int row = int(v * courses);
            float bu = fract(u * 2 + (row % 2) * 0.5f);  // two blocks per row, staggered
            float bv = fract(v * courses);
            float edge = std::min(std::min(bu, 1 - bu) * 2.0f * texels / 2, std::min(bv, 1 - bv) * texels / courses);
            float joint = 1.0f - smoothstep(1.0f, 3.0f, edge);
            float n = grain.fbm(u * 8, v * 8, 4);
            float b = blotch.fbm(u * 2, v * 2, 3);
            float blockShade = hash01(int(u * 2 + (row % 2) * 0.5f), row, 77) * 0.25f;
            Rgb c = mix(dark, light, clamp01(0.35f + n * 0.5f + b * 0.3f - blockShade));
            canvas.set(x, y, mix(c, mortar, joint * 0.85f));
        }
    return canvas;
}

Canvas floorTileTexture(int size)
{
    Canvas canvas(size, size, 3);
    NoiseField grain{41, 16, 16};
    const Rgb terracotta = fromHex(0xb0603c), cream = fromHex(0xe8d8b8), blue = fromHex(0x2a5a8a), ink = fromHex(0x3a2a20);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / float(size) - 0.5f, v = float(y) / float(size) - 0.5f;
            float r = std::sqrt(u * u + v * v), a = std::atan2(v, u);
            // An eight-pointed star: the radius of its outline at angle a.
            float star = 0.3f / (std::cos(std::fmod(std::fabs(a), kPi / 4) - kPi / 8) * 1.0f + 0.35f) * 1.1f;
            float inStar = 1 - smoothstep(star - 0.01f, star + 0.01f, r);
            float inCore = 1 - smoothstep(0.09f, 0.1f, r);
            // Corner quarter-rosettes continue the pattern into the next tiles.
            float cu = 0.5f - std::fabs(u), cv = 0.5f - std::fabs(v);
            float corner = 1 - smoothstep(0.17f, 0.18f, std::sqrt(cu * cu + cv * cv));
            Rgb c = mix(terracotta, cream, inStar);
            c = mix(c, blue, inCore);
            c = mix(c, blue, corner * 0.85f);
            float outline = std::exp(-std::pow((r - star) * 120.0f, 2.0f)) + std::exp(-std::pow((r - 0.1f) * 150.0f, 2.0f));
            c = mix(c, ink, clamp01(outline) * 0.7f);
            float n = grain.fbm(float(x) / float(size) * 16, float(y) / float(size) * 16, 3);
            canvas.set(x, y, scaled(c, 0.82f + 0.3f * n));
        }
    return canvas;
}

Canvas mosaicTexture(int size)
{
    Canvas canvas(size, size, 3);
    NoiseField grain{51, 32, 32};
    const Rgb deep = fromHex(0x12306a), mid = fromHex(0x2a5aa0), gold = fromHex(0xe0b050);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / float(size), v = float(y) / float(size);
            // Tesserae: small square cells with dark grout.
            float cu = fract(u * 32), cv = fract(v * 32);
            float grout = 1 - smoothstep(0.0f, 0.12f, std::min(std::min(cu, 1 - cu), std::min(cv, 1 - cv)));
            // A gold lattice of diamonds and circles.
            float du = std::fabs(fract(u * 4) - 0.5f), dv = std::fabs(fract(v * 4) - 0.5f);
            float diamond = std::fabs(du + dv - 0.35f);
            float ring = std::fabs(std::sqrt(du * du + dv * dv) - 0.22f);
            float lattice = 1 - smoothstep(0.02f, 0.05f, std::min(diamond, ring));
            float tile = hash01(int(u * 32), int(v * 32), 5);
            Rgb c = mix(deep, mid, tile * 0.7f);
            c = mix(c, scaled(gold, 0.85f + 0.3f * tile), lattice);
            c = scaled(c, 1.0f - grout * 0.45f);
            canvas.set(x, y, scaled(c, 0.9f + 0.2f * grain.value(u * 32, v * 32)));
        }
    return canvas;
}

Canvas voussoirTexture(int size)
{
    Canvas canvas(size, size, 3);
    NoiseField grain{61, 8, 8};
    const Rgb red = fromHex(0xa8402c), cream = fromHex(0xead7b0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / float(size), v = float(y) / float(size);
            int stone = int(u * 8);
            float cu = fract(u * 8);
            float joint = 1 - smoothstep(0.0f, 0.06f, std::min(cu, 1 - cu));
            Rgb c = stone % 2 ? red : cream;
            c = scaled(c, 0.85f + 0.25f * grain.fbm(u * 8, v * 8, 3));
            canvas.set(x, y, mix(c, fromHex(0x5a4030), joint * 0.8f));
        }
    return canvas;
}

Canvas mihrabTexture(int size)
{
    Canvas canvas(size, size, 3);
    const Rgb gold = fromHex(0xd8a848), shadow = fromHex(0x6a4a20), teal = fromHex(0x1a6a6a);
    NoiseField grain{71, 16, 16};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / float(size), v = float(y) / float(size);
            float du = std::fabs(u - 0.5f) * 2;
            // A pointed arch line nested three times.
            float arch = v - (0.15f + 0.6f * du * du);
            float bands = std::fabs(fract(arch * 6) - 0.5f);
            Rgb c = mix(gold, teal, smoothstep(0.15f, 0.25f, bands) * (arch > 0 ? 1.0f : 0.2f));
            float star = std::fabs(std::sin(u * kPi * 8) * std::sin(v * kPi * 8));
            c = mix(c, shadow, smoothstep(0.85f, 0.95f, star) * 0.5f);
            canvas.set(x, y, scaled(c, 0.85f + 0.3f * grain.fbm(u * 16, v * 16, 3)));
        }
    return canvas;
}

Canvas detailTexture(int size, uint32_t seed)
{
    Canvas canvas(size, size, 1);
    NoiseField grain{seed, 16, 16};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float n = grain.fbm(float(x) / float(size) * 16, float(y) / float(size) * 16, 3);
            canvas.pixel(x, y)[0] = 0.7f + 0.3f * n + 0.1f * (hash01(x, y, seed) - 0.5f);
        }
    return canvas;
}

Canvas skyPanorama(int width, int height, const SkyLook& look, int detail)
{
    Canvas canvas(width, height, 3);
    SkyLook wrapped = look;
    wrapped.wrapX = true;
    paintSky(canvas, wrapped, detail);
    // Everything below the last row is painted with the last row (the dome
    // clamps there), so the lowest rows fade to their average colour: a
    // uniform row cannot streak towards the dome's lowest point.
    for (int y = height * 9 / 10; y < height; ++y) {
        Rgb average{0, 0, 0};
        for (int x = 0; x < width; ++x) {
            Rgb c = canvas.rgb(x, y);
            average = {average.r + c.r / float(width), average.g + c.g / float(width), average.b + c.b / float(width)};
        }
        float t = smoothstep(0.9f, 0.98f, float(y) / float(height));
        for (int x = 0; x < width; ++x)
            canvas.set(x, y, mix(canvas.rgb(x, y), average, t));
    }
    return canvas;
}

} // namespace assetgen
