// hlvtool on objects saved by LightWave 2015 and later (LWO3): the surface
// colours, UV maps and pictures a user sees.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "tests/import/lwo3_node_objects.h"
#include "tests/support/run_program.h"
#include "tests/tools/json_number.h"
#include "tools/writers/picture_writer.h"
#include "tools/writers/xm_writer.h"  // writeFileBytes

using namespace lwo3_nodes;

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

// Where the real LightWave files are: the environment's choice, or beside
// the checkout.
std::string corpusFolder()
{
    const char* chosen = std::getenv("SKYDRIFT_LIGHTWAVE_CORPUS");
    return chosen ? chosen : SKYDRIFT_LIGHTWAVE_CORPUS;
}

// The distinct surface colours `info` lists, and how many surfaces it lists
// at LightWave's default grey.
struct Colours {
    std::set<std::string> distinct;
    int grey = 0;
};

Colours coloursOf(const std::string& info)
{
    Colours colours;
    const std::regex colour("colour \\(([^)]*)\\)");
    for (auto it = std::sregex_iterator(info.begin(), info.end(), colour); it != std::sregex_iterator(); ++it) {
        colours.distinct.insert((*it)[1]);
        colours.grey += (*it)[1] == "0.784314 0.784314 0.784314";
    }
    return colours;
}

} // namespace

// Two quads drawn by their node graphs; the object folder holds both
// pictures.
TEST(HlvtoolLwo3, InfoReportsNodeGraphColoursUVsAndPictures)
{
    const std::string folder = (std::filesystem::current_path() / "hlvtool_lwo3").string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/Images");
    const uint8_t pixels[4 * 4 * 3] = {};
    ASSERT_TRUE(writers::writePng(folder + "/Images/grid.png", pixels, 4, 4, 3));
    ASSERT_TRUE(writers::writePng(folder + "/Images/clip.png", pixels, 4, 4, 3));

    writers::writeFileBytes(folder + "/nodes.lwo", pictureAndLayerQuads());

    const ProgramRun json = runInFolder(folder, kTool + " info nodes.lwo --json");
    ASSERT_EQ(json.exitCode, 0) << json.errors;
    EXPECT_EQ(jsonNumber(json.output, "surfaces"), 2) << json.output;
    EXPECT_EQ(jsonNumber(json.output, "textures"), 2);
    EXPECT_EQ(jsonNumber(json.output, "textures_missing"), 0);
    EXPECT_EQ(jsonNumber(json.output, "uvsets"), 1);
    const ProgramRun text = runInFolder(folder, kTool + " info nodes.lwo");
    EXPECT_NE(text.output.find("'Picture' colour (1 0.5 0)"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("'Layer' colour (0 0.25 1)"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("texture 'Images/grid.png' uv map Texture, found"), std::string::npos);
    EXPECT_NE(text.output.find("texture 'Images/clip.png' uv map Texture, found"), std::string::npos);
    std::filesystem::remove_all(folder);
}

// The LWO3 objects of the real-file collection, as looked at in LightWave's
// own renders of them: the pictures each shows (all present beside it), its
// UV sets, how many different surface colours it has, and how many surfaces
// LightWave shows in the default grey.
TEST(HlvtoolLwo3, RealObjectsShowTheirColoursUVsAndPictures)
{
    const std::string corpus = corpusFolder();
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no LightWave file collection at " << corpus << " (set SKYDRIFT_LIGHTWAVE_CORPUS)";
    struct Expected {
        const char* path;
        long textures, uvsets;
        size_t colours;
        int grey;
    };
    const std::string blender = "nangtani__blender-import-lwo/tests/basic/src/LWO3/box/";
    const std::string three = "sciecode__lwoloader/models/Objects/LWO3/";
    const Expected objects[] = {
        {"douglaskastle__lwo_strut/tests/lwo_interceptor/src/LWO3/Federation - Interceptor/objects/interceptor_hull.lwo",
         7, 1, 18, 2},
        {"box0.lwo", 0, 0, 1, 1},
        {"box1.lwo", 0, 0, 6, 0},
        {"box1-uv.lwo", 1, 1, 6, 0},
        {"box2-uv.lwo", 1, 1, 7, 1},
        {"box3-uv-layers.lwo", 1, 1, 7, 1},
        {"ComplexTexturedMaterials.lwo", 3, 2, 2, 0},
        {"Cube04-MultipleStandard.lwo", 0, 0, 6, 0},
        {"Cube05-MultiplePhong.lwo", 0, 0, 6, 0},
        {"Cube06-UVTextureMapStandard.lwo", 1, 1, 1, 0},
        {"Cube07-UVTextureMapPhong.lwo", 1, 1, 1, 0},
        {"Cube08-UVTextureMapStandard-Repeat.lwo", 6, 1, 1, 0},
        {"Cube09-UVTextureMapPhong-Repeat.lwo", 6, 1, 1, 0},
        {"Cylinder01_UVMaps_Smoothing.lwo", 2, 1, 2, 0},
        {"Demo.lwo", 2, 1, 10, 0},
        {"Luminosity.lwo", 15, 1, 3, 0},
        {"UV-Discontinuous-VMAD.lwo", 1, 1, 1, 0},
        {"UV-DiscontinuousTest.lwo", 1, 1, 1, 0},
        {"multipleUVs.lwo", 6, 1, 1, 0},
        {"rocket.lwo", 0, 0, 5, 0},
        {"StandardMaterials01-Basic.lwo", 0, 0, 2, 0},
    };
    for (const Expected& e : objects) {
        std::string path = e.path;
        if (path.find('/') == std::string::npos)
            path = (path.rfind("box", 0) == 0 ? blender : three) + path;
        path = corpus + "/" + path;
        SCOPED_TRACE(path);
        const ProgramRun json = runInFolder("hlvtool_lwo3_corpus", kTool + " info '" + path + "' --json");
        ASSERT_EQ(json.exitCode, 0) << json.errors;
        EXPECT_EQ(jsonNumber(json.output, "textures"), e.textures);
        EXPECT_EQ(jsonNumber(json.output, "textures_missing"), 0);
        EXPECT_EQ(jsonNumber(json.output, "uvsets"), e.uvsets);
        const Colours colours = coloursOf(runInFolder("hlvtool_lwo3_corpus", kTool + " info '" + path + "'").output);
        EXPECT_EQ(colours.distinct.size(), e.colours);
        EXPECT_EQ(colours.grey, e.grey);
    }
}
