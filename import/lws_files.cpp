#include "import/lws_files.h"

#include <cstdio>

#include "platform/path.h"

namespace LW {

namespace {

// Relative in the resource sense: not "X:..." and not starting at a root.
bool isRelative(const std::string& path)
{
    return path.size() < 3 || (path[1] != ':' && path[0] != '\\' && path[0] != '/');
}

} // namespace

bool fileExists(const std::string& path)
{
    FILE* file = platform::openResource(path, "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

std::string locateFile(const std::string& path, const Scene& scene)
{
    if (isRelative(path)) {
        for (const std::string& directory : scene.searchDirectories) {
            const std::string candidate = directory + "\\" + path;
            if (fileExists(candidate))
                return candidate;
        }
    }
    return path;
}

} // namespace LW
