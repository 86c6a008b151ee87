// hlvtool export as a user meets it: what it writes replaces an earlier
// file only when complete, and bad input or a bad output name is an error
// that names the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/import/lightwave_scene_folder.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
const std::string kTool = SKYDRIFT_HLVTOOL;

TEST(ExportTool, AFailedExportLeavesTheEarlierFileAndNothingElse)
{
    const std::string folder = (fs::current_path() / "export_tool").string();
    fs::remove_all(folder);
    lightwave_objects::write(folder);
    ASSERT_EQ(runInFolder(folder, kTool + " export Objects/Box.lwo box.glb").exitCode, 0);
    const std::string earlier = readWholeFile(folder + "/box.glb");
    ASSERT_GT(earlier.size(), 20u);
    EXPECT_EQ(earlier.substr(0, 4), "glTF");

    // A damaged object: the first half of a good one.
    const std::string object = readWholeFile(folder + "/Objects/Layers.lwo");
    std::ofstream(folder + "/broken.lwo", std::ios::binary) << object.substr(0, object.size() / 2);
    const ProgramRun broken = runInFolder(folder, kTool + " export broken.lwo box.glb");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.errors.find("broken.lwo"), std::string::npos) << broken.errors;
    EXPECT_EQ(readWholeFile(folder + "/box.glb"), earlier);

    const ProgramRun badName = runInFolder(folder, kTool + " export Objects/Box.lwo box.obj");
    EXPECT_EQ(badName.exitCode, 1);
    EXPECT_NE(badName.errors.find("box.obj"), std::string::npos) << badName.errors;
    EXPECT_EQ(runInFolder(folder, kTool + " export Objects/Box.lwo").exitCode, 2);
    EXPECT_EQ(runInFolder(folder, kTool + " export Objects/Box.lwo box.glb --fps 0").exitCode, 2);

    // Layers become nodes; a .gltf holds the same document as JSON.
    ASSERT_EQ(runInFolder(folder, kTool + " export Objects/Layers.lwo layers.gltf").exitCode, 0);
    const std::string json = readWholeFile(folder + "/layers.gltf");
    EXPECT_NE(json.find("\"Front\""), std::string::npos);
    EXPECT_NE(json.find("\"Back\""), std::string::npos);
    EXPECT_NE(json.find("\"uri\": \"layers.bin\""), std::string::npos);
    EXPECT_GT(fs::file_size(folder + "/layers.bin"), 0u);

    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder))  // run.* hold the runs' output
        files += entry.is_regular_file() && entry.path().filename().string().rfind("run.", 0) != 0;
    EXPECT_EQ(files, 4u) << "box.glb, broken.lwo, layers.gltf, layers.bin and no temporary file";
    if (!HasFailure())
        fs::remove_all(folder);
}

} // namespace
