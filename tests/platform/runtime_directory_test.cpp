#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/runtime_directory.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder of the test's own stands in for /tmp.
std::string useTemporaryFolder(const char* name)
{
    const fs::path folder = fs::absolute(name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    setenv("TMPDIR", folder.c_str(), 1);
    return folder.string();
}

bool privateToUs(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()
        && (info.st_mode & 0777) == 0700;
}

std::string runtimeDirectory()
{
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    return value ? value : "";
}

} // namespace

TEST(RuntimeDirectory, AMissingOrRelativeOneBecomesAPrivateDirectoryKeptForLaterRuns)
{
    const std::string temporary = useTemporaryFolder("runtime_missing");
    const std::string own = temporary + "/skydrift-runtime-" + std::to_string(getuid());
    unsetenv("XDG_RUNTIME_DIR");
    platform::provideRuntimeDirectory();
    EXPECT_EQ(runtimeDirectory(), own);
    EXPECT_TRUE(privateToUs(own));

    // A later run (or a relative value) gets the same one back.
    setenv("XDG_RUNTIME_DIR", "run/user", 1);
    platform::provideRuntimeDirectory();
    EXPECT_EQ(runtimeDirectory(), own);
    setenv("XDG_RUNTIME_DIR", "", 1);
    platform::provideRuntimeDirectory();
    EXPECT_EQ(runtimeDirectory(), own);
}

TEST(RuntimeDirectory, ASessionsOwnIsLeftAlone)
{
    useTemporaryFolder("runtime_session");
    setenv("XDG_RUNTIME_DIR", "/run/user/4321", 1);
    platform::provideRuntimeDirectory();
    EXPECT_EQ(runtimeDirectory(), "/run/user/4321");
}

TEST(RuntimeDirectory, ANameOthersCanEnterOrALinkIsNotUsed)
{
    const std::string temporary = useTemporaryFolder("runtime_taken");
    const std::string own = temporary + "/skydrift-runtime-" + std::to_string(getuid());
    fs::create_directory(own);
    chmod(own.c_str(), 0755);
    unsetenv("XDG_RUNTIME_DIR");
    platform::provideRuntimeDirectory();
    const std::string fresh = runtimeDirectory();
    EXPECT_NE(fresh, own);
    EXPECT_EQ(fresh.rfind(temporary + "/skydrift-runtime-", 0), 0u) << fresh;
    EXPECT_TRUE(privateToUs(fresh));

    // A link in its place, even to a private directory, is not followed.
    fs::remove(own);
    fs::create_directory_symlink(fresh, own);
    unsetenv("XDG_RUNTIME_DIR");
    platform::provideRuntimeDirectory();
    EXPECT_NE(runtimeDirectory(), own);
    EXPECT_TRUE(privateToUs(runtimeDirectory()));
}
