#include "import/content_directory.h"

#include <filesystem>

#include "import/importer_context.h"
#include "import/lws_scene.h"
#include "log/logger.h"
#include "platform/path.h"

namespace LW {

namespace {

bool isFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(platform::filesystemPath(path), error);
}

// The path's folders and file name, without the drive or volume ("D:",
// "HD1:") and without its root.
std::vector<std::string> partsOf(const std::string& written)
{
    std::string path = written;
    const size_t colon = path.find(':');
    if (colon != std::string::npos && path.find_first_of("/\\") > colon)
        path.erase(0, colon + 1);
    std::vector<std::string> parts;
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find_first_of("/\\", begin);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(begin, end - begin);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        begin = end + 1;
    }
    return parts;
}

// The scene's folder, each folder above it, then the search folders: the
// places a content-relative name is tried against.
std::vector<std::string> contentFolders(const std::string& sceneFolder, const std::vector<std::string>& searchFolders)
{
    std::vector<std::string> folders;
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(
        platform::filesystemPath(sceneFolder.empty() ? "." : sceneFolder), error);
    if (!error) {
        folder = folder.lexically_normal();
        for (;;) {
            folders.push_back(folder.string());
            if (!folder.has_relative_path())
                break;
            folder = folder.parent_path();
        }
    }
    folders.insert(folders.end(), searchFolders.begin(), searchFolders.end());
    return folders;
}

std::string joined(const std::vector<std::string>& parts, size_t first)
{
    std::string path;
    for (size_t i = first; i < parts.size(); ++i)
        path += (path.empty() ? "" : "/") + parts[i];
    return path;
}

} // namespace

std::string findContentFile(const std::string& written, const std::string& sceneFolder,
                            const std::vector<std::string>& searchFolders)
{
    if (written.empty())
        return {};
    // A relative name is the content directory's, not the working folder's:
    // it is tried there last.
    const std::string path = platform::filesystemPath(written);
    const bool absolute = !path.empty() && path[0] == '/';
    if (absolute && isFile(written))
        return written;
    const std::vector<std::string> parts = partsOf(written);
    const std::vector<std::string> folders = contentFolders(sceneFolder, searchFolders);
    for (size_t first = 0; first < parts.size(); ++first) {
        const std::string rest = joined(parts, first);
        for (const std::string& folder : folders) {
            for (const char* subfolder : {"", "/Objects", "/Images"}) {
                const std::string candidate = folder + subfolder + "/" + rest;
                if (isFile(candidate))
                    return candidate;
            }
        }
    }
    return !absolute && isFile(written) ? written : std::string();
}

std::string locateSceneFile(LwsScene& scene, const std::string& written, const std::string& neededBy)
{
    const std::string found = findContentFile(written, scene.sceneFolder, scene.searchDirectories);
    scene.files.push_back({written, neededBy, found});
    if (found.empty()) {
        if (scene.strict)
            loadFailuref("The file '%s' (needed by %s) is not found.", written.c_str(), neededBy.c_str());
        hlv::log("\n%s** Warning: the file '%s' (needed by %s) is not found.", indent(), written.c_str(),
                 neededBy.c_str());
    }
    return found;
}

} // namespace LW
