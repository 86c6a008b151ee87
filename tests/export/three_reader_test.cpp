// Exports read by others: every test object and scene and every scene file
// of the pack goes through hlvtool export, then one Node process runs the
// Khronos validator on each file and plays its animation in three.js,
// comparing every node's world position (and cameras' view directions) with
// `hlvtool info --time`. Needs `npm ci` in tests/export (scripts/test runs it).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/export/motion_scene.h"
#include "tests/import/lightwave_scene_folder.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
const std::string kTool = SKYDRIFT_HLVTOOL;
const std::string kTestFolder = SKYDRIFT_EXPORT_TESTS;

struct Export {
    std::string source, glb;
    std::vector<double> times;  // compared at these seconds
    std::string options;
    // Of the scene's size. Sampled motion is straight between samples: on the
    // steepest 2D Bezier span of the motion scene that is 1e-4 off at 240
    // samples a second.
    double tolerance = 1e-4;
};

// Where `info --time` puts every node, as the check script reads it.
nlohmann::json checksOf(const std::string& folder, const Export& file)
{
    nlohmann::json checks = nlohmann::json::array();
    for (double t : file.times) {
        std::ostringstream command;
        command.precision(17);
        command << kTool << " info '" << file.source << "' --time " << t << " --json";
        const ProgramRun info = runInFolder(folder, command.str());
        EXPECT_EQ(info.exitCode, 0) << file.source << "\n" << info.errors;
        const nlohmann::json positions = nlohmann::json::parse(info.output, nullptr, false);
        if (positions.is_discarded())
            continue;
        nlohmann::json nodes = nlohmann::json::array();
        for (const auto& node : positions["nodes"]) {
            nlohmann::json entry{{"number", node["number"]}, {"world_position", node["world_position"]}};
            if (node.contains("view_direction"))
                entry["view_direction"] = node["view_direction"];
            nodes.push_back(entry);
        }
        checks.push_back({{"time", t}, {"nodes", nodes}});
    }
    return checks;
}

// The size the tolerance is measured against: the largest extent of the
// positions compared.
double sceneSize(const nlohmann::json& checks)
{
    double low[3] = {1e30, 1e30, 1e30}, high[3] = {-1e30, -1e30, -1e30};
    for (const auto& at : checks)
        for (const auto& node : at["nodes"])
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], node["world_position"][c].get<double>());
                high[c] = std::max(high[c], node["world_position"][c].get<double>());
            }
    return std::max({1.0, high[0] - low[0], high[1] - low[1], high[2] - low[2]});
}

