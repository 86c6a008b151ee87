#include "platform/show_pack.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {

namespace {

bool isFolder(const fs::path& path)
{
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

std::string normal(const fs::path& path)
{
    return path.lexically_normal().string();
}

// A named folder may be the pack itself or a build folder that holds demo/.
std::string packInNamedFolder(const fs::path& folder)
{
    std::error_code ignored;
    if (!fs::exists(folder / "loading.jpg", ignored) && isFolder(folder / "demo"))
        return normal(folder / "demo");
    return normal(folder);
}

} // namespace

PackSearch findShowPackFrom(const std::string& chosen, const std::string& programFolder,
                            const std::string& currentFolder)
{
    PackSearch search;
    if (!chosen.empty()) {
        const fs::path named = fs::path(currentFolder) / chosen;
        search.looked.push_back(normal(named));
        if (isFolder(named))
            search.folder = packInNamedFolder(named);
        else
            search.error = "the show's files were not found: " + chosen + " is not a folder";
        return search;
    }
    const fs::path program(programFolder);
    const fs::path candidates[] = {
        program / ".." / "share" / "skydrift",  // installed
        fs::path(currentFolder) / "demo",       // started beside its files, as it always could be
        program / "demo",                       // the build tree: the player sits beside demo/
        program / ".." / "demo",                //                 the tools one folder below
    };
    for (const fs::path& candidate : candidates) {
        search.looked.push_back(normal(candidate));
        if (isFolder(candidate)) {
            search.folder = normal(candidate);
            return search;
        }
    }
    search.error = "the show's files were not found in";
    for (size_t i = 0; i < search.looked.size(); ++i)
        search.error += (i ? ", " : " ") + search.looked[i];
    search.error += "; name their folder with --data DIR or SKYDRIFT_DATA=DIR";
    return search;
}

std::string programFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : program.parent_path().string();
}

PackSearch findShowPack(const std::string& chosen)
{
    std::string named = chosen;
    const char* variable = std::getenv("SKYDRIFT_DATA");
    const bool fromVariable = named.empty() && variable && *variable;
    if (fromVariable)
        named = variable;
    std::error_code error;
    const fs::path current = fs::current_path(error);
    PackSearch search = findShowPackFrom(named, programFolder(), error ? std::string(".") : current.string());
    if (!search.error.empty() && !named.empty())
        search.error += fromVariable ? " (SKYDRIFT_DATA)" : " (--data)";
    return search;
}

} // namespace platform
