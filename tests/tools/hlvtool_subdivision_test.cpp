// hlvtool draws, describes and exports SubPatch objects subdivided: a
// subdivided cube is drawn round, `info` tells cage and subdivided counts,
// and the export carries the level a scene's item or --subdivide gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "render/image_file.h"
#include "tests/import/subpatch_cage.h"
#include "tests/support/run_program.h"
#include "tests/tools/hlvtool_folder.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tests/tools/json_number.h"

namespace fs = std::filesystem;

namespace {

struct SubdivisionFolder : HlvtoolFolder {
    SubdivisionFolder() : HlvtoolFolder("hlvtool_subdivision_")
    {
        for (const char* type : {"SUBD", "FACE"})
            subPatchObject(kCubePoints, kCubeFaces, type).save(path + "/" + type + ".lwo");
    }
};

// How much of the box around what is drawn (anything brighter than the
// backdrop) is filled: near 1 for a box seen from the front, pi/4 for a disc.
double filledShareOfOutline(const ImageRGB& image)
{
    uint32_t left = image.width, right = 0, top = image.height, bottom = 0;
    size_t drawn = 0;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = &image.pixels[3 * (size_t(y) * image.width + x)];
            if (p[0] + p[1] + p[2] < 3 * 70)
                continue;
            ++drawn;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (drawn == 0)
        return 0;
    return double(drawn) / (double(right - left + 1) * double(bottom - top + 1));
}

// The triangles of every primitive of an exported .gltf.
size_t exportedTriangles(const std::string& gltfPath)
{
    const nlohmann::json document = nlohmann::json::parse(readWholeFile(gltfPath));
    size_t indices = 0;
    for (const auto& mesh : document["meshes"])
        for (const auto& primitive : mesh["primitives"])
            indices += document["accessors"][primitive["indices"].get<size_t>()]["count"].get<size_t>();
    return indices / 3;
}

} // namespace

TEST(HlvtoolSubdivision, ASubPatchCubeIsDrawnRoundAndItsCageSquare)
{
    SubdivisionFolder folder;
    const struct {
        const char* object;
        double leastFilled, mostFilled;
    } cases[] = {
        {"FACE.lwo", 0.85, 1.0},  // the cube's faces: a box, its top seen in perspective
        {"SUBD.lwo", 0.7, 0.82},  // subdivided: nearly a disc
    };
    for (const auto& c : cases) {
        const ProgramRun run = folder.run(std::string("render ") + c.object + " --out frame.png");
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        ImageRGB frame;
        ASSERT_TRUE(loadImageRGB((folder.path + "/frame.png").c_str(), frame));
        const double filled = filledShareOfOutline(frame);
        EXPECT_GT(filled, c.leastFilled) << c.object;
        EXPECT_LT(filled, c.mostFilled) << c.object;
        std::printf("%s fills %.3f of its outline\n", c.object, filled);
    }
}

TEST(HlvtoolSubdivision, InfoTellsTheCageAndWhatItBecame)
{
    SubdivisionFolder folder;
    const ProgramRun json = folder.run("info SUBD.lwo --json");
    ASSERT_EQ(json.exitCode, 0) << json.errors;
    EXPECT_EQ(jsonNumber(json.output, "subpatch_polygons"), 6);
    EXPECT_EQ(jsonNumber(json.output, "cage_triangles"), 12);
    EXPECT_EQ(jsonNumber(json.output, "subdivision_level"), 3);
    // Each quad four at each level: 6 * 4^3 quads.
    EXPECT_EQ(jsonNumber(json.output, "subdivided_triangles"), 2 * 6 * 64);
    EXPECT_EQ(jsonNumber(json.output, "triangles"), 2 * 6 * 64);
    const ProgramRun text = folder.run("info SUBD.lwo");
    EXPECT_NE(text.output.find("6 SubPatch polygons (12 triangles as a cage) subdivided at level 3 into 384 quads"),
              std::string::npos)
        << text.output;
}

// An object alone at LightWave's level 3 unless --subdivide says; a scene's
// object at its item's render level (the second of SubPatchLevel's numbers).
TEST(HlvtoolSubdivision, TheExportCarriesTheSubdividedMesh)
{
    SubdivisionFolder folder;
    std::ofstream(folder.path + "/scene.lws") << "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n\n"
                                                 "LoadObjectLayer 1 SUBD.lwo\nObjectMotion\n" + placedMotion(0, 0, 5) +
                                                     "SubPatchLevel 3 1\n\nAddCamera\nCameraMotion\n" +
                                                     placedMotion(0, 0, 0, 6);
    const struct {
        const char* arguments;
        size_t triangles;
    } cases[] = {
        {"SUBD.lwo out.gltf", 2 * 6 * 64},
        {"SUBD.lwo out.gltf --subdivide 2", 2 * 6 * 16},
        {"SUBD.lwo out.gltf --subdivide 0", 12},
        {"FACE.lwo out.gltf --subdivide 2", 12},
        {"scene.lws out.gltf", 2 * 6 * 4},
        {"scene.lws out.gltf --subdivide 2", 2 * 6 * 16},
    };
    for (const auto& c : cases) {
        const ProgramRun run = folder.run(std::string("export ") + c.arguments);
        ASSERT_EQ(run.exitCode, 0) << c.arguments << "\n" << run.errors;
        EXPECT_EQ(exportedTriangles(folder.path + "/out.gltf"), c.triangles) << c.arguments;
    }
    const ProgramRun bad = folder.run("export SUBD.lwo out.gltf --subdivide 9");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.errors.find("--subdivide takes a subdivision level"), std::string::npos) << bad.errors;
}
