// What a LightWave scene sets beside its items: the camera takes the frame's
// shape, and `--verbose` names what glTF has no place for and a timeline
// moved to start at 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/export/lws_writer.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
const std::string kTool = SKYDRIFT_HLVTOOL;

struct SettingsCase {
    const char* name;
    std::string header;  // lines after the frame rate
    int post;            // the null's behaviour after its last key
    int firstFrame;
    float aspect;
    std::vector<std::string> named, unnamed;  // in the --verbose list
};

TEST(ExportSceneSettings, CamerasTakeTheFrameShapeAndTheRestIsNamed)
{
    const SettingsCase cases[] = {
        {"high definition", "FrameSize 1920 1080\nPixelAspect 1\n", 1, 0, 16.0f / 9, {},
         {"fog", "backdrop", "motion after", "timeline"}},
        {"wide pixels", "FrameSize 640 480\nPixelAspect 1.2\nFogType 1\nBackdropColor 0.2 0.3 0.4\n", 2, 0, 1.6f,
         {"fog", "backdrop", "'null Spinner': its motion after 2 s"}, {"timeline"}},
        {"no frame size, from before 0", "", 4, -15, 4.0f / 3,
         {"'null Spinner': its motion after 2 s", "the timeline starts 0.5 s before 0"}, {"fog", "backdrop"}},
    };
    const std::string folder = (fs::current_path() / "export_settings").string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        lwsgen::Item spinner;
        spinner.add = "AddNullObject Spinner";
        spinner.channels[3].keys = {lwsgen::Key{0, 0}, lwsgen::Key{1, 1}};
        spinner.channels[3].post = c.post;
        lwsgen::Item camera;
        camera.add = "AddCamera";
        camera.motion = "CameraMotion";
        camera.after = "CameraName Eye\nZoomFactor 3.2\n";
        std::string text = lwsgen::sceneV3({spinner, camera}, c.firstFrame, 60, 30);
        const std::string rate = "FramesPerSecond 30\n";
        text.insert(text.find(rate) + rate.size(), c.header);
        std::ofstream(folder + "/scene.lws") << text;
        const ProgramRun run = runInFolder(folder, kTool + " export scene.lws scene.gltf --verbose");
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        const nlohmann::json json = nlohmann::json::parse(readWholeFile(folder + "/scene.gltf"));
        ASSERT_EQ(json["cameras"].size(), 1u);
        EXPECT_NEAR(json["cameras"][0]["perspective"]["aspectRatio"].get<float>(), c.aspect, 1e-4f);
        for (const std::string& named : c.named)
            EXPECT_NE(run.errors.find(named), std::string::npos) << named << " in\n" << run.errors;
        for (const std::string& unnamed : c.unnamed)
            EXPECT_EQ(run.errors.find(unnamed), std::string::npos) << unnamed << " in\n" << run.errors;
    }
    if (!HasFailure())
        fs::remove_all(folder);
}

} // namespace
