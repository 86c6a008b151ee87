#include "tools/assetgen/sky_painter.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/noise.h"

namespace assetgen {

Rgb gradientAt(const std::vector<GradientStop>& stops, float t)
{
    if (stops.empty())
        return {};
    if (t <= stops.front().at)
        return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].at) {
            float span = stops[i].at - stops[i - 1].at;
            float k = span > 0 ? (t - stops[i - 1].at) / span : 1.0f;
            return mix(stops[i - 1].colour, stops[i].colour, smoothstep(0, 1, k));
        }
    return stops.back().colour;
}

namespace {

void paintGradientAndSun(Canvas& canvas, const SkyLook& look)
{
    const float w = float(canvas.width()), h = float(canvas.height());
    const float sx = look.sunX * w, sy = look.sunY * h, radius = look.sunRadius * w;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            Rgb c = gradientAt(look.gradient, float(y) / (h - 1));
            float dx = (float(x) - sx) / w, dy = (float(y) - sy) / w;
            if (look.wrapX && std::fabs(dx) > 0.5f)
                dx = 1.0f - std::fabs(dx);
            float d = std::sqrt(dx * dx + dy * dy);
            float halo = look.haloStrength * (0.55f * std::exp(-d * 9.0f) + 0.45f * std::exp(-d * 3.0f));
            // A wide horizontal glow along the horizon line the sun sits on.
            float band = look.haloStrength * 0.35f * std::exp(-std::fabs(dy) * 14.0f) * std::exp(-std::fabs(dx) * 1.5f);
            c = {c.r + look.sunColour.r * (halo + band), c.g + look.sunColour.g * (halo + band) * 0.85f,
                 c.b + look.sunColour.b * (halo + band) * 0.6f};
            float disc = 1.0f - smoothstep(radius * 0.85f, radius * 1.05f, d * w);
            // The disc is brighter than its halo, whatever the halo already added.
            c = {c.r + disc * 1.2f, c.g + disc * 1.1f, c.b + disc * 0.95f};
            canvas.set(x, y, c);
        }
}

void paintStars(Canvas& canvas, const SkyLook& look, int detail)
{
    if (look.starDensity <= 0)
        return;
    Sequence random(991);
    const int width = canvas.width() / detail, height = canvas.height() / detail;
    int count = int(look.starDensity * float(width * height) / 1000.0f);
    // A star is one layout pixel with a cross of fainter ones.
    auto addPixel = [&](int x, int y, const Rgb& c) {
        for (int dy = 0; dy < detail; ++dy)
            for (int dx = 0; dx < detail; ++dx)
                canvas.add(x * detail + dx, y * detail + dy, c);
    };
    for (int i = 0; i < count; ++i) {
        int x = random.below(width), y = random.below(height);
        float fade = 1.0f - smoothstep(0.15f, 0.55f, float(y) / float(height));
        float b = random.range(0.2f, 1.0f) * fade;
        addPixel(x, y, {b * 0.9f, b * 0.9f, b});
        if (b > 0.75f) {  // the brightest get a small cross of light
            Rgb soft{b * 0.25f, b * 0.25f, b * 0.3f};
            addPixel(x + 1, y, soft);
            addPixel(x - 1, y, soft);
            addPixel(x, y + 1, soft);
            addPixel(x, y - 1, soft);
        }
    }
}

void paintClouds(Canvas& canvas, const SkyLook& look, const CloudLayer& layer)
{
    const float w = float(canvas.width()), h = float(canvas.height());
    NoiseField field{layer.seed, look.wrapX ? int(layer.scaleX) : 0, 0};
    const float sunX = look.sunX * w, sunY = look.sunY * h;
    for (int y = 0; y < canvas.height(); ++y) {
        float fy = float(y) / h;
        float inBand = smoothstep(layer.top, layer.top + 0.12f, fy) * (1.0f - smoothstep(layer.bottom - 0.12f, layer.bottom, fy));
        if (inBand <= 0)
            continue;
        for (int x = 0; x < canvas.width(); ++x) {
            float nx = float(x) / w * layer.scaleX, ny = fy * layer.scaleY;
            float n = field.fbm(nx, ny, 5, 0.48f);
            float threshold = 1.0f - layer.cover * 0.75f - 0.15f;
            float density = smoothstep(threshold, threshold + 0.18f, n) * inBand;
            if (density <= 0.002f)
                continue;
            // Light: sample the density a little towards the light; thinner
            // there means this side faces it. The light comes from well below
            // the sun so that the direction varies smoothly over the picture.
            float dx = sunX - float(x), dy = sunY + 1.5f * h - float(y);
            if (look.wrapX && std::fabs(dx) > w / 2)
                dx -= std::copysign(w, dx);
            float len = std::sqrt(dx * dx + dy * dy);
            float step = 0.015f;
            float towards = field.fbm(nx + dx / len * step * layer.scaleX, ny + dy / len * step * layer.scaleY, 5, 0.48f);
            float lit = clamp01(0.55f + (n - towards) * 6.0f);
            float sunDistance = std::hypot(dx, sunY - float(y));
            float sunNear = std::exp(-sunDistance / w * 2.5f);
            Rgb colour = mix(layer.shade, layer.lit, lit);
            colour = mix(colour, {1.0f, 0.92f, 0.75f}, sunNear * lit * 0.6f);
            canvas.blend(x, y, colour, density * layer.opacity);
        }
    }
}

} // namespace

