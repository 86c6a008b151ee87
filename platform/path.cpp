#include "platform/path.h"

#include <algorithm>
#include <cstring>

#include "platform/show_pack.h"

namespace platform {

namespace {

// The show's own names start so; the pack folder stands in for it.
const std::string kPackPrefix = "demo\\";
std::string g_packFolder;

} // namespace

void usePackFolder(const std::string& folder) { g_packFolder = folder; }

std::string filesystemPath(const std::string& resourceName)
{
    const bool inPack =
        !g_packFolder.empty() && resourceName.compare(0, kPackPrefix.size(), kPackPrefix) == 0;
    std::string path = inPack ? resourceName.substr(kPackPrefix.size()) : resourceName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return inPack ? g_packFolder + "/" + path : path;
}

FILE* openResource(const std::string& resourceName, const char* mode)
{
    return std::fopen(filesystemPath(resourceName).c_str(), mode);
}

const char* fileNamePart(const char* path)
{
    const char* name = path;
    for (const char* c = path; *c; ++c) {
        if (*c == '\\' || *c == '/')
            name = c + 1;
    }
    return name;
}

std::string renameExtension(const std::string& path, const char* extension)
{
    size_t nameStart = static_cast<size_t>(fileNamePart(path.c_str()) - path.c_str());
    size_t dot = path.rfind('.');
    size_t stemEnd = (dot != std::string::npos && dot >= nameStart) ? dot : path.size();
    return path.substr(0, stemEnd) + extension;
}

} // namespace platform
