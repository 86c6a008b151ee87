// hlvtool check surveys a content folder as its maker needs: every object
// and scene found by its content, what opened, what is missing or cannot be
// read, and the survey goes on past a file that does not open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/run_program.h"
#include "tests/tools/hlvtool_folder.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tools/writers/lwo2_writer.h"
#include "tools/writers/xm_writer.h"  // writeFileBytes

namespace fs = std::filesystem;

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

struct CheckFolder : HlvtoolFolder {
    CheckFolder() : HlvtoolFolder("hlvtool_check_") { fs::create_directories(path + "/content"); }
    ProgramRun check(const std::string& options = "") const
    {
        return runInFolder(path, kTool + " check content" + options);
    }
    void write(const std::string& name, const std::string& text) const
    {
        fs::create_directories(fs::path(path + "/content/" + name).parent_path());
        std::ofstream(path + "/content/" + name, std::ios::binary) << text;
    }
};

// A square facing LightWave's camera, its surface painted by `picture`
// (UV mapped) when one is named.
writers::Lwo2Writer square(const std::string& picture = "")
{
    writers::Lwo2Surface surface;
    surface.name = "Paint";
    if (!picture.empty())
        surface.blocks.push_back(writers::uvMappedBlock("uv", 1));
    writers::Lwo2Writer w;
    w.tags({"Paint"});
    if (!picture.empty())
        w.clip(1, picture);
    w.layer(0).points({{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}});
    w.vertexMap("TXUV", 2, "uv", {{0, 0, {0, 0}}, {1, 0, {0, 1}}, {2, 0, {1, 1}}, {3, 0, {1, 0}}});
    w.polygons({{0, 1, 2, 3}});
    return w.surfaceTags({{0, 0}}).surface(surface);
}

std::string bytesText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The line of the survey that names `file` first.
std::string lineOf(const std::string& output, const std::string& file)
{
    size_t at = output.find("\n" + file + ": ");
    at = output.compare(0, file.size() + 2, file + ": ") == 0 ? 0 : at == std::string::npos ? at : at + 1;
    if (at == std::string::npos)
        return "";
    return output.substr(at, output.find('\n', at) - at);
}

// One folder of content, good and bad, as a maker's disk holds it.
void writeMixedContent(const CheckFolder& folder)
{
    folder.write("Objects/good.lwo", bytesText(square().bytes()));
    // Amiga content often has no extension: found by its content.
    folder.write("Objects/Ship", bytesText(square().bytes()));
    const std::string whole = bytesText(square().bytes());
    folder.write("Objects/cut.lwo", whole.substr(0, whole.size() / 2));
    folder.write("Objects/painted.lwo", bytesText(square("Images/gone.png").bytes()));
    folder.write("Objects/garbled.lwo", bytesText(square("Images/garbled.png").bytes()));
    folder.write("Objects/Images/garbled.png", "not a picture at all");
    folder.write("notes.txt", "Scenes are in Scenes/, saved by LWSC 3 and later");
    // A link left pointing at nothing, and one that makes a loop.
    fs::create_symlink("Objects/gone.lwo", folder.path + "/content/broken.lwo");
    fs::create_directory_symlink("..", folder.path + "/content/Objects/up");
    folder.write("Scenes/lost.lws", "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\n\nLoadObjectLayer 1 Objects/lost.lwo\n"
                                    "ObjectMotion\n" + placedMotion(0, 0, 0) + "\nAddCamera\nCameraMotion\n" +
                                    placedMotion(0, 0, -5, 6));
}

} // namespace

TEST(HlvtoolCheck, SaysForEachFileWhatOpenedAndWhatIsMissingAndGoesOnPastBadFiles)
{
    CheckFolder folder;
    writeMixedContent(folder);
    const ProgramRun run = folder.check();
    EXPECT_EQ(run.exitCode, 1) << "a file did not open\n" << run.output << run.errors;

    const struct {
        const char* file;
        std::vector<std::string> said;  // each part of the file's line
    } cases[] = {
        {"Objects/good.lwo", {"object LWO2, opened: 4 points, 2 triangles, 1 surfaces"}},
        {"Objects/Ship", {"object LWO2, opened: 4 points"}},
        {"Objects/cut.lwo", {"object LWO2, failed: ", "IFF length"}},
        {"Objects/painted.lwo", {"opened", "; missing 'Images/gone.png' (needed by surface 'Paint')"}},
        {"Objects/garbled.lwo", {"opened", "; unreadable 'Objects/Images/garbled.png' (needed by surface 'Paint')"}},
        {"Scenes/lost.lws", {"scene LWSC 3, opened: 1 objects, 0 nulls, 1 cameras, 0 lights, frames 1 to 60",
                             "; missing 'Objects/lost.lwo' (needed by object item 1)"}},
    };
    for (const auto& c : cases) {
        const std::string line = lineOf(run.output, c.file);
        ASSERT_FALSE(line.empty()) << c.file << " is not in\n" << run.output;
        for (const std::string& part : c.said)
            EXPECT_NE(line.find(part), std::string::npos) << c.file << ": " << part << "\nin: " << line;
    }
    EXPECT_EQ(lineOf(run.output, "notes.txt"), "") << "not a LightWave file";
    EXPECT_NE(run.output.find("6 files checked (5 objects, 1 scenes, 0 scene files): 5 opened, 1 failed; "
                              "2 missing, 1 unreadable, 0 warnings; 2 other files\n"),
              std::string::npos)
        << run.output;
}

TEST(HlvtoolCheck, AFolderWhereEveryFileOpensPasses)
{
    CheckFolder folder;
    folder.write("good.lwo", bytesText(square().bytes()));
    writeTestLightWaveScene(folder.path + "/content/scene");
    // A scene file of the show's own, as convert writes it.
    const ProgramRun convert = folder.run("convert content/scene/scene.lws content/scene/show.hlv");
    ASSERT_EQ(convert.exitCode, 0) << convert.errors;
    const ProgramRun run = folder.check();
    EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_NE(run.output.find("5 files checked (3 objects, 1 scenes, 1 scene files): 5 opened, 0 failed"),
              std::string::npos)
        << run.output;
    EXPECT_NE(lineOf(run.output, "scene/show.hlv").find("scene file, opened: 2 primitives"), std::string::npos)
        << run.output;
}

TEST(HlvtoolCheck, JsonGivesOneObjectAFileAndTheTotalsLast)
{
    CheckFolder folder;
    writeMixedContent(folder);
    const ProgramRun run = folder.check(" --json");
    EXPECT_EQ(run.exitCode, 1);
    std::vector<nlohmann::json> lines;
    std::istringstream text(run.output);
    for (std::string line; std::getline(text, line);)
        lines.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(lines.size(), 7u) << run.output;
    EXPECT_EQ(lines.back()["totals"]["failed"], 1);
    EXPECT_EQ(lines.back()["totals"]["opened"], 5);
    for (const nlohmann::json& line : lines)
        if (line.value("file", "") == "Objects/cut.lwo") {
            EXPECT_EQ(line["opened"], false);
            EXPECT_NE(line["error"].get<std::string>().find("IFF length"), std::string::npos) << line;
        } else if (line.value("file", "") == "Objects/painted.lwo") {
            EXPECT_EQ(line["missing"].size(), 1u) << line;
        }
}

TEST(HlvtoolCheck, AFolderThatIsNotThereIsAnError)
{
    CheckFolder folder;
    const ProgramRun run = runInFolder(folder.path, kTool + " check nowhere");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("nowhere: is not a folder"), std::string::npos) << run.errors;
}
