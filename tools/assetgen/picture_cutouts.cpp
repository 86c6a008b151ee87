// The pictures used as alpha or stencil shapes, all with power-of-two sides
// because the alpha loaders upload them unscaled: the balloon figure and its
// alpha, the greetings text, the three light strips and the city skyline.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/typesetter.h"
#include "tools/assetgen/picture_files.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

// Anti-aliased line of the given width into colour and coverage.
void drawLine(Canvas& colour, Canvas& alpha, float x0, float y0, float x1, float y1, float width, const Rgb& c)
{
    int minX = int(std::floor(std::min(x0, x1) - width)), maxX = int(std::ceil(std::max(x0, x1) + width));
    int minY = int(std::floor(std::min(y0, y1) - width)), maxY = int(std::ceil(std::max(y0, y1) + width));
    float dx = x1 - x0, dy = y1 - y0, lengthSq = dx * dx + dy * dy;
    for (int y = std::max(minY, 0); y <= std::min(maxY, colour.height() - 1); ++y)
        for (int x = std::max(minX, 0); x <= std::min(maxX, colour.width() - 1); ++x) {
            float px = float(x) + 0.5f - x0, py = float(y) + 0.5f - y0;
            float t = std::clamp((px * dx + py * dy) / lengthSq, 0.0f, 1.0f);
            float ex = px - t * dx, ey = py - t * dy;
            float coverage = clamp01(width * 0.5f + 0.5f - std::sqrt(ex * ex + ey * ey));
            colour.blend(x, y, c, coverage);
            float* a = alpha.pixel(x, y);
            a[0] = std::max(a[0], coverage);
        }
}

// Radius of the balloon's envelope at row y, 0 outside it.
float envelopeRadius(float y)
{
    const float centreY = 165, radius = 112, neckY = 340, neck = 20;
    if (y < centreY - radius)
        return 0;
    if (y <= centreY)
        return std::sqrt(std::max(0.0f, radius * radius - (centreY - y) * (centreY - y)));
    if (y > neckY)
        return 0;
    float u = (y - centreY) / (neckY - centreY);
    return neck + (radius - neck) * std::pow(std::cos(u * kPi / 2), 1.25f);
}

// A hot-air balloon drifting at dawn: striped envelope lit from the upper
// right, ropes and a wicker basket; the alpha picture cuts it out.
void makeBalloon(const PackFolder& pack)
{
    const int w = 256, h = 512, cx = 128;
    Canvas colour(w, h, 3), alpha(w, h, 1);
    const Rgb gores[4] = {fromHex(0xf0705a), fromHex(0xffc560), fromHex(0xfff0d8), fromHex(0x8a5aa8)};
    for (int y = 0; y < h; ++y) {
        float r = envelopeRadius(float(y) + 0.5f);
        if (r <= 0)
            continue;
        for (int x = 0; x < w; ++x) {
            float dx = float(x) + 0.5f - cx;
            float coverage = clamp01(r - std::fabs(dx) + 0.5f);
            if (coverage <= 0)
                continue;
            float nx = std::clamp(dx / r, -1.0f, 1.0f);
            float longitude = std::asin(nx);  // -pi/2 .. pi/2 across the visible half
            float gore = (longitude + kPi / 2) / (kPi / 10);
            int index = int(gore) % 4;
            float seam = std::fabs(gore - std::floor(gore) - 0.5f) * 2;  // 1 at a seam
            float nz = std::sqrt(std::max(0.0f, 1 - nx * nx));
            float ny = (float(y) - 165) / 200.0f;
            float light = std::max(0.0f, 0.55f * nx + 0.55f * nz - 0.35f * ny);
            float shade = 0.32f + 0.75f * light;
            Rgb c = scaled(gores[index], shade);
            c = mix(c, scaled(c, 0.55f), smoothstep(0.85f, 1.0f, seam));
            float rim = std::pow(1 - nz, 3.0f) * std::max(0.0f, nx);
            c = {c.r + rim * 0.9f, c.g + rim * 0.6f, c.b + rim * 0.35f};
            colour.blend(x, y, c, coverage);
            alpha.pixel(x, y)[0] = std::max(alpha.value(x, y), coverage);
        }
    }
    // Ropes from the neck to the basket, then the basket itself.
    const Rgb rope = fromHex(0x5a4038);
    drawLine(colour, alpha, cx - 19, 338, cx - 16, 384, 1.6f, rope);
    drawLine(colour, alpha, cx + 19, 338, cx + 16, 384, 1.6f, rope);
    drawLine(colour, alpha, cx - 8, 340, cx - 6, 384, 1.2f, rope);
    drawLine(colour, alpha, cx + 8, 340, cx + 6, 384, 1.2f, rope);
    for (int y = 384; y < 414; ++y)
        for (int x = cx - 18; x < cx + 18; ++x) {
            float weave = 0.75f + 0.25f * std::sin(float(x) * 1.4f) * std::sin(float(y) * 1.1f);
            float side = 0.7f + 0.3f * float(x - (cx - 18)) / 36.0f;
            colour.set(x, y, scaled(fromHex(0xa0703c), weave * side));
            alpha.pixel(x, y)[0] = 1;
        }
    drawLine(colour, alpha, cx - 19, 384, cx + 19, 384, 2.5f, fromHex(0x6a4428));
    // The burner's glow in the neck.
    for (int y = 330; y < 350; ++y)
        for (int x = cx - 14; x < cx + 14; ++x) {
            float d = std::hypot(float(x - cx), float(y - 342)) / 12.0f;
            colour.add(x, y, scaled(fromHex(0xffb040), std::max(0.0f, 1 - d) * 0.8f));
        }
    saveJpeg(pack, "demo\\pupic.jpg", colour, 92);
    saveJpeg(pack, "demo\\pupic_a.jpg", alpha, 95);
}

