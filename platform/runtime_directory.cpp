#include "platform/runtime_directory.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A directory only this user can enter, and not a link someone else placed.
bool privateDirectory(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()
        && (info.st_mode & 077) == 0;
}

std::string makePrivateDirectory()
{
    std::error_code ignored;
    const std::string base = std::filesystem::temp_directory_path(ignored).string();
    const std::string prefix = (base.empty() ? std::string("/tmp") : base) + "/skydrift-runtime-";
    // One directory per user, kept for later runs.
    const std::string own = prefix + std::to_string(getuid());
    if ((mkdir(own.c_str(), 0700) == 0 || errno == EEXIST) && privateDirectory(own))
        return own;
    // Someone else holds that name: a fresh one for this run.
    std::string fresh = prefix + "XXXXXX";
    return mkdtemp(fresh.data()) ? fresh : std::string();
}

} // namespace

void provideRuntimeDirectory()
{
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current && current[0] == '/')
        return;
    const std::string path = makePrivateDirectory();
    if (!path.empty())
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
}

} // namespace platform
