#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/run_program.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tests/tools/json_number.h"
#include "tools/writers/lwo2_writer.h"

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

struct ToolFolder {
    ToolFolder()
    {
        path = (std::filesystem::current_path() /
                ("hlvtool_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                   .string();
        std::filesystem::remove_all(path);
        writeTestLightWaveScene(path);
    }
    ~ToolFolder() { std::filesystem::remove_all(path); }
    ProgramRun run(const std::string& arguments) const { return runInFolder(path, kTool + " " + arguments); }
    std::string path;
};

} // namespace

TEST(Hlvtool, InfoOnEachKindOfFileAndConvertRoundTrips)
{
    ToolFolder folder;

    const ProgramRun object = folder.run("info red.lwo --json");
    ASSERT_EQ(object.exitCode, 0) << object.errors;
    EXPECT_EQ(jsonText(object.output, "kind"), "object") << object.output;
    EXPECT_EQ(jsonNumber(object.output, "points"), 4);  // both sides share the welded corners
    EXPECT_EQ(jsonNumber(object.output, "triangles"), 4);
    EXPECT_EQ(jsonNumber(object.output, "parts"), 1);
    EXPECT_EQ(jsonNumber(object.output, "surfaces"), 1);
    EXPECT_EQ(jsonNumber(object.output, "uvsets"), 0);
    EXPECT_FALSE(jsonText(object.output, "manifold").empty());
    const ProgramRun objectText = folder.run("info red.lwo");
    EXPECT_NE(objectText.output.find("'Default' colour (1 0 0)"), std::string::npos) << objectText.output;
    // Counts as a person writes them.
    EXPECT_NE(objectText.output.find(" triangles, 1 part, "), std::string::npos) << objectText.output;
    EXPECT_NE(objectText.output.find(", 0 UV sets\n"), std::string::npos) << objectText.output;

    const ProgramRun lws = folder.run("info scene.lws --json");
    ASSERT_EQ(lws.exitCode, 0) << lws.errors;
    EXPECT_EQ(jsonText(lws.output, "kind"), "scene");
    EXPECT_EQ(jsonNumber(lws.output, "primitives"), 2);
    EXPECT_EQ(jsonNumber(lws.output, "surfaces"), 2);
    EXPECT_EQ(jsonNumber(lws.output, "cameras"), 1);
    EXPECT_EQ(jsonNumber(lws.output, "triangles"), 8);
    EXPECT_EQ(jsonNumber(lws.output, "last_frame"), 30);
    const ProgramRun lwsText = folder.run("info scene.lws");
    EXPECT_NE(lwsText.output.find("frames 0 to 30 at 30 frames/second"), std::string::npos) << lwsText.output;
    EXPECT_NE(lwsText.output.find(" nodes, 1 camera, 8 triangles\n"), std::string::npos) << lwsText.output;
    EXPECT_NE(lwsText.output.find("camera (near 0.5, far 500"), std::string::npos) << lwsText.output;

    const ProgramRun convert = folder.run("convert scene.lws out.hlv");
    ASSERT_EQ(convert.exitCode, 0) << convert.errors;
    const ProgramRun hlv = folder.run("info out.hlv --json");
    ASSERT_EQ(hlv.exitCode, 0) << hlv.errors;
    for (const char* key : {"surfaces", "textures", "primitives", "nodes", "cameras", "triangles"})
        EXPECT_EQ(jsonNumber(hlv.output, key), jsonNumber(lws.output, key)) << key;
    const ProgramRun hlvText = folder.run("info out.hlv");
    EXPECT_NE(hlvText.output.find("part 0: surface 'Default'"), std::string::npos) << hlvText.output;

    const ProgramRun render = folder.run("render out.hlv --camera 0 --time 1 --out frame.png");
    ASSERT_EQ(render.exitCode, 0) << render.errors;
    EXPECT_EQ(readWholeFile(folder.path + "/frame.png").compare(1, 3, "PNG"), 0);
}

// Every failure of every command: exit 1 for a file problem, 2 for a usage
// problem, one message naming the file and what is wrong.
TEST(Hlvtool, EveryFailureNamesTheFileWhatIsWrongAndItsExitStatus)
{
    ToolFolder folder;
    const std::string scene = readWholeFile(folder.path + "/scene.lws");
    std::ofstream(folder.path + "/cut.lws") << scene.substr(0, scene.find("Behaviors"));
    const std::string object = readWholeFile(folder.path + "/red.lwo");
    const std::string half = std::to_string(object.size() / 2);
    std::ofstream(folder.path + "/cut.lwo", std::ios::binary) << object.substr(0, object.size() / 2);
    std::ofstream(folder.path + "/junk.hlv") << "not a scene file";
    std::ofstream(folder.path + "/notes.txt") << "LightWave notes";
    std::ofstream(folder.path + "/empty.lwo");
    // A PNG picture's signature and header chunk, saved under an object's name.
    std::ofstream(folder.path + "/picture.lwo", std::ios::binary)
        << std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0", 33);
    std::filesystem::create_directory(folder.path + "/folder.lws");

    struct Case {
        std::string arguments;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        // The file: the same words and status whatever the command.
        {"info missing.lws", 1, "missing.lws: no such file"},
        {"convert missing.lws out.hlv", 1, "missing.lws: no such file"},
        {"render missing.lwo --out f.png", 1, "missing.lwo: no such file"},
        {"export missing.lwo out.glb", 1, "missing.lwo: no such file"},
        {"info folder.lws", 1, "folder.lws is a folder, not a file"},
        {"render folder.lws --out f.png", 1, "folder.lws is a folder, not a file"},
        {"info picture.lwo", 1, "picture.lwo is not a LightWave or scene file but a PNG picture"},
        {"convert picture.lwo out.hlv", 1, "picture.lwo is not a LightWave or scene file but a PNG picture"},
        {"info empty.lwo", 1, "empty.lwo is empty"},
        {"info notes.txt", 1, "notes.txt is none of the files hlvtool reads"},
        {"info cut.lwo --json", 1,
         "cut.lwo is cut short at byte " + half + " of the " + std::to_string(object.size())},
        {"info cut.lws", 1,
         "cut.lws cannot be read as a LightWave scene, it may be damaged (the reader says: Unexpected end of file."},
        {"convert cut.lws out.hlv", 1, "cut.lws cannot be read as a LightWave scene"},
        {"info junk.hlv", 1, "junk.hlv cannot be read as a scene file"},
        {"render junk.hlv --camera 0 --time 0 --out f.png", 1, "junk.hlv"},
        // The command line.
        {"info red.lwo --out f.png", 2, "info does not take --out"},
        {"convert scene.lws out.hlv --camera 1", 2, "convert does not take --camera"},
        {"export red.lwo out.glb --time 1", 2, "export does not take --time"},
        {"info scene.lws --json=yes", 2, "--json takes no value"},
        {"info scene.lws --size 800x600", 2, "info does not take --size"},
        {"render red.lwo --out f.gif", 2, "--out f.gif: the picture's name must end in .png, .jpg or .jpeg"},
        {"render red.lwo", 2, "render needs --out"},
        {"render red.lwo --out f.png --camera 1", 2, "--camera is for scenes"},
        {"render red.lwo --out f.png --frame 3", 2, "--frame counts a LightWave scene's frames; red.lwo is a "
                                                    "LightWave object"},
        {"info scene.lws --time 1 --frame 3", 2, "give --time or --frame, not both"},
        {"render x.hlv --camera two --out f.png", 2, "--camera takes a camera number"},
        {"convert red.lwo out.hlv", 2, "convert takes a LightWave scene (.lws); red.lwo is a LightWave object"},
        {"info", 2, "info takes one file"},
        {"info scene.lws --search", 2, "--search needs a value"},
        {"frobnicate", 2, "unknown command \"frobnicate\""},
        {"", 2, "no command given"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = folder.run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.errors;
        EXPECT_NE(run.errors.find("hlvtool: " + c.message), std::string::npos) << c.arguments << "\n" << run.errors;
        EXPECT_FALSE(std::filesystem::exists(folder.path + "/out.hlv")) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(folder.path + "/f.png")) << c.arguments;
    }
    ASSERT_EQ(folder.run("convert scene.lws out.hlv").exitCode, 0);
    const ProgramRun camera = folder.run("render out.hlv --camera 3 --time 0 --out f.png");
    EXPECT_EQ(camera.exitCode, 1);
    EXPECT_NE(camera.errors.find("has one camera (0), no camera 3"), std::string::npos) << camera.errors;
}

TEST(Hlvtool, HelpForAllCommandsOrForOne)
{
    ToolFolder folder;
    const ProgramRun all = folder.run("--help");
    EXPECT_EQ(all.exitCode, 0);
    for (const char* command : {"info", "convert", "render", "export"})
        EXPECT_NE(all.output.find(std::string("  hlvtool ") + command + " "), std::string::npos) << command;
    for (const std::string command : {"info", "convert", "render", "export"}) {
        const ProgramRun one = folder.run(command + " --help");
        EXPECT_EQ(one.exitCode, 0) << command << one.errors;
        EXPECT_NE(one.output.find("  hlvtool " + command + " "), std::string::npos) << one.output;
        for (const std::string other : {"info", "convert", "render", "export"}) {
            if (other != command) {
                EXPECT_EQ(one.output.find("  hlvtool " + other + " "), std::string::npos) << command << " " << other;
            }
        }
    }
}

TEST(Hlvtool, DescribesEveryObjectAndSceneOfTheShowPack)
{
    size_t described = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SKYDRIFT_DEMO_PACK)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".hlv" && extension != ".lwo")
            continue;
        const ProgramRun run = runInFolder("hlvtool_pack", kTool + " info '" + entry.path().string() + "' --json");
        EXPECT_EQ(run.exitCode, 0) << entry.path() << "\n" << run.errors;
        const char* kind = extension == ".hlv" ? "scene" : "object";
        EXPECT_EQ(jsonText(run.output, "kind"), kind) << entry.path() << "\n" << run.output;
        EXPECT_GT(jsonNumber(run.output, "triangles"), 0) << entry.path();
        ++described;
    }
    EXPECT_GE(described, 10u) << "the pack's scenes and objects";
    std::filesystem::remove_all("hlvtool_pack");
}

