#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "tests/support/run_program.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tests/tools/json_number.h"

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

TEST(Hlvtool, DamagedFilesAndBadUsageGiveAMessageAndAnExitCode)
{
    ToolFolder folder;
    const std::string scene = readWholeFile(folder.path + "/scene.lws");
    std::ofstream(folder.path + "/cut.lws") << scene.substr(0, scene.find("Behaviors"));
    const std::string object = readWholeFile(folder.path + "/red.lwo");
    std::ofstream(folder.path + "/cut.lwo", std::ios::binary) << object.substr(0, object.size() / 2);
    std::ofstream(folder.path + "/junk.hlv") << "not a scene file";

    struct Case {
        std::string arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"info cut.lws", 1, "cut.lws: Unexpected end of file."},
        {"info cut.lwo --json", 1, "cut.lwo: Error !! Corrupted IFF length."},
        {"info missing.lws", 1, "Impossible to open file : 'missing.lws'"},
        {"info junk.hlv", 1, "junk.hlv"},
        {"convert cut.lws out.hlv", 1, "cut.lws: Unexpected end of file."},
        {"render junk.hlv --camera 0 --time 0 --out f.png", 1, "junk.hlv"},
        {"info notes.txt", 2, "cannot tell the kind of notes.txt"},
        {"render x.hlv --camera two --out f.png", 2, "--camera takes a camera number"},
        {"frobnicate", 2, "unknown command frobnicate"},
        {"", 2, "no command given"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = folder.run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.errors;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.arguments << "\n" << run.errors;
    }
    ASSERT_EQ(folder.run("convert scene.lws out.hlv").exitCode, 0);
    const ProgramRun camera = folder.run("render out.hlv --camera 3 --time 0 --out f.png");
    EXPECT_EQ(camera.exitCode, 1);
    EXPECT_NE(camera.errors.find("has 1 cameras, no camera 3"), std::string::npos) << camera.errors;

    const ProgramRun help = folder.run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("hlvtool convert SCENE.lws OUT.hlv"), std::string::npos);
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
