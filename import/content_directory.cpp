#include "import/content_directory.h"

#include <filesystem>

#include "import/importer_context.h"
#include "import/lws_scene.h"
#include "import/name_folding.h"
#include "log/logger.h"
#include "platform/path.h"

namespace LW {

namespace {

constexpr int kLevelsAbove = 3;
constexpr size_t kMaxPartsTried = 12;

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

// The search folders (the user's own choice), then the scene's folder and
// each folder above it: the places a content-relative name is tried against. They are made absolute,
// so that what is found is opened as it is, not through a search folder.
std::vector<std::string> contentFolders(const std::string& sceneFolder, const std::vector<std::string>& searchFolders)
{
    auto absolute = [](const std::string& folder) {
        std::error_code error;
        const std::filesystem::path path =
            std::filesystem::absolute(platform::filesystemPath(folder.empty() ? "." : folder), error);
        if (error)
            return std::filesystem::path();
        std::filesystem::path normal = path.lexically_normal();
        return normal.has_filename() || !normal.has_relative_path() ? normal : normal.parent_path();
    };
    std::vector<std::string> folders;
    for (const std::string& search : searchFolders)
        if (!absolute(search).empty())
            folders.push_back(absolute(search).string());
    // The content directory holds the scene's folder a level or two down
    // ("Scenes/", "Scenes/Chapter 1/"); further up, and at the root, lie
    // other people's files.
    // No scene folder (an object or a text on its own) is none: not the
    // working folder.
    std::filesystem::path folder = sceneFolder.empty() ? std::filesystem::path() : absolute(sceneFolder);
    for (int level = 0; level <= kLevelsAbove && !folder.empty() && folder.has_relative_path(); ++level) {
        folders.push_back(folder.string());
        folder = folder.parent_path();
    }
    return folders;
}

std::string joined(const std::string& folder, const std::vector<std::string>& parts)
{
    std::string path = folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    for (const std::string& part : parts)
        path += "/" + part;
    return path;
}

// The path under `folder` whose parts fold as `parts` do, one folder at a
// time; empty when a part has no such entry.
std::string foldedPath(FoldedFolders& folded, const std::string& folder, const std::vector<std::string>& parts)
{
    std::string path = joined(folder, {});
    for (const std::string& part : parts) {
        const std::string entry = folded.entry(path, part);
        if (entry.empty())
            return {};
        path += "/" + entry;
    }
    return path;
}

} // namespace

std::string findContentFile(const std::string& written, const std::string& sceneFolder,
                            const std::vector<std::string>& searchFolders)
{
    if (written.empty())
        return {};
    const std::string path = platform::filesystemPath(written);
    const bool absolute = !path.empty() && path[0] == '/';
    if (absolute && isFile(written))
        return written;
    const std::vector<std::string> parts = partsOf(written);
    const std::vector<std::string> folders = contentFolders(sceneFolder, searchFolders);
    // Past a few folders deep the leading ones belong to the other machine:
    // trying every one of hundreds would only cost time.
    const size_t firstTried = parts.size() > kMaxPartsTried ? parts.size() - kMaxPartsTried : 0;
    // Every place with the name exactly as written before any place with
    // its letters in another case.
    FoldedFolders folded;
    for (const bool exact : {true, false}) {
        for (size_t first = firstTried; first < parts.size(); ++first) {
            for (const std::string& folder : folders) {
                for (const char* subfolder : {"", "Objects", "Images"}) {
                    std::vector<std::string> tail(parts.begin() + std::ptrdiff_t(first), parts.end());
                    if (*subfolder)
                        tail.insert(tail.begin(), subfolder);
                    const std::string candidate = exact ? joined(folder, tail) : foldedPath(folded, folder, tail);
                    if (!candidate.empty() && isFile(candidate))
                        return candidate;
                }
            }
        }
    }
    // Never from the working folder: what is found must not depend on where
    // the program was started.
    return {};
}

std::string locateSceneFile(LwsScene& scene, const std::string& written, const std::string& neededBy)
{
    const std::string found = findContentFile(written, scene.sceneFolder, scene.searchDirectories);
    scene.files.push_back({written, neededBy, found, {}});
    if (found.empty()) {
        if (scene.strict)
            loadFailuref("The file '%s' (needed by %s) is not found.", written.c_str(), neededBy.c_str());
        hlv::log("\n%s%s'%s' (needed by %s) is not found.", indent(), kMissingFileWarning, written.c_str(),
                 neededBy.c_str());
    }
    return found;
}

} // namespace LW
