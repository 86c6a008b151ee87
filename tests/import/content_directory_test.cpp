// Files a scene names by the path of the machine that saved it, found as
// LightWave's content directory finds them, and what a file not found does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "import/content_directory.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "scene/transform_node.h"
#include "tests/import/lightwave_scene_folder.h"
#include "tests/import/lws_parse.h"

namespace fs = std::filesystem;

namespace {

// A content directory: Scenes/, Objects/ (with Box.lwo and a lamp in
// props/lamp/), Images/, and a search folder of its own beside it.
class ContentTree {
public:
    // A folder per test: ctest runs this program's tests side by side.
    ContentTree()
        : root((fs::current_path() / ("content_directory_test_" +
                                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                   .string())
    {
        fs::remove_all(root);
        for (const char* folder : {"/content/Scenes", "/content/Objects/props/lamp", "/content/Images", "/elsewhere"})
            fs::create_directories(root + folder);
        lightwave_objects::writeCube(root + "/content/Objects/Box.lwo");
        lightwave_objects::writeCube(root + "/content/Objects/props/lamp/lamp.lwo");
        lightwave_objects::writeCube(root + "/elsewhere/Far.lwo");
        std::ofstream(root + "/content/Images/hull.png") << "picture";
    }
    ~ContentTree() { fs::remove_all(root); }
    std::string scenes() const { return root + "/content/Scenes"; }

    std::string root;
};

bool same(const std::string& found, const std::string& expected)
{
    std::error_code error;
    return !found.empty() && fs::equivalent(found, expected, error);
}

} // namespace

TEST(ContentDirectory, PathsSavedOnOtherMachinesAreFound)
{
    ContentTree tree;
    const std::string objects = tree.root + "/content/Objects";
    const struct {
        std::string written;
        std::string expected;
    } cases[] = {
        {"Objects/Box.lwo", objects + "/Box.lwo"},                      // relative to the content directory
        {"D:\\ship\\Box.lwo", objects + "/Box.lwo"},                    // a Windows drive: by name in Objects
        {"C:studio/props/lamp/lamp.lwo", objects + "/props/lamp/lamp.lwo"},  // drive:content-relative
        {"HD1:Objects/Box.lwo", objects + "/Box.lwo"},                  // an Amiga volume
        {"/home/artist/content/Objects/props/lamp/lamp.lwo", objects + "/props/lamp/lamp.lwo"},
        {"D:\\textures\\hull.png", tree.root + "/content/Images/hull.png"},
        {"Far.lwo", tree.root + "/elsewhere/Far.lwo"},                  // only in the search folder
        {tree.root + "/content/Objects/Box.lwo", objects + "/Box.lwo"}, // as written
    };
    for (const auto& c : cases)
        EXPECT_TRUE(same(LW::findContentFile(c.written, tree.scenes(), {tree.root + "/elsewhere"}), c.expected))
            << c.written << " found at '" << LW::findContentFile(c.written, tree.scenes(), {tree.root + "/elsewhere"})
            << "'";
    EXPECT_EQ(LW::findContentFile("D:\\gone\\Missing.lwo", tree.scenes(), {tree.root + "/elsewhere"}), "");
    EXPECT_EQ(LW::findContentFile("", tree.scenes(), {}), "");
}

TEST(ContentDirectory, AMissingObjectLeavesAnEmptyItemAndOneWarning)
{
    ContentTree tree;
    const std::string one = "NumChannels 9\n" + [] {
        std::string text;
        for (int c = 0; c < 9; ++c)
            text += "Channel " + std::to_string(c) + "\n{ Envelope\n  1\n  Key " + (c == 0 ? "4" : c >= 6 ? "1" : "0") +
                    " 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
        return text;
    }();
    // Saved on another machine: one object on a drive, one that does not
    // exist here, named by two items, with a child of the missing one.
    const std::string text = "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n"
                             "LoadObjectLayer 1 D:\\Projects\\Objects\\Box.lwo\nObjectMotion\n" + one +
                             "LoadObjectLayer 1 C:\\gone\\Missing.lwo\nObjectMotion\n" + one +
                             "LoadObjectLayer 1 C:\\gone\\Missing.lwo\nObjectMotion\n" + one +
                             "AddNullObject Child\nObjectMotion\n" + one + "ParentItem 10000001\n";
    LW::LwsScene record;
    record.sceneFolder = tree.scenes();
    CapturingLogger log;
    std::unique_ptr<Scene> scene = importLwsText(text, tree.scenes(), record);
    ASSERT_EQ(record.files.size(), 2u);
    EXPECT_TRUE(same(record.files[0].found, tree.root + "/content/Objects/Box.lwo"));
    EXPECT_EQ(record.files[1].written, "C:\\gone\\Missing.lwo");
    EXPECT_EQ(record.files[1].neededBy, "object item 2");
    EXPECT_EQ(record.files[1].found, "");
    size_t warnings = 0;
    for (size_t at = log.text.find("is not found"); at != std::string::npos; at = log.text.find("is not found", at + 1))
        ++warnings;
    EXPECT_EQ(warnings, 1u) << log.text;
    EXPECT_TRUE(log.contains("the file 'C:\\gone\\Missing.lwo' (needed by object item 2) is not found")) << log.text;
    EXPECT_EQ(scene->primitives().size(), 1u);
    // The missing items keep their transforms; the child hangs under the
    // first of them, at its offset.
    ASSERT_EQ(record.itemNodes.size(), 4u);
    EXPECT_EQ(record.itemNodes[3]->parent(), record.itemNodes[1]);
    for (const TransformNode* missing : {record.itemNodes[1], record.itemNodes[2]})
        for (const SceneNode* child = missing->first_child(); child; child = child->next_sibling())
            EXPECT_EQ(dynamic_cast<const ShapeNode*>(child), nullptr);
    scene->evaluate(0);
    EXPECT_NEAR(record.itemNodes[3]->world().transformPoint({0, 0, 0}).x, 8, 1e-5);

    LW::LwsScene strict;
    strict.sceneFolder = tree.scenes();
    strict.strict = true;
    try {
        importLwsText(text, tree.scenes(), strict);
        ADD_FAILURE() << "a missing file with --strict";
    } catch (bool) {
    }
    EXPECT_TRUE(log.contains("The file 'C:\\gone\\Missing.lwo' (needed by object item 2) is not found.")) << log.text;
}

TEST(ContentDirectory, NamesInAnotherCaseOrInLatinOneAreFoundExactNamesFirst)
{
    ContentTree tree;
    const std::string objects = tree.root + "/content/Objects";
    fs::create_directories(objects + "/Space");
    lightwave_objects::writeCube(objects + "/Space/Rocket.lwo");
    lightwave_objects::writeCube(objects + "/B\xC3\xA4ume.lwo");  // saved here in UTF-8
    lightwave_objects::writeCube(objects + "/TWIN.lwo");
    lightwave_objects::writeCube(objects + "/twin.lwo");
    const struct {
        std::string written;
        std::string expected;
    } cases[] = {
        {"OBJECTS\\SPACE\\ROCKET.LWO", objects + "/Space/Rocket.lwo"},  // in capitals, DOS style
        {"project/objects/space/rocket.lwo", objects + "/Space/Rocket.lwo"},
        {"Work:objects/Space/rocket.LWO", objects + "/Space/Rocket.lwo"},
        {"Objects/B\xE4ume.lwo", objects + "/B\xC3\xA4ume.lwo"},  // written in Latin-1
        {"OBJECTS/B\xC4UME.LWO", objects + "/B\xC3\xA4ume.lwo"},  // Latin-1 capitals
        {"Objects/B\xC3\x84UME.lwo", objects + "/B\xC3\xA4ume.lwo"},  // UTF-8 capitals
        {"Objects/twin.lwo", objects + "/twin.lwo"},  // the exact name over another case
        {"Objects/TWIN.lwo", objects + "/TWIN.lwo"},
        {"images/HULL.PNG", tree.root + "/content/Images/hull.png"},
    };
    for (const auto& c : cases) {
        const std::string found = LW::findContentFile(c.written, tree.scenes(), {});
        EXPECT_TRUE(same(found, c.expected)) << c.written << " found at '" << found << "'";
        // The name as it is on the disk, not as written.
        EXPECT_EQ(fs::path(found).filename(), fs::path(c.expected).filename()) << c.written;
    }
    EXPECT_EQ(LW::findContentFile("Objects/Spaces/Rocket.lwo", tree.scenes() + "/nowhere", {}), "");
}

TEST(ContentDirectory, TheWorkingFolderIsNeverSearched)
{
    ContentTree tree;
    // The program runs from a folder of its own holding a file of each name
    // the scene writes; the content directory holds none of them.
    const std::string working = tree.root + "/working";
    fs::create_directories(working + "/Objects");
    lightwave_objects::writeCube(working + "/Objects/Stray.lwo");
    lightwave_objects::writeCube(working + "/Stray.lwo");
    const fs::path started = fs::current_path();
    fs::current_path(working);
    for (const char* written : {"Objects/Stray.lwo", "Stray.lwo", "Work:Objects/Stray.lwo", "objects/stray.lwo"})
        EXPECT_EQ(LW::findContentFile(written, tree.scenes(), {}), "") << written;
    // The scene's own folder, given relative to the working folder, is.
    EXPECT_TRUE(same(LW::findContentFile("Stray.lwo", ".", {}), working + "/Stray.lwo"));
    fs::current_path(started);
}
