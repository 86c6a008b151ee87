// skydrift-assets OUTDIR: writes the show's whole demo/ folder into OUTDIR,
// and its high-detail pictures and scenes into OUTDIR/hd/demo.
// Deterministic: every run writes the same bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "tools/assetgen/asset_pack.h"

namespace {

bool writtenSize(const assetgen::PackFolder& pack, const char* resourceName, uintmax_t* size)
{
    std::string path = pack.pathOf(resourceName);
    std::error_code error;
    *size = std::filesystem::file_size(path, error);
    if (!error && *size > 0)
        return true;
    std::fprintf(stderr, "skydrift-assets: %s was not written\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skydrift-assets OUTDIR   (writes OUTDIR/demo/...)\n");
        return 2;
    }
    std::vector<assetgen::AssetStep> steps;
    assetgen::addPictureSteps(steps);
    assetgen::addObjectSteps(steps);
    assetgen::addSceneSteps(steps);
    assetgen::addMusicSteps(steps);
    const std::vector<assetgen::AssetStep> detailSteps = assetgen::highDetailSteps();
    const std::string root = argv[1];
    const assetgen::PackFolder pack(root);
    const assetgen::PackFolder detailPack(root + "/" + assetgen::kHighDetailFolder, assetgen::kHighDetail);
    const size_t count = steps.size() + detailSteps.size();
    try {
        for (size_t i = 0; i < steps.size(); ++i) {
            std::printf("[%zu/%zu] %s\n", i + 1, count, steps[i].label.c_str());
            std::fflush(stdout);
            steps[i].make(pack);
        }
        for (size_t i = 0; i < detailSteps.size(); ++i) {
            std::printf("[%zu/%zu] %s, high detail\n", steps.size() + i + 1, count, detailSteps[i].label.c_str());
            std::fflush(stdout);
            detailSteps[i].make(detailPack);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skydrift-assets: %s\n", error.what());
        return 1;
    }
    // Every file the show loads must now be there; list them with their sizes.
    uintmax_t total = 0, detailTotal = 0;
    size_t detailFiles = 0;
    for (const assetgen::AssetEntry& entry : assetgen::assetTable()) {
        uintmax_t size = 0, detailSize = 0;
        if (!writtenSize(pack, entry.resourceName, &size))
            return 1;
        if (assetgen::hasHighDetailTwin(entry.kind)) {
            if (!writtenSize(detailPack, entry.resourceName, &detailSize))
                return 1;
            std::printf("  %9ju  %s  (%s; %ju high detail)\n", size, entry.resourceName,
                        assetgen::kindName(entry.kind), detailSize);
            ++detailFiles;
        } else {
            std::printf("  %9ju  %s  (%s)\n", size, entry.resourceName, assetgen::kindName(entry.kind));
        }
        total += size;
        detailTotal += detailSize;
    }
    std::printf("demo pack written to %s/demo: %zu files, %ju bytes\n", argv[1], assetgen::assetTable().size(), total);
    std::printf("high-detail set written to %s/%s/demo: %zu files, %ju bytes\n", argv[1],
                assetgen::kHighDetailFolder, detailFiles, detailTotal);
    return 0;
}
