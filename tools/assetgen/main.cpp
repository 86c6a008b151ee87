// skydrift-assets OUTDIR: writes the show's whole demo/ folder into OUTDIR.
// skydrift-assets --icons OUTDIR: writes the program's icons into OUTDIR/hicolor.
// Deterministic: every run writes the same bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <stdexcept>
#include <vector>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/icon.h"

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        try {
            assetgen::writeIcons(argv[2], "io.github.skydrift.SkyDrift");
        } catch (const std::exception& error) {
            std::fprintf(stderr, "skydrift-assets: %s\n", error.what());
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: skydrift-assets OUTDIR           (writes OUTDIR/demo/...)\n"
                             "       skydrift-assets --icons OUTDIR   (writes OUTDIR/hicolor/...)\n");
        return 2;
    }
    std::vector<assetgen::AssetStep> steps;
    assetgen::addPictureSteps(steps);
    assetgen::addObjectSteps(steps);
    assetgen::addSceneSteps(steps);
    assetgen::addMusicSteps(steps);
    assetgen::PackFolder pack(argv[1]);
    try {
        for (size_t i = 0; i < steps.size(); ++i) {
            std::printf("[%zu/%zu] %s\n", i + 1, steps.size(), steps[i].label.c_str());
            std::fflush(stdout);
            steps[i].make(pack);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skydrift-assets: %s\n", error.what());
        return 1;
    }
    // Every file the show loads must now be there; list them with their sizes.
    uintmax_t total = 0;
    for (const assetgen::AssetEntry& entry : assetgen::assetTable()) {
        std::string path = pack.pathOf(entry.resourceName);
        std::error_code error;
        uintmax_t size = std::filesystem::file_size(path, error);
        if (error || size == 0) {
            std::fprintf(stderr, "skydrift-assets: %s was not written\n", path.c_str());
            return 1;
        }
        std::printf("  %9ju  %s  (%s)\n", size, entry.resourceName, assetgen::kindName(entry.kind));
        total += size;
    }
    std::printf("demo pack written to %s/demo: %zu files, %ju bytes\n", argv[1], assetgen::assetTable().size(), total);
    return 0;
}
