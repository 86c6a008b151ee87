// The pictures used as alpha or stencil shapes, all with power-of-two sides
// because the alpha loaders upload them unscaled (times the pack's detail,
// itself a power of two; shapes are placed in layout pixels): the balloon
// figure and its alpha, the greetings text, the three light strips and the
// city skyline.
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
    const int d = pack.detail();
    const int w = 256 * d, h = 512 * d, cx = 128;
    Canvas colour(w, h, 3), alpha(w, h, 1);
    const Rgb gores[4] = {fromHex(0xf0705a), fromHex(0xffc560), fromHex(0xfff0d8), fromHex(0x8a5aa8)};
    for (int y = 0; y < h; ++y) {
        const float ly = layoutAt(y, d);
        float r = envelopeRadius(ly + 0.5f);
        if (r <= 0)
            continue;
        for (int x = 0; x < w; ++x) {
            float dx = layoutAt(x, d) + 0.5f - cx;
            // Coverage across one picture pixel, in picture pixels.
            float coverage = clamp01((r - std::fabs(dx)) * float(d) + 0.5f);
            if (coverage <= 0)
                continue;
            float nx = std::clamp(dx / r, -1.0f, 1.0f);
            float longitude = std::asin(nx);  // -pi/2 .. pi/2 across the visible half
            float gore = (longitude + kPi / 2) / (kPi / 10);
            int index = int(gore) % 4;
            float seam = std::fabs(gore - std::floor(gore) - 0.5f) * 2;  // 1 at a seam
            float nz = std::sqrt(std::max(0.0f, 1 - nx * nx));
            float ny = (ly - 165) / 200.0f;
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
    auto line = [&](float x0, float y0, float x1, float y1, float width, const Rgb& c) {
        const float k = float(d);
        drawLine(colour, alpha, x0 * k, y0 * k, x1 * k, y1 * k, width * k, c);
    };
    line(cx - 19, 338, cx - 16, 384, 1.6f, rope);
    line(cx + 19, 338, cx + 16, 384, 1.6f, rope);
    line(cx - 8, 340, cx - 6, 384, 1.2f, rope);
    line(cx + 8, 340, cx + 6, 384, 1.2f, rope);
    for (int y = 384 * d; y < 414 * d; ++y)
        for (int x = (cx - 18) * d; x < (cx + 18) * d; ++x) {
            const float lx = layoutAt(x, d), ly = layoutAt(y, d);
            float weave = 0.75f + 0.25f * std::sin(lx * 1.4f) * std::sin(ly * 1.1f);
            float side = 0.7f + 0.3f * (lx - float(cx - 18)) / 36.0f;
            colour.set(x, y, scaled(fromHex(0xa0703c), weave * side));
            alpha.pixel(x, y)[0] = 1;
        }
    line(cx - 19, 384, cx + 19, 384, 2.5f, fromHex(0x6a4428));
    // The burner's glow in the neck.
    for (int y = 330 * d; y < 350 * d; ++y)
        for (int x = (cx - 14) * d; x < (cx + 14) * d; ++x) {
            float glow = std::hypot(layoutAt(x, d) - float(cx), layoutAt(y, d) - 342.0f) / 12.0f;
            colour.add(x, y, scaled(fromHex(0xffb040), std::max(0.0f, 1 - glow) * 0.8f));
        }
    saveJpeg(pack, "demo\\pupic.jpg", colour, 92);
    saveJpeg(pack, "demo\\pupic_a.jpg", alpha, 95);
}

// Light text on black, drawn at its pixel size from (-0.25, -0.75): the
// picture is 512 x 256 and the text keeps inside its left 480 columns.
void makeGreetings(const PackFolder& pack)
{
    const int d = pack.detail();
    Canvas mask(512 * d, 256 * d, 1);
    Typesetter type;
    TextStyle heading{Face::SerifBold, 38, 3.0f};
    type.draw(mask, "greetings", atDetail(heading, d), 16 * d, 56 * d);
    const char* lines[] = {
        "to every demo maker who ever chased a sunrise,",
        "to the coders, painters and musicians of the scene,",
        "to the organisers who keep the lights on all night,",
        "and to you, watching: thank you for drifting with us.",
    };
    int baseline = 104;
    for (const char* line : lines) {
        // The size is chosen at layout size, so that every set shows the same lines.
        TextStyle body{Face::Sans, 17, 0.3f};
        while (type.measure(line, body) > 470 && body.pixelSize > 10)
            --body.pixelSize;
        type.draw(mask, line, atDetail(body, d), 18 * d, baseline * d);
        baseline += 34;
    }
    saveJpeg(pack, "demo\\greetings.jpg", mask, 95);
}

// A vertical strip of rising light: a soft core with brighter dashes that
// tile from the bottom row to the top row, so the scrolling repeats cleanly.
void makeStrip(const PackFolder& pack, const char* name, int w, int h, uint32_t seed, float dashes)
{
    const int d = pack.detail();
    Canvas strip(w * d, h * d, 1);
    NoiseField pulses{seed, 0, int(dashes)};
    NoiseField sparkle{seed + 17, 0, int(dashes * 4)};
    for (int y = 0; y < strip.height(); ++y) {
        float v = layoutAt(y, d) / float(h) * dashes;
        float pulse = smoothstep(0.45f, 0.8f, pulses.fbm(0.5f, v, 3));
        float glint = smoothstep(0.7f, 0.95f, sparkle.value(0.5f, v * 4));
        for (int x = 0; x < strip.width(); ++x) {
            float across = (float(x) + 0.5f) / float(strip.width()) * 2 - 1;
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
    const int d = pack.detail();
    const int w = 1024, h = 256;  // layout pixels: the buildings are placed in these
    Canvas stencil(w * d, h * d, 1);
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
        for (int x = std::max(b.left, 0) * d; x < std::min(b.right, w) * d; ++x) {
            const float fromCentre = std::fabs(layoutAt(x, d) - float(centre));
            float top = float(b.height);
            float offset = fromCentre / float(half + 1);
            if (b.roof == Building::Roof::Dome)
                top += float(half) * 0.7f * std::sqrt(std::max(0.0f, 1 - offset * offset));
            else if (b.roof == Building::Roof::Spire && fromCentre <= 2.25f)
                top += 46;
            else if (b.roof == Building::Roof::Stepped && offset < 0.5f)
                top += 14;
            // Coverage of each picture pixel under the roof line, in picture pixels.
            for (int y = 0; y < stencil.height(); ++y) {
                float rowFromBottom = float(stencil.height() - y);
                float coverage = clamp01(top * float(d) - rowFromBottom + 1);
                float* p = stencil.pixel(x, y);
                p[0] = std::max(p[0], coverage);
            }
        }
        // Windows: small holes in rows, only in the upper floors.
        for (int row = h - b.height + 12; row < h - 30; row += 14)
            for (int x = b.left + 6; x + 4 < b.right - 4; x += 10)
                if (random.next() < 0.18f && x >= 0 && x + 4 < w)
                    for (int y = row * d; y < (row + 6) * d; ++y)
                        for (int k = 0; k < 4 * d; ++k)
                            stencil.pixel(x * d + k, y)[0] = 0;
    }
    // Everything either shows or does not: the stencil test keeps alpha above half, and a hard edge keeps its place when filtered.
    for (int y = 0; y < stencil.height(); ++y)
        for (int x = 0; x < stencil.width(); ++x)
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