// What the text of info shows, the JSON holds too: surfaces with their
// settings, each texture with where it was found or that it is missing, the
// node tree, the cameras.
TEST(Hlvtool, InfoJsonHoldsWhatTheTextShows)
{
    ToolFolder folder;
    writers::Lwo2Surface surface;
    surface.name = "Painted";
    surface.colour[0] = 0.25f;
    surface.blocks = {writers::uvMappedBlock("uv", 1), writers::uvMappedBlock("uv", 2)};
    surface.blocks[1].channel = "DIFF";
    surface.blocks[1].enabled = false;
    std::ofstream(folder.path + "/wood.png") << "a picture";
    ASSERT_TRUE(writers::Lwo2Writer()
                    .tags({"Painted"})
                    .points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})
                    .polygons({{0, 1, 2}})
                    .surfaceTags({{0, 0}})
                    .clip(1, "wood.png")
                    .clip(2, "Images/gone.png")
                    .surface(surface)
                    .save(folder.path + "/painted.lwo"));
    const ProgramRun object = folder.run("info painted.lwo --json");
    ASSERT_EQ(object.exitCode, 0) << object.errors;
    const nlohmann::json objectJson = nlohmann::json::parse(object.output);
    const nlohmann::json& painted = objectJson["details"]["surfaces"].at(0);
    EXPECT_EQ(painted["name"], "Painted");
    EXPECT_EQ(painted["colour"][0], 0.25);
    ASSERT_EQ(painted["textures"].size(), 2u);
    EXPECT_EQ(painted["textures"][0]["kind"], "colour");
    EXPECT_EQ(painted["textures"][0]["image"], "wood.png");
    EXPECT_EQ(painted["textures"][0]["projection"], "uv");
    EXPECT_NE(painted["textures"][0]["found"].get<std::string>().find("wood.png"), std::string::npos);
    EXPECT_EQ(painted["textures"][1]["kind"], "diffuse");
    EXPECT_EQ(painted["textures"][1]["enabled"], false);
    EXPECT_TRUE(painted["textures"][1]["found"].is_null()) << object.output;
    EXPECT_EQ(objectJson["closure"], "open");

    const ProgramRun scene = folder.run("info scene.lws --json");
    ASSERT_EQ(scene.exitCode, 0) << scene.errors;
    const nlohmann::json sceneJson = nlohmann::json::parse(scene.output);
    const nlohmann::json& details = sceneJson["details"];
    std::vector<std::vector<double>> colours;
    for (const nlohmann::json& s : details["surfaces"])
        colours.push_back(s["colour"].get<std::vector<double>>());
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(colours, (std::vector<std::vector<double>>{{0, 1, 0}, {1, 0, 0}}));
    ASSERT_EQ(details["cameras"].size(), 1u);
    // The camera hangs 100 below its carrier at (0, 100, 0), looking along +z.
    EXPECT_NEAR(details["cameras"][0]["eye"][1].get<double>(), 0.0, 1e-4);
    EXPECT_NEAR(details["cameras"][0]["looking"][2].get<double>(), 1.0, 1e-4);
    // Every node once in the tree, the camera among them.
    size_t nodes = 0, cameras = 0;
    std::function<void(const nlohmann::json&)> visit = [&](const nlohmann::json& list) {
        for (const nlohmann::json& node : list) {
            ++nodes;
            cameras += node["kind"] == "camera";
            visit(node["children"]);
        }
    };
    visit(details["nodes"]);
    EXPECT_EQ(nodes, sceneJson["nodes"].get<size_t>());
    EXPECT_EQ(cameras, 1u);
    EXPECT_EQ(details["primitives"].size(), 2u);
}

// --verbose is read by a person: one message a line, each naming the file
// it is about, none of the reader's progress redrawing or counters.
TEST(Hlvtool, VerboseIsOneMessageALineNamingItsFile)
{
    ToolFolder folder;
    for (const std::string command : {"info scene.lws --verbose", "export scene.lws out.glb --verbose"}) {
        const ProgramRun run = folder.run(command);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(run.errors.find('\r'), std::string::npos) << command;
        EXPECT_EQ(run.errors.find("point cloud"), std::string::npos) << command;
        EXPECT_EQ(run.errors.find("-----"), std::string::npos) << command;
        std::istringstream lines(run.errors);
        size_t aboutRed = 0;
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("not carried over", 0) == 0)
                continue;  // the export's own list
            EXPECT_EQ(line.rfind("hlvtool: ", 0), 0u) << command << ": " << line;
            aboutRed += line.rfind("hlvtool: red.lwo: ", 0) == 0;
        }
        EXPECT_GT(aboutRed, 0u) << command << "\n" << run.errors;
    }
}
