#include "tools/assetgen/icon.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tools/assetgen/canvas.h"
#include "tools/writers/picture_writer.h"
#include "tools/writers/replace_file.h"

namespace assetgen {

const std::vector<int> kIconSizes = {48, 128, 256};

namespace {

constexpr float kPi = 3.14159265f;

// Everything in icon units: the icon is 1 x 1, y down, centre (0.5, 0.5).
// The emblem's own units (its star's tips at 0.5, the halo at 0.62) are
// scaled so that the halo sits inside the disc.
constexpr float kDiscRadius = 0.48f;
constexpr float kEmblemScale = 0.40f / 0.62f;
constexpr float kHaloInner = 0.55f * kEmblemScale, kHaloOuter = 0.62f * kEmblemScale;
constexpr float kWindow = 0.17f * kEmblemScale, kBead = 0.12f * kEmblemScale;
constexpr float kRayTip = 0.5f * kEmblemScale, kRayRoot = 0.3f * kEmblemScale;
constexpr int kStarCorners = 24;

// The emblem's surface colours and the dusk of the show's frame.
const Rgb kDuskTop = fromHex(0x2a1c3a), kDuskBottom = fromHex(0xc8607a);
const Rgb kRays{1.0f, 0.8f, 0.45f}, kCore{1.0f, 0.95f, 0.8f}, kHalo{0.95f, 0.6f, 0.55f};

struct Point {
    float x, y;
};

std::vector<Point> starCorners()
{
    std::vector<Point> corners;
    for (int i = 0; i < kStarCorners; ++i) {
        // A tip points straight up.
        const float a = 2 * kPi * float(i) / kStarCorners - kPi / 2;
        const float r = i % 2 == 0 ? kRayTip : kRayRoot;
        corners.push_back({0.5f + r * std::cos(a), 0.5f + r * std::sin(a)});
    }
    return corners;
}

bool insidePolygon(const std::vector<Point>& corners, float x, float y)
{
    bool inside = false;
    for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const Point& a = corners[i];
        const Point& b = corners[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

float distanceFromCentre(float x, float y)
{
    return std::hypot(x - 0.5f, y - 0.5f);
}

// The colour and coverage (0 or 1) of the icon at one point, shapes laid
// over each other back to front.
bool iconAt(float x, float y, const std::vector<Point>& star, Rgb* colour)
{
    const float r = distanceFromCentre(x, y);
    if (r > kDiscRadius)
        return false;
    *colour = mix(kDuskTop, kDuskBottom, clamp01((y - 0.5f + kDiscRadius) / (2 * kDiscRadius)));
    if (r >= kHaloInner && r <= kHaloOuter)
        *colour = kHalo;
    if (r > kWindow && insidePolygon(star, x, y))
        *colour = kRays;
    if (r <= kBead)
        *colour = kCore;
    return true;
}

// 8 x 8 samples a pixel: straight-alpha RGBA.
std::vector<uint8_t> drawIcon(int size)
{
    constexpr int kSamples = 8;
    const std::vector<Point> star = starCorners();
    std::vector<uint8_t> pixels(size_t(size) * size * 4);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            Rgb sum;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    Rgb colour;
                    const float x = (float(px) + (float(sx) + 0.5f) / kSamples) / float(size);
                    const float y = (float(py) + (float(sy) + 0.5f) / kSamples) / float(size);
                    if (!iconAt(x, y, star, &colour))
                        continue;
                    sum = {sum.r + colour.r, sum.g + colour.g, sum.b + colour.b};
                    ++covered;
                }
            uint8_t* out = &pixels[(size_t(py) * size + px) * 4];
            if (covered) {
                const Rgb c = scaled(sum, 1.0f / float(covered));
                out[0] = uint8_t(std::lround(clamp01(c.r) * 255));
                out[1] = uint8_t(std::lround(clamp01(c.g) * 255));
                out[2] = uint8_t(std::lround(clamp01(c.b) * 255));
            }
            out[3] = uint8_t(std::lround(255.0f * float(covered) / (kSamples * kSamples)));
        }
    return pixels;
}

std::string hex(const Rgb& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", int(std::lround(clamp01(c.r) * 255)),
                  int(std::lround(clamp01(c.g) * 255)), int(std::lround(clamp01(c.b) * 255)));
    return text;
}

// A circle as a path, for shapes with holes (even-odd fill).
std::string circlePath(float r)
{
    char text[160];
    std::snprintf(text, sizeof text, "M%.4f,%.4fa%.4f,%.4f 0 1,0 %.4f,0a%.4f,%.4f 0 1,0 %.4f,0z", 128 - r * 256,
                  128.0, r * 256, r * 256, r * 512, r * 256, r * 256, -r * 512);
    return text;
}

// The same shapes on a 256 x 256 canvas.
std::string iconSvg()
{
    std::string star = "M";
    for (const Point& p : starCorners()) {
        char corner[40];
        std::snprintf(corner, sizeof corner, "%.4f,%.4f ", p.x * 256, p.y * 256);
        star += corner;
    }
    star += "z";
    char disc[400];
    std::snprintf(disc, sizeof disc,
                  "<defs><linearGradient id=\"dusk\" x1=\"0\" y1=\"%.4f\" x2=\"0\" y2=\"%.4f\" "
                  "gradientUnits=\"userSpaceOnUse\"><stop offset=\"0\" stop-color=\"%s\"/>"
                  "<stop offset=\"1\" stop-color=\"%s\"/></linearGradient></defs>\n"
                  "<circle cx=\"128\" cy=\"128\" r=\"%.4f\" fill=\"url(#dusk)\"/>\n",
                  (0.5f - kDiscRadius) * 256, (0.5f + kDiscRadius) * 256, hex(kDuskTop).c_str(),
                  hex(kDuskBottom).c_str(), kDiscRadius * 256);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
           "<title>Sky Drift</title>\n" +
           std::string(disc) + "<path fill=\"" + hex(kHalo) + "\" fill-rule=\"evenodd\" d=\"" +
           circlePath(kHaloOuter) + circlePath(kHaloInner) + "\"/>\n" + "<path fill=\"" + hex(kRays) +
           "\" fill-rule=\"evenodd\" d=\"" + star + circlePath(kWindow) + "\"/>\n" + "<path fill=\"" + hex(kCore) +
           "\" d=\"" + circlePath(kBead) + "\"/>\n</svg>\n";
}

} // namespace

void writeIcons(const std::string& folder, const std::string& name)
{
    namespace fs = std::filesystem;
    for (int size : kIconSizes) {
        const std::string size2 = std::to_string(size) + "x" + std::to_string(size);
        const fs::path dir = fs::path(folder) / "hicolor" / size2 / "apps";
        fs::create_directories(dir);
        const std::vector<uint8_t> pixels = drawIcon(size);
        writers::replaceFile((dir / (name + ".png")).string(), [&](const std::string& temporary) {
            if (!writers::writePng(temporary, pixels.data(), uint32_t(size), uint32_t(size), 4))
                throw std::runtime_error("cannot write " + temporary);
        });
    }
    const fs::path dir = fs::path(folder) / "hicolor" / "scalable" / "apps";
    fs::create_directories(dir);
    const std::string svg = iconSvg();
    writers::replaceFile((dir / (name + ".svg")).string(), [&](const std::string& temporary) {
        std::ofstream out(temporary, std::ios::binary);
        out << svg;
        if (!out.flush())
            throw std::runtime_error("cannot write " + temporary);
    });
}

} // namespace assetgen
