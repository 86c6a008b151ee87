#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/path.h"
#include "platform/show_pack.h"

namespace fs = std::filesystem;

namespace {

// A tree of folders under a fresh root; each entry is a folder relative to it.
std::string makeTree(const std::string& name, const std::vector<std::string>& folders)
{
    const fs::path root = fs::absolute(name);
    fs::remove_all(root);
    for (const std::string& folder : folders)
        fs::create_directories(root / folder);
    return root.string();
}

} // namespace

TEST(ShowPack, FoundWhereAnInstalledOrBuiltProgramKeepsIt)
{
    // program folder and current folder are given relative to the root;
    // `found` is the folder the show's files are read from ("" for none).
    const struct {
        const char* name;
        std::vector<std::string> folders;
        const char* chosen;
        const char* program;
        const char* current;
        const char* found;
    } cases[] = {
        {"installed, started from anywhere", {"usr/bin", "usr/share/skydrift", "home/demo"}, "", "usr/bin", "home",
         "usr/share/skydrift"},
        {"started beside its files", {"opt/bin", "home/demo"}, "", "opt/bin", "home", "home/demo"},
        {"the player in the build folder", {"build/demo", "build/tools", "elsewhere"}, "", "build", "elsewhere",
         "build/demo"},
        {"a tool in the build folder's tools/", {"build/demo", "build/tools", "elsewhere"}, "", "build/tools",
         "elsewhere", "build/demo"},
        {"a named folder wins over the installed one", {"usr/bin", "usr/share/skydrift", "mine"}, "mine", "usr/bin",
         ".", "mine"},
        {"a named build folder means its demo/", {"usr/bin", "b/demo"}, "b", "usr/bin", ".", "b/demo"},
        {"nowhere", {"usr/bin", "home"}, "", "usr/bin", "home", ""},
        {"a named folder that is not there is not replaced", {"usr/bin", "usr/share/skydrift"}, "gone", "usr/bin",
         ".", ""},
    };
    for (const auto& c : cases) {
        const std::string root = makeTree("show_pack_tree", c.folders);
        const platform::PackSearch search =
            platform::findShowPackFrom(c.chosen, root + "/" + c.program, root + "/" + c.current);
        const std::string expected = *c.found ? (fs::path(root) / c.found).lexically_normal().string() : "";
        EXPECT_EQ(search.folder, expected) << c.name;
        if (!*c.found) {
            // The message names every place it looked.
            EXPECT_FALSE(search.looked.empty()) << c.name;
            for (const std::string& folder : search.looked)
                EXPECT_NE(search.error.find(folder.substr(root.size() + 1)), std::string::npos)
                    << c.name << ": " << search.error;
        }
    }
}

TEST(ShowPack, TheShowsNamesOpenInThePackFolderAndNothingElseMoves)
{
    const std::string root = makeTree("show_pack_open", {"pack/backs"});
    std::ofstream(root + "/pack/backs/1.jpg") << "picture";
    platform::usePackFolder(root + "/pack");
    FILE* file = platform::openResource("demo\\backs\\1.jpg", "rb");
    ASSERT_NE(file, nullptr);
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, 7, file), 7u);
    std::fclose(file);
    EXPECT_STREQ(text, "picture");
    // A user's own paths, and names that only begin like the show's, stay as given.
    EXPECT_EQ(platform::filesystemPath("demo/backs/1.jpg"), "demo/backs/1.jpg");
    EXPECT_EQ(platform::filesystemPath("demolition\\x.lwo"), "demolition/x.lwo");
    EXPECT_EQ(platform::filesystemPath("Objects\\demo\\x.lwo"), "Objects/demo/x.lwo");
    platform::usePackFolder("");
    EXPECT_EQ(platform::filesystemPath("demo\\backs\\1.jpg"), "demo/backs/1.jpg");
}

TEST(ShowPack, HighDetailTwinsOpenWhereEachLayoutKeepsThem)
{
    const struct {
        const char* name;
        const char* pack;  // relative to the root
        const char* twin;  // where "hd\demo\backs\1.jpg" is kept
    } cases[] = {
        {"installed: the pack's hd/", "usr/share/skydrift", "usr/share/skydrift/hd/backs/1.jpg"},
        {"a build tree: hd/demo/ beside demo/", "build/demo", "build/hd/demo/backs/1.jpg"},
    };
    for (const auto& c : cases) {
        const std::string root = makeTree("show_pack_detail", {c.pack});
        fs::create_directories(fs::path(root) / fs::path(c.twin).parent_path());
        std::ofstream(root + "/" + c.twin) << "twin";
        platform::usePackFolder(root + "/" + c.pack);
        FILE* file = platform::openResource("hd\\demo\\backs\\1.jpg", "rb");
        EXPECT_NE(file, nullptr) << c.name;
        if (file)
            std::fclose(file);
    }
    platform::usePackFolder("");
}
