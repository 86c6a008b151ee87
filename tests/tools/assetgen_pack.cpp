#include "tests/tools/assetgen_pack.h"

#include <cstdlib>
#include <filesystem>

#include "tests/support/run_program.h"

std::string buildFolder()
{
    if (const char* dir = std::getenv("SKYDRIFT_BUILD_DIR"))
        return dir;
    static const std::string folder = std::filesystem::absolute("../..").lexically_normal().string();
    return folder;
}

std::string assetGenerator()
{
    return buildFolder() + "/tools/skydrift-assets";
}

const std::string& packRoot()
{
    static const std::string root = [] {
        std::string built = buildFolder();
        if (std::filesystem::exists(built + "/demo/SkyDrift.mp3"))
            return built;
        std::string own = std::filesystem::absolute("assetgen-own-pack").string();
        runInFolder(own, "'" + assetGenerator() + "' .");
        return own;
    }();
    return root;
}

void enterPack()
{
    std::filesystem::current_path(packRoot());
}
