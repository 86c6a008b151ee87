// hlvtool on LightWave scenes as LightWave writes them (tests/import/scenes):
// where `info --time` puts every item, what the converted scene files show,
// and a conversion that never leaves a broken file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "render/image_file.h"
#include "tests/import/lightwave_scene_folder.h"
#include "tests/support/run_program.h"

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

struct NodeAt {
    int number = 0, parent = 0;
    std::string kind, item;
    std::vector<float> position, eye, view;
};

std::vector<float> numbers(const nlohmann::json& list)
{
    std::vector<float> values;
    for (const auto& value : list)
        values.push_back(value.get<float>());
    return values;
}

// The nodes of `info --time --json`, in the order printed.
std::vector<NodeAt> nodesOf(const std::string& json)
{
    const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
    std::vector<NodeAt> nodes;
    if (document.is_discarded() || !document.contains("nodes"))
        return nodes;
    for (const auto& node : document["nodes"]) {
        NodeAt at;
        at.number = node["number"].get<int>();
        at.kind = node["kind"].get<std::string>();
        at.parent = node["parent"].get<int>();
        at.position = numbers(node["world_position"]);
        at.item = node.value("item", std::string());
        if (node.contains("eye")) {
            at.eye = numbers(node["eye"]);
            at.view = numbers(node["view_direction"]);
        }
        nodes.push_back(at);
    }
    return nodes;
}

class ToolFolder : public LightWaveSceneFolder {
public:
    ToolFolder()
        : LightWaveSceneFolder("hlvtool_lw_" +
                               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
    }
    ProgramRun run(const std::string& arguments) const { return runInFolder(path, kTool + " " + arguments); }

    // `info FILE --time T --json`, by item label (and by number).
    std::vector<NodeAt> at(const std::string& file, float seconds) const
    {
        const ProgramRun info = run(file + " --time " + std::to_string(seconds) + " --json");
        EXPECT_EQ(info.exitCode, 0) << file << " at " << seconds << "\n" << info.errors;
        return nodesOf(info.output);
    }
    std::vector<NodeAt> info(const std::string& file, float seconds) const { return at("info " + file, seconds); }
};

const NodeAt& item(const std::vector<NodeAt>& nodes, const std::string& label, int parent = -1)
{
    for (const NodeAt& node : nodes)
        if (node.item == label && (parent < 0 || node.parent == parent))
            return node;
    static const NodeAt none;
    ADD_FAILURE() << "no node for " << label;
    return none;
}

void expectAt(const std::vector<float>& actual, float x, float y, float z, const std::string& what)
{
    ASSERT_EQ(actual.size(), 3u) << what;
    EXPECT_NEAR(actual[0], x, 1e-3f) << what;
    EXPECT_NEAR(actual[1], y, 1e-3f) << what;
    EXPECT_NEAR(actual[2], z, 1e-3f) << what;
}

// The colour at the middle of a rendered frame.
std::vector<int> centreOf(const std::string& picture)
{
    ImageRGB image;
    if (!loadImageRGB(picture.c_str(), image) || image.width != 800 || image.height != 600)
        return {};
    const size_t at = (size_t(300) * image.width + 400) * 3;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
}

} // namespace

