// hlvtool render draws a LightWave scene's surfaces as LightWave shows them:
// double-sided ones from behind, transparent ones over what lies behind
// them whatever the order of the objects, vertex colours, +X on the right
// of a camera looking along +Z.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/image_file.h"
#include "tests/support/run_program.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tools/writers/lwo2_writer.h"
#include "tools/writers/picture_writer.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

struct Sheet {
    const char* file;
    float z;                     // the item's distance in front of the camera
    float colour[3];
    bool facingCamera = true;    // clockwise seen from the camera, LightWave's front
    uint16_t sides = 1;          // 3 for both
    float transparency = 0;
    std::vector<std::vector<float>> cornerColours{};  // an RGB map, one per corner
    // A colour layer of the picture "decal.png" (red), UV-mapped so that the
    // picture covers the middle half of the square.
    std::vector<writers::Lwo2ImageBlock> layers = {};
};

// A square of side 6 about its item's origin, in the item's z = 0 plane.
void writeSheet(const std::string& folder, const Sheet& sheet)
{
    writers::Lwo2Surface surface;
    surface.name = "Sheet";
    std::copy(sheet.colour, sheet.colour + 3, surface.colour);
    surface.sides = sheet.sides;
    surface.transparency = sheet.transparency;
    writers::Lwo2Writer w;
    w.tags({surface.name}).points({{-3, -3, 0}, {-3, 3, 0}, {3, 3, 0}, {3, -3, 0}});
    if (!sheet.cornerColours.empty()) {
        std::vector<writers::Lwo2MapEntry> entries;
        for (uint32_t i = 0; i < 4; ++i)
            entries.push_back({i, 0, sheet.cornerColours[i]});
        w.vertexMap("RGB ", 3, "Paint", entries);
        surface.vertexColourMap = "Paint";
        surface.vertexColourType = "RGB ";
    }
    if (!sheet.layers.empty()) {
        w.clip(1, "decal.png");
        w.vertexMap("TXUV", 2, "uv", {{0, 0, {-0.5f, -0.5f}}, {1, 0, {-0.5f, 1.5f}}, {2, 0, {1.5f, 1.5f}}, {3, 0, {1.5f, -0.5f}}});
        surface.blocks = sheet.layers;
        const std::vector<uint8_t> red = [] {
            std::vector<uint8_t> pixels;
            for (int i = 0; i < 16 * 16; ++i)
                pixels.insert(pixels.end(), {255, 0, 0});
            return pixels;
        }();
        ASSERT_TRUE(writers::writePng(folder + "/decal.png", red.data(), 16, 16));
    }
    w.polygons({sheet.facingCamera ? std::vector<uint32_t>{0, 1, 2, 3} : std::vector<uint32_t>{3, 2, 1, 0}});
    ASSERT_TRUE(w.surfaceTags({{0, 0}}).surface(surface).save(folder + "/" + sheet.file));
}

// The sheets in loading order before a camera at the origin looking along
// +Z over a black backdrop; the frame at 0 s.
ImageRGB renderedScene(const std::string& folder, const std::vector<Sheet>& sheets)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string text = "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n\n";
    for (const Sheet& sheet : sheets) {
        writeSheet(folder, sheet);
        text += "LoadObjectLayer 1 " + std::string(sheet.file) + "\nObjectMotion\n" + placedMotion(0, 0, sheet.z) + "\n";
    }
    text += "AddCamera\nCameraMotion\n" + placedMotion(0, 0, 0, 6) + "ZoomFactor 3.2\n\nBackdropColor 0 0 0\n";
    std::ofstream(folder + "/scene.lws") << text;
    const ProgramRun run = runInFolder(folder, kTool + " render scene.lws --out frame.png");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ImageRGB image;
    EXPECT_TRUE(loadImageRGB((folder + "/frame.png").c_str(), image));
    return image;
}

struct Expected {
    uint32_t x, y;
    int rgb[3];
};

struct Case {
    const char* name;
    std::vector<Sheet> sheets;
    std::vector<Expected> pixels;
};

const Sheet kRedBehind{"red.lwo", 20, {1, 0, 0}};

} // namespace

