#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <png.h>

#include "tests/support/run_program.h"

namespace {

const std::string kIcons = SKYDRIFT_ICONS;
const std::string kName = "io.github.skydrift.SkyDrift";

struct Rgba {
    int r, g, b, a;
};

struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> pixels;  // RGBA, top row first
};

// Through libpng's own reader, as a desktop reads the icon.
bool readPng(const std::string& path, Picture* picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    picture->width = image.width;
    picture->height = image.height;
    picture->pixels.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture->pixels.data(), 0, nullptr) != 0;
}

Rgba at(const Picture& image, float x, float y)
{
    const size_t px = size_t(x * float(image.width)), py = size_t(y * float(image.height));
    const uint8_t* p = &image.pixels[(py * image.width + px) * 4];
    return {p[0], p[1], p[2], p[3]};
}

// The emblem's surfaces as the show's object gives them (0..1).
struct Colour {
    float r, g, b;
};
constexpr Colour kCore{1.0f, 0.95f, 0.8f}, kRays{1.0f, 0.8f, 0.45f}, kHalo{0.95f, 0.6f, 0.55f};

bool near(const Rgba& seen, const Colour& expected)
{
    return seen.a == 255 && std::abs(seen.r - int(expected.r * 255)) <= 2 &&
           std::abs(seen.g - int(expected.g * 255)) <= 2 && std::abs(seen.b - int(expected.b * 255)) <= 2;
}

} // namespace

TEST(Icon, EverySizeShowsTheSunEmblemOnATransparentGround)
{
    // Places as fractions of the icon: the emblem is centred, its halo a
    // ring of 0.355 to 0.40, its rays reaching 0.32 with a tip straight up.
    const struct {
        const char* what;
        float x, y;
        Colour colour;
    } places[] = {
        {"the bead in the middle", 0.5f, 0.5f, kCore},
        {"the ray pointing up", 0.5f, 0.5f - 0.25f, kRays},
        {"the ray pointing right", 0.5f + 0.25f, 0.5f, kRays},
        {"the halo above", 0.5f, 0.5f - 0.378f, kHalo},
        {"the halo below", 0.5f, 0.5f + 0.378f, kHalo},
    };
    for (int size : {48, 128, 256}) {
        const std::string side = std::to_string(size);
        const std::string path = kIcons + "/hicolor/" + side + "x" + side + "/apps/" + kName + ".png";
        Picture image;
        ASSERT_TRUE(readPng(path, &image)) << path;
        EXPECT_EQ(image.width, uint32_t(size)) << path;
        EXPECT_EQ(image.height, uint32_t(size)) << path;
        for (const auto& place : places) {
            const Rgba seen = at(image, place.x, place.y);
            EXPECT_TRUE(near(seen, place.colour))
                << side << " px, " << place.what << ": " << seen.r << "," << seen.g << "," << seen.b << "," << seen.a;
        }
        // Between two rays, inside the halo: the dusk ground, none of the emblem's colours.
        const float between = 0.5f + 0.29f * std::sin(3.14159265f / 12);
        const Rgba ground = at(image, between, 0.5f - 0.29f * std::cos(3.14159265f / 12));
        EXPECT_EQ(ground.a, 255) << side;
        EXPECT_FALSE(near(ground, kRays) || near(ground, kHalo)) << side;
        for (float corner : {0.01f, 0.99f})
            EXPECT_EQ(at(image, corner, corner).a, 0) << side << " px corner " << corner;
    }
}

TEST(Icon, TheScalableIconHoldsTheSameShapes)
{
    const std::string svg = readWholeFile(kIcons + "/hicolor/scalable/apps/" + kName + ".svg");
    ASSERT_FALSE(svg.empty());
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 256 256\""), std::string::npos);
    // The emblem's three colours, as #rrggbb.
    for (const char* colour : {"#fff2cc", "#ffcc73", "#f2998c"})
        EXPECT_NE(svg.find(std::string("fill=\"") + colour + "\""), std::string::npos) << colour;
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
}