TEST(HlvtoolLightWave, InfoAtTimeListsEveryNodeWithItsItemAndWorldPosition)
{
    ToolFolder folder;
    folder.scene("lightwave7.lws");
    const std::vector<NodeAt> nodes = folder.info("lightwave7.lws", 1);
    // Root, 17 item transforms, 2 shapes, 1 camera, in number order.
    ASSERT_EQ(nodes.size(), 21u);
    for (size_t i = 0; i < nodes.size(); ++i)
        EXPECT_EQ(nodes[i].number, int(i + 1));
    EXPECT_EQ(nodes[0].kind, "transform");
    EXPECT_EQ(nodes[0].parent, 0);
    EXPECT_EQ(nodes[1].item, "object Objects/Box.lwo");
    const NodeAt& turntable = item(nodes, "null Turntable");
    expectAt(turntable.position, 0, 50, 0, "the turntable");
    expectAt(item(nodes, "object Objects/Box.lwo", turntable.number).position, 10, 50, 0, "its rider at 1 s");
    expectAt(item(nodes, "light Light").position, -2, 2, -2, "the light");
    const NodeAt& camera = item(nodes, "camera Camera");
    expectAt(camera.position, -10, 0, -10, "the camera half way");
    int cameras = 0, shapes = 0;
    for (const NodeAt& node : nodes) {
        if (node.kind == "camera") {
            ++cameras;
            EXPECT_EQ(node.parent, camera.number);
            expectAt(node.eye, -10, 0, -10, "eye");
            const float d = std::sqrt(0.5f);
            expectAt(node.view, d, 0, d, "looking at the box");
        }
        shapes += node.kind == "shape";
    }
    EXPECT_EQ(cameras, 1);
    EXPECT_EQ(shapes, 2);

    // The converted scene file puts every node in the same place, unlabelled.
    ASSERT_EQ(folder.run("convert lightwave7.lws out.hlv").exitCode, 0);
    const std::vector<NodeAt> written = folder.info("out.hlv", 1);
    ASSERT_EQ(written.size(), nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(written[i].kind, nodes[i].kind) << i;
        EXPECT_EQ(written[i].parent, nodes[i].parent) << i;
        EXPECT_EQ(written[i].item, "");
        expectAt(written[i].position, nodes[i].position[0], nodes[i].position[1], nodes[i].position[2], "node");
    }

    const ProgramRun text = folder.run("info lightwave7.lws --time 1");
    EXPECT_NE(text.output.find("#5 transform, parent #4, object Objects/Box.lwo at (10 50 "), std::string::npos)
        << text.output;
    const ProgramRun bad = folder.run("info lightwave7.lws --time soon");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.errors.find("--time takes seconds"), std::string::npos);
}

// Keys 0, 10, 5 at 0, 1, 2 s joined by straight spans: at the keys, then
// before the first and after the last for each behaviour; the LightWave 5
// end behaviours likewise.
TEST(HlvtoolLightWave, BehavioursPlaceTheirItemsBeforeAtAndAfterTheKeys)
{
    ToolFolder folder;
    folder.scene("lightwave7.lws");
    auto between = [](float a, float b, float w) { return a + (b - a) * w; };
    const char* names[] = {"Reset", "Constant", "Repeat", "Oscillate", "Offset Repeat", "Linear"};
    // At -0.5 s and 2.25 s: reset gives 0, constant the first or last key;
    // repeat takes the value at 1.5 s and 0.25 s; oscillate runs every other
    // period backwards (0.5 s, 1.75 s); offset repeat shifts each period by
    // last minus first key (5); linear goes on along the first or last span.
    const float before[] = {0, 0, between(10, 5, 0.5f), between(0, 10, 0.5f), between(10, 5, 0.5f) - 5, -0.5f * 10};
    const float after[] = {0, 5, between(0, 10, 0.25f), between(10, 5, 0.75f), between(0, 10, 0.25f) + 5,
                           5 + 0.25f * (5 - 10)};
    for (float key : {0.0f, 1.0f, 2.0f}) {
        const std::vector<NodeAt> nodes = folder.info("lightwave7.lws", key);
        const float value = key == 0 ? 0 : key == 1 ? 10 : 5;
        for (int i = 0; i < 6; ++i)
            expectAt(item(nodes, std::string("null ") + names[i]).position, value, 100.0f + i, 0,
                     std::string(names[i]) + " at a key");
    }
    const std::vector<NodeAt> early = folder.info("lightwave7.lws", -0.5f);
    const std::vector<NodeAt> late = folder.info("lightwave7.lws", 2.25f);
    for (int i = 0; i < 6; ++i) {
        expectAt(item(early, std::string("null ") + names[i]).position, before[i], 100.0f + i, 0,
                 std::string(names[i]) + " before the first key");
        expectAt(item(late, std::string("null ") + names[i]).position, after[i], 100.0f + i, 0,
                 std::string(names[i]) + " after the last key");
    }

    for (const char* file : {"lightwave5.lws", "version2.lws"}) {
        SCOPED_TRACE(file);
        folder.scene(file);
        const std::vector<NodeAt> atKey = folder.info(file, 1);
        expectAt(item(atKey, "null Stopping").position, 10, 100, 0, "stop, at frame 30");
        expectAt(item(atKey, "null Repeating").position, 10, 100, 0, "repeat, at frame 30");
        const std::vector<NodeAt> past = folder.info(file, 2.5f);
        expectAt(item(past, "null Stopping").position, 5, 100, 0, "stop, after the last key");
        expectAt(item(past, "null Repeating").position, 5, 100, 0, "repeat, the value at 0.5 s");
    }
}