TEST(ExportReaders, ValidatorAndThreeJsAgreeWithTheScenes)
{
    if (!fs::exists(kTestFolder + "/node_modules/three") || !fs::exists(kTestFolder + "/node_modules/gltf-validator"))
        GTEST_SKIP() << "run `npm ci` in tests/export (scripts/test does) for the validator and three.js";
    const std::string folder = (fs::current_path() / "export_readers").string();
    fs::remove_all(folder);
    lightwave_objects::write(folder);
    std::ofstream(folder + "/motion.lws") << motionSceneText();
    std::ofstream(folder + "/version1.lws") << version1SceneText();

    std::vector<Export> exports;
    // Key times, between keys and after the last key, at frames and two
    // moments between frames. Rotations are sampled: between samples a
    // turn that speeds up or slows down differs from the straight
    // interpolation by its angular acceleration times the interval squared
    // over 8 (at 30 samples a second 1.3e-4 of this scene's size; at 120,
    // 1/16 of that).
    const std::vector<double> times = {0, 0.2, 0.5, 0.517, 0.7, 0.9, 1.2, 1.3791, 1.5, 2, 2.5, 3.1, 4};
    for (const char* scene : {"motion.lws", "version1.lws"})
        exports.push_back({folder + "/" + scene, folder + "/" + scene + ".glb", times, "--fps 120"});
    // LightWave 5.6's six-channel camera moves as it does in LightWave.
    std::ofstream(folder + "/camera56.lws") << version2SceneText();
    exports.push_back({folder + "/camera56.lws", folder + "/camera56.lws.glb", times, "--fps 120"});
    // Every channel straight between samples, as Blender 3.4 plays them.
    exports.push_back({folder + "/motion.lws", folder + "/motion-sampled.glb", times, "--fps 240 --sampled", 5e-4});
    // Before 0, between frames of a fast turn, at the last frame, at a key's instant.
    std::ofstream(folder + "/edges.lws") << timelineEdgesSceneText();
    exports.push_back({folder + "/edges.lws", folder + "/edges.glb",
                       {-0.5, -0.4, -0.01, 0, 0.0167, 0.517, 0.99, 1, 1.01, 1.3791, 1.99, 2}, ""});
    for (const auto& entry : fs::directory_iterator(LightWaveSceneFolder::kScenes)) {
        fs::copy_file(entry.path(), folder + "/" + entry.path().filename().string());
        exports.push_back({folder + "/" + entry.path().filename().string(),
                           folder + "/" + entry.path().filename().string() + ".gltf", {0, 0.5, 1, 1.5, 2}, ""});
    }
    for (const char* object : {"Objects/Box.lwo", "Objects/Layers.lwo"})
        exports.push_back({folder + "/" + object, folder + "/" + fs::path(object).filename().string() + ".glb", {}, ""});
    bool besideTaken = false;
    for (const auto& entry : fs::recursive_directory_iterator(SKYDRIFT_DEMO_PACK)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".hlv") {
            exports.push_back({entry.path().string(), folder + "/" + entry.path().stem().string() + ".glb",
                               {0, 1.25, 3.5, 7}, ""});
            // One with its textures as files beside a .gltf.
            if (!besideTaken)
                exports.push_back({entry.path().string(), folder + "/" + entry.path().stem().string() + ".gltf",
                                   {0, 1.25}, ""});
            besideTaken = true;
        }
        else if (extension == ".lwo")
            exports.push_back({entry.path().string(), folder + "/pack-" + entry.path().stem().string() + ".glb", {}, ""});
    }

    nlohmann::json manifest{{"files", nlohmann::json::array()}};
    std::map<std::string, double> sizes, tolerances;
    std::set<std::string> samplesOnly;
    for (const Export& file : exports) {
        const ProgramRun run = runInFolder(folder, kTool + " export '" + file.source + "' '" + file.glb + "' " + file.options);
        ASSERT_EQ(run.exitCode, 0) << file.source << "\n" << run.errors;
        const nlohmann::json checks = checksOf(folder, file);
        sizes[file.glb] = sceneSize(checks);
        tolerances[file.glb] = file.tolerance;
        if (file.options.find("--sampled") != std::string::npos)
            samplesOnly.insert(file.glb);
        manifest["files"].push_back({{"path", file.glb}, {"checks", checks}});
    }
    std::ofstream(folder + "/manifest.json") << manifest.dump();

    const ProgramRun node = runInFolder(folder, "node '" + kTestFolder + "/check_exports.mjs' manifest.json");
    ASSERT_EQ(node.exitCode, 0) << node.errors;
    std::istringstream lines(node.output);
    std::string line;
    size_t results = 0, compared = 0;
    double largest = 0;
    while (std::getline(lines, line)) {
        const nlohmann::json result = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(result.is_discarded()) << line;
        const std::string path = result["path"];
        ASSERT_FALSE(result.contains("failure")) << path << "\n" << result["failure"];
        ++results;
        EXPECT_EQ(result["validatorErrors"], 0) << path << "\n" << result["messages"].dump(1);
        EXPECT_EQ(result["validatorWarnings"], 0) << path << "\n" << result["warnings"].dump(1);
        EXPECT_TRUE(result["missing"].empty()) << path << ": nodes without a glTF node " << result["missing"];
        const double error = result["maxError"], size = sizes[path];
        EXPECT_LE(error, tolerances[path] * size) << path << ", worst " << result["worst"].dump();
        EXPECT_LE(result["maxDirectionError"].get<double>(), 1e-4) << path;
        if (samplesOnly.count(path)) {
            EXPECT_EQ(result["interpolations"], nlohmann::json::array({"LINEAR"})) << path;
        }
        compared += result["compared"].get<size_t>();
        largest = std::max(largest, error / size);
    }
    EXPECT_EQ(results, exports.size());
    // A .gltf refers to its buffer and pictures as files beside it.
    size_t picturesBeside = 0;
    for (const Export& file : exports) {
        if (fs::path(file.glb).extension() != ".gltf")
            continue;
        const nlohmann::json json = nlohmann::json::parse(readWholeFile(file.glb));
        for (const char* list : {"buffers", "images"})
            for (const auto& item : json.value(list, nlohmann::json::array())) {
                const std::string uri = item.value("uri", "");
                EXPECT_EQ(uri.rfind("data:", 0), std::string::npos) << file.glb;
                EXPECT_TRUE(fs::is_regular_file(fs::path(file.glb).parent_path() / uri)) << file.glb << ": " << uri;
                picturesBeside += std::string(list) == "images";
            }
    }
    EXPECT_GT(picturesBeside, 0u);
    EXPECT_GT(compared, 1000u);
    std::printf("%zu exports, %zu positions compared, largest error %.3g of the scene's size\n", results, compared, largest);
    if (!HasFailure())  // kept for a look otherwise
        fs::remove_all(folder);
}

} // namespace