void paintSky(Canvas& canvas, const SkyLook& look, int detail)
{
    paintGradientAndSun(canvas, look);
    paintStars(canvas, look, detail);
    for (const CloudLayer& layer : look.clouds)
        paintClouds(canvas, look, layer);
}

SkyLook dawnSky()
{
    SkyLook look;
    look.gradient = {{0.0f, fromHex(0x141a3c)}, {0.35f, fromHex(0x3a3568)}, {0.6f, fromHex(0x8a5a86)},
                     {0.8f, fromHex(0xe08c78)}, {1.0f, fromHex(0xf6c08a)}};
    look.sunX = 0.68f;
    look.sunY = 0.93f;
    look.sunRadius = 0.028f;
    look.haloStrength = 0.55f;
    look.starDensity = 0.4f;
    CloudLayer high{11, 0.12f, 0.5f, 2.2f, 10.0f, 0.35f, 0.55f, fromHex(0xf0a48c), fromHex(0x4a3a6a)};
    CloudLayer low{23, 0.62f, 1.05f, 3.0f, 7.0f, 0.55f, 0.9f, fromHex(0xffc9a0), fromHex(0x6a4a78)};
    look.clouds = {high, low};
    return look;
}

SkyLook sunriseSky()
{
    SkyLook look;
    look.gradient = {{0.0f, fromHex(0x2c4a8c)}, {0.4f, fromHex(0x6f8cc4)}, {0.7f, fromHex(0xe6a9a0)},
                     {0.88f, fromHex(0xffc58c)}, {1.0f, fromHex(0xffe0a8)}};
    look.sunX = 0.5f;
    look.sunY = 0.86f;
    look.sunRadius = 0.0f;  // still behind the cloud bank: only its glow shows
    look.haloStrength = 0.7f;
    CloudLayer high{5, 0.05f, 0.42f, 2.0f, 11.0f, 0.4f, 0.6f, fromHex(0xfff0e0), fromHex(0x8a90c0)};
    CloudLayer low{42, 0.68f, 1.05f, 3.5f, 8.0f, 0.6f, 0.95f, fromHex(0xffe2c0), fromHex(0xa07a9a)};
    look.clouds = {high, low};
    return look;
}

SkyLook nightSky()
{
    SkyLook look;
    look.gradient = {{0.0f, fromHex(0x05060f)}, {0.55f, fromHex(0x0e1230)}, {0.85f, fromHex(0x2a2448)},
                     {1.0f, fromHex(0x5a3a58)}};
    look.sunX = 0.5f;
    look.sunY = 1.25f;
    look.sunRadius = 0.0f;
    look.haloStrength = 0.35f;
    look.starDensity = 1.2f;
    return look;
}

SkyLook goldenSky()
{
    SkyLook look;
    look.gradient = {{0.0f, fromHex(0x1d2350)}, {0.3f, fromHex(0x4e3f7a)}, {0.6f, fromHex(0xc7708a)},
                     {0.82f, fromHex(0xf7a56a)}, {1.0f, fromHex(0xffd79a)}};
    look.sunX = 0.5f;
    look.sunY = 0.78f;
    look.sunRadius = 0.045f;
    look.haloStrength = 0.8f;
    look.starDensity = 0.25f;
    CloudLayer low{77, 0.7f, 1.05f, 2.6f, 7.5f, 0.6f, 0.92f, fromHex(0xffd2a0), fromHex(0x7a4a70)};
    CloudLayer wisps{78, 0.25f, 0.6f, 1.6f, 14.0f, 0.3f, 0.5f, fromHex(0xffb89a), fromHex(0x5a4478)};
    look.clouds = {low, wisps};
    return look;
}

SkyLook highSky()
{
    SkyLook look;
    look.gradient = {{0.0f, fromHex(0x0a1440)}, {0.35f, fromHex(0x1a3a8a)}, {0.62f, fromHex(0x3a5aa8)},
                     {0.78f, fromHex(0x6a78c0)}, {0.84f, fromHex(0xd898b0)}, {0.9f, fromHex(0x6a5aa0)},
                     {1.0f, fromHex(0x3a3a7a)}};
    look.sunX = 0.25f;
    look.sunY = 0.86f;
    look.sunRadius = 0.02f;
    look.haloStrength = 0.35f;
    look.starDensity = 0.15f;
    CloudLayer below{91, 0.84f, 1.05f, 4.0f, 9.0f, 0.55f, 0.8f, fromHex(0xd8b0c8), fromHex(0x3a3a78)};
    look.clouds = {below};
    return look;
}

} // namespace assetgen
