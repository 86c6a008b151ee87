#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tests/support/run_program.h"
#include "tools/writers/replace_file.h"

namespace {

namespace fs = std::filesystem;

struct Folder {
    Folder() : path((fs::current_path() / ("replace_" + std::string(
                         ::testing::UnitTest::GetInstance()->current_test_info()->name()))).string())
    {
        fs::remove_all(path);
        fs::create_directories(path);
        std::ofstream(path + "/target") << "old";
    }
    ~Folder() { fs::remove_all(path); }
    size_t files() const { return size_t(std::distance(fs::directory_iterator(path), fs::directory_iterator())); }
    std::string path;
};

void write(const std::string& path, const char* text) { std::ofstream(path) << text; }

} // namespace

TEST(ReplaceFile, TheTargetChangesOnlyOnceTheNewFileIsWhole)
{
    Folder folder;
    const std::string target = folder.path + "/target";
    std::string seen;
    writers::replaceFile(target, [&](const std::string& temporary) {
        seen = temporary;
        EXPECT_EQ(fs::path(temporary).parent_path(), fs::path(target).parent_path()) << "beside the target";
        EXPECT_TRUE(fs::exists(temporary));
        EXPECT_EQ(readWholeFile(target), "old") << "untouched while writing";
        write(temporary, "new");
    });
    EXPECT_EQ(readWholeFile(target), "new");
    EXPECT_FALSE(fs::exists(seen));
    EXPECT_EQ(folder.files(), 1u);

    // A failure while writing: the old file stays, the message names the
    // target where the writer named its temporary file.
    try {
        writers::replaceFile(target, [&](const std::string& temporary) {
            write(temporary, "half");
            throw std::runtime_error(temporary + ": disk full");
        });
        ADD_FAILURE() << "no error";
    } catch (const writers::ReplaceFileError& error) {
        EXPECT_EQ(std::string(error.what()), target + ": disk full");
    }
    EXPECT_THROW(writers::replaceFile(target, [](const std::string&) { throw 7; }), int);
    EXPECT_EQ(readWholeFile(target), "new");
    EXPECT_EQ(folder.files(), 1u);

    EXPECT_THROW(writers::replaceFile(folder.path + "/no/such/folder/file", [](const std::string&) {}),
                 writers::ReplaceFileError);
}

// Stopped half way (Ctrl-C, a kill): the temporary file goes with the process.
TEST(ReplaceFile, AStoppedWriteLeavesTheTargetAndNoTemporaryFile)
{
    Folder folder;
    const std::string target = folder.path + "/target";
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        EXPECT_EXIT(writers::replaceFile(target,
                                         [&](const std::string& temporary) {
                                             write(temporary, "half");
                                             std::raise(signal);
                                         }),
                    ::testing::KilledBySignal(signal), "")
            << signal;
        EXPECT_EQ(readWholeFile(target), "old");
        EXPECT_EQ(folder.files(), 1u) << signal;
    }
}
