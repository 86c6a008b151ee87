#include "platform/path.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/show_pack.h"

namespace platform {

namespace {

// The show's own names start so; the pack folder stands in for the first,
// the folder of its high-detail twins for the second.
const std::string kPackPrefix = "demo\\";
const std::string kDetailPrefix = "hd\\demo\\";
std::string g_packFolder;
std::string g_detailFolder;

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

void usePackFolder(const std::string& folder)
{
    g_packFolder = folder;
    // Installed, the twins are the pack's hd/; in a build tree, hd/demo/ beside demo/.
    std::error_code ignored;
    const std::filesystem::path installed = std::filesystem::path(folder) / "hd";
    const std::filesystem::path built = std::filesystem::path(folder) / ".." / "hd" / "demo";
    g_detailFolder = std::filesystem::is_directory(installed, ignored) || !std::filesystem::is_directory(built, ignored)
                         ? installed.lexically_normal().string()
                         : built.lexically_normal().string();
}

std::string filesystemPath(const std::string& resourceName)
{
    std::string root;
    size_t prefix = 0;
    if (!g_packFolder.empty() && startsWith(resourceName, kPackPrefix)) {
        root = g_packFolder;
        prefix = kPackPrefix.size();
    } else if (!g_packFolder.empty() && startsWith(resourceName, kDetailPrefix)) {
        root = g_detailFolder;
        prefix = kDetailPrefix.size();
    }
    std::string path = resourceName.substr(prefix);
    std::replace(path.begin(), path.end(), '\\', '/');
    return root.empty() ? path : root + "/" + path;
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