TEST(HlvtoolSceneSurfaces, SidesTransparencyAndVertexColoursAsLightWaveShowsThem)
{
    const std::vector<Case> cases = {
        {"one-sided, seen from behind", {{"sheet.lwo", 10, {1, 0, 0}, false}}, {{400, 300, {0, 0, 0}}}},
        {"double-sided, seen from behind", {{"sheet.lwo", 10, {1, 0, 0}, false, 3}}, {{400, 300, {255, 0, 0}}}},
        // The transparent sheet is loaded first: it must still be drawn after
        // the red one behind it, and blend with it.
        {"half transparent over red", {{"glass.lwo", 10, {0, 0, 1}, true, 1, 0.5f}, kRedBehind},
         {{400, 300, {128, 0, 128}}}},
        {"red seen through nothing", {kRedBehind}, {{400, 300, {255, 0, 0}}}},
        // Red corners on LightWave's -X (the left), green on +X (the right).
        {"vertex colours",
         {{"paint.lwo", 10, {1, 1, 1}, true, 1, 0, {{1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}}}},
         {{130, 300, {247, 8, 0}}, {670, 300, {8, 247, 0}}, {400, 300, {128, 128, 0}}}},
    };
    for (const Case& test : cases) {
        const ImageRGB frame = renderedScene((fs::current_path() / "hlvtool_scene_surfaces").string(), test.sheets);
        ASSERT_EQ(frame.width, 800u) << test.name;
        for (const Expected& at : test.pixels) {
            const uint8_t* p = &frame.pixels[3 * (size_t(at.y) * frame.width + at.x)];
            for (int c = 0; c < 3; ++c)
                EXPECT_LE(std::abs(p[c] - at.rgb[c]), 12)
                    << test.name << " at (" << at.x << ", " << at.y << ") channel " << c << ": " << int(p[c]);
        }
    }
    fs::remove_all(fs::current_path() / "hlvtool_scene_surfaces");
}

namespace {

writers::Lwo2ImageBlock decal(writers::Lwo2ImageBlock layer, uint16_t wrap, float opacity, bool negative)
{
    layer.widthWrap = layer.heightWrap = wrap;
    layer.opacity = opacity;
    layer.negative = negative;
    return layer;
}

// Which channels are lit: "r", "b", "rb", "gb", ... ("" for dark).
std::string channelsLit(const uint8_t* p)
{
    const int high = std::max({p[0], p[1], p[2]});
    std::string lit;
    for (int c = 0; c < 3; ++c)
        if (high >= 40 && p[c] > high / 2)
            lit += "rgb"[c];
    return lit;
}

} // namespace

// A red picture on a blue surface, UV-mapped over the middle half of a
// square: LightWave draws it once where the layer does not repeat, the
// surface's blue around it; a half-opaque layer over the blue, a negative
// one inverted. The scene draws it as the object view does.
TEST(HlvtoolSceneSurfaces, PictureLayersWrapOpacityAndNegativeAsInTheObjectView)
{
    const writers::Lwo2ImageBlock uv = writers::uvMappedBlock("uv", 1);
    const struct {
        const char* name;
        writers::Lwo2ImageBlock layer;
        int middle[3], outside[3];
    } cases[] = {
        {"once, reset", decal(uv, 0, 1, false), {255, 0, 0}, {0, 0, 255}},
        {"repeated", decal(uv, 1, 1, false), {255, 0, 0}, {255, 0, 0}},
        {"mirrored", decal(uv, 2, 1, false), {255, 0, 0}, {255, 0, 0}},
        {"edge stretched", decal(uv, 3, 1, false), {255, 0, 0}, {255, 0, 0}},
        {"half opaque, once", decal(uv, 0, 0.5f, false), {128, 0, 128}, {0, 0, 255}},
        {"negative, once", decal(uv, 0, 1, true), {0, 255, 255}, {0, 0, 255}},
    };
    const std::string folder = (fs::current_path() / "hlvtool_scene_decal").string();
    for (const auto& c : cases) {
        // Seen from both sides: the object view and the scene's camera look
        // at it from opposite sides.
        Sheet sheet{"sheet.lwo", 10, {0, 0, 1}, true, 3, 0, {}, {}};
        sheet.layers = {c.layer};
        const ImageRGB frame = renderedScene(folder, {sheet});
        ASSERT_EQ(frame.width, 800u) << c.name;
        // The middle of the square, and a point of the square above the
        // picture's top edge.
        const struct {
            uint32_t x, y;
            const int* rgb;
        } points[] = {{400, 300, c.middle}, {400, 30, c.outside}};
        for (const auto& at : points) {
            const uint8_t* p = &frame.pixels[3 * (size_t(at.y) * frame.width + at.x)];
            for (int k = 0; k < 3; ++k)
                EXPECT_LE(std::abs(p[k] - at.rgb[k]), 12)
                    << c.name << " at (" << at.x << ", " << at.y << ") channel " << k << ": " << int(p[k]);
        }
        // The object view shows the middle in the same colour, lit.
        const ProgramRun object = runInFolder(folder, kTool + " render sheet.lwo --out object.png");
        ASSERT_EQ(object.exitCode, 0) << object.errors;
        ImageRGB view;
        ASSERT_TRUE(loadImageRGB((folder + "/object.png").c_str(), view));
        const uint8_t* middle = &frame.pixels[3 * (300 * size_t(frame.width) + 400)];
        EXPECT_EQ(channelsLit(&view.pixels[3 * (300 * size_t(view.width) + 400)]), channelsLit(middle)) << c.name;
    }
    fs::remove_all(folder);
}