// Light text on black, drawn at its pixel size from (-0.25, -0.75): the
// picture is 512 x 256 and the text keeps inside its left 480 columns.
void makeGreetings(const PackFolder& pack)
{
    Canvas mask(512, 256, 1);
    Typesetter type;
    TextStyle heading{Face::SerifBold, 38, 3.0f};
    type.draw(mask, "greetings", heading, 16, 56);
    const char* lines[] = {
        "to every demo maker who ever chased a sunrise,",
        "to the coders, painters and musicians of the scene,",
        "to the organisers who keep the lights on all night,",
        "and to you, watching: thank you for drifting with us.",
    };
    int baseline = 104;
    for (const char* line : lines) {
        TextStyle body{Face::Sans, 17, 0.3f};
        while (type.measure(line, body) > 470 && body.pixelSize > 10)
            --body.pixelSize;
        type.draw(mask, line, body, 18, baseline);
        baseline += 34;
    }
    saveJpeg(pack, "demo\\greetings.jpg", mask, 95);
}

// A vertical strip of rising light: a soft core with brighter dashes that
// tile from the bottom row to the top row, so the scrolling repeats cleanly.
void makeStrip(const PackFolder& pack, const char* name, int w, int h, uint32_t seed, float dashes)
{
    Canvas strip(w, h, 1);
    NoiseField pulses{seed, 0, int(dashes)};
    NoiseField sparkle{seed + 17, 0, int(dashes * 4)};
    for (int y = 0; y < h; ++y) {
        float v = float(y) / float(h) * dashes;
        float pulse = smoothstep(0.45f, 0.8f, pulses.fbm(0.5f, v, 3));
        float glint = smoothstep(0.7f, 0.95f, sparkle.value(0.5f, v * 4));
        for (int x = 0; x < w; ++x) {
            float across = (float(x) + 0.5f) / float(w) * 2 - 1;
            float core = std::exp(-across * across * 10.0f);
            float halo = std::exp(-across * across * 2.5f);
            float value = core * (0.25f + 0.75f * pulse) + halo * 0.18f + core * glint * 0.6f;
            strip.pixel(x, y)[0] = clamp01(value * smoothstep(1.0f, 0.8f, std::fabs(across)));
        }
    }
    savePng(pack, name, strip);
}

// Building outline at column x: height of the roof (rows from the bottom).
struct Building {
    int left, right, height;
    enum class Roof { Flat, Dome, Spire, Stepped } roof;
};

// The skyline that rises over the landscape section: solid buildings (alpha
// 255) against an empty sky (alpha 0), with a few lit windows cut out so the
// view behind shows through them. 1024 x 256; the screen shows the left 800.
void makeSkyline(const PackFolder& pack)
{
    const int w = 1024, h = 256;
    Canvas stencil(w, h, 1);
    Sequence random(2001);
    std::vector<Building> buildings;
    for (int x = -10; x < w;) {
        int width = 28 + random.below(60);
        int height = 50 + random.below(120);
        auto roof = Building::Roof(random.below(4));
        if (x > 300 && x < 380)
            height = 200, roof = Building::Roof::Spire;  // one tower marks the city
        buildings.push_back({x, x + width, height, roof});
        x += width - random.below(12);
    }
    for (const Building& b : buildings) {
        int centre = (b.left + b.right) / 2, half = (b.right - b.left) / 2;
        for (int x = std::max(b.left, 0); x < std::min(b.right, w); ++x) {
            float top = float(b.height);
            float offset = float(std::abs(x - centre)) / float(half + 1);
            if (b.roof == Building::Roof::Dome)
                top += float(half) * 0.7f * std::sqrt(std::max(0.0f, 1 - offset * offset));
            else if (b.roof == Building::Roof::Spire && std::abs(x - centre) <= 2)
                top += 46;
            else if (b.roof == Building::Roof::Stepped && offset < 0.5f)
                top += 14;
            for (int y = 0; y < h; ++y) {
                float rowFromBottom = float(h - y);
                float coverage = clamp01(top - rowFromBottom + 1);
                float* p = stencil.pixel(x, y);
                p[0] = std::max(p[0], coverage);
            }
        }
        // Windows: small holes in rows, only in the upper floors.
        for (int row = h - b.height + 12; row < h - 30; row += 14)
            for (int x = b.left + 6; x + 4 < b.right - 4; x += 10)
                if (random.next() < 0.18f && x >= 0 && x + 4 < w)
                    for (int y = row; y < row + 6; ++y)
                        for (int k = 0; k < 4; ++k)
                            stencil.pixel(x + k, y)[0] = 0;
    }
    // Everything either shows or does not: the stencil test keeps any alpha above 0.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            stencil.pixel(x, y)[0] = stencil.value(x, y) >= 0.5f ? 1.0f : 0.0f;
    savePng(pack, "demo\\cite-alpha.png", stencil);
}

} // namespace

void addCutoutSteps(std::vector<AssetStep>& steps)
{
    steps.push_back({"balloon figure and alpha", makeBalloon});
    steps.push_back({"greetings", makeGreetings});
    steps.push_back({"light strips", [](const PackFolder& pack) {
                         makeStrip(pack, "demo\\fil1.png", 32, 256, 101, 4);
                         makeStrip(pack, "demo\\fil2.png", 32, 512, 202, 6);
                         makeStrip(pack, "demo\\fil3.png", 16, 256, 303, 3);
                     }});
    steps.push_back({"city skyline", makeSkyline});
}

} // namespace assetgen