// Every version converts and draws what its camera sees: the yellow box, or
// for version 5 the green second layer of Layers.lwo (its red first layer,
// nearer, would hide it if the whole file were read). At 2 s the cameras of
// versions 1 to 4 have turned to heading 90 and look along +X at the box.
TEST(HlvtoolLightWave, EveryVersionConvertsAndRendersWhatItsCameraSees)
{
    ToolFolder folder;
    const struct {
        const char* file;
        float seconds;
        std::vector<int> colour;
    } frames[] = {
        {"lightwave5.lws", 0, {255, 255, 0}}, {"lightwave5.lws", 2, {255, 255, 0}},
        {"version2.lws", 2, {255, 255, 0}},   {"lightwave7.lws", 0, {255, 255, 0}},
        {"lightwave7.lws", 1, {255, 255, 0}}, {"lightwave7.lws", 2, {255, 255, 0}},
        {"lightwave8.lws", 2, {255, 255, 0}}, {"lightwave9.lws", 0, {0, 255, 0}},
    };
    for (const auto& f : frames) {
        SCOPED_TRACE(std::string(f.file) + " at " + std::to_string(f.seconds));
        folder.scene(f.file);
        const ProgramRun convert = folder.run(std::string("convert ") + f.file + " out.hlv");
        ASSERT_EQ(convert.exitCode, 0) << convert.errors;
        const ProgramRun render =
            folder.run("render out.hlv --camera 0 --time " + std::to_string(f.seconds) + " --out frame.png");
        ASSERT_EQ(render.exitCode, 0) << render.errors;
        const std::vector<int> centre = centreOf(folder.path + "/frame.png");
        ASSERT_EQ(centre.size(), 3u);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(centre[size_t(c)], f.colour[size_t(c)], 40) << "channel " << c;
    }
    // Beside the box the blue backdrop shows (0 0 128 of 255 for version 1).
    ImageRGB image;
    ASSERT_TRUE(loadImageRGB((folder.path + "/frame.png").c_str(), image));
    EXPECT_NEAR(image.pixels[2], 128, 2);
    EXPECT_LT(image.pixels[0] + image.pixels[1], 10);
}

// The scene file appears only once complete: a failed conversion leaves an
// earlier file as it was and no temporary file beside it.
TEST(HlvtoolLightWave, ConvertReplacesItsOutputOnlyWhenTheNewFileIsComplete)
{
    ToolFolder folder;
    const std::string scene = readWholeFile(folder.scene("lightwave7.lws"));
    std::ofstream(folder.path + "/cut.lws") << scene.substr(0, scene.find("{ Envelope", scene.size() / 2));
    std::ofstream(folder.path + "/gone.lws") << std::regex_replace(scene, std::regex("Objects/Box"), "Objects/Gone");
    std::ofstream(folder.path + "/out.hlv") << "the earlier file";
    auto entries = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path))
            if (entry.path().stem() != "run")  // what the test's runs of the tool print
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = entries();

    const struct {
        const char* arguments;
        const char* message;
    } failures[] = {
        {"convert cut.lws out.hlv", "cut.lws cannot be read as a LightWave scene, it may be damaged (the reader says: "
                                    "Unexpected end of file."},
        // A missing object is only a warning, unless --strict.
        {"convert gone.lws out.hlv --strict", "gone.lws: Error !! The file 'Objects/Gone.lwo' (needed by object "
                                              "item 1) is not found."},
        {"convert lightwave7.lws missing/out.hlv", "missing/out.hlv: cannot be written, no file can be made in the "
                                                   "folder 'missing' (No such file or directory)"},
    };
    for (const auto& f : failures) {
        const ProgramRun run = folder.run(f.arguments);
        EXPECT_EQ(run.exitCode, 1) << f.arguments;
        EXPECT_NE(run.errors.find(f.message), std::string::npos) << f.arguments << "\n" << run.errors;
        EXPECT_EQ(readWholeFile(folder.path + "/out.hlv"), "the earlier file") << f.arguments;
        EXPECT_EQ(entries(), before) << f.arguments;
    }

    ASSERT_EQ(folder.run("convert lightwave7.lws out.hlv").exitCode, 0);
    EXPECT_EQ(readWholeFile(folder.path + "/out.hlv").compare(0, 11, "class Scene"), 0);
    EXPECT_EQ(entries(), before) << "the new file took the old one's place, nothing else is left";
}
