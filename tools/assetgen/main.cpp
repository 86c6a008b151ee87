// skydrift-assets OUTDIR: writes the show's whole demo/ folder into OUTDIR,
// and its high-detail pictures and scenes into OUTDIR/hd/demo.
// skydrift-assets --icons OUTDIR: writes the program's icons into OUTDIR/hicolor.
// Deterministic: every run writes the same bytes.
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/icon.h"

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

// Runs `steps` into `pack`, numbering each from the shared `started` count.
// The message of the first failure, or nothing.
std::string runSteps(const std::vector<assetgen::AssetStep>& steps, const assetgen::PackFolder& pack,
                     const char* suffix, std::atomic<size_t>& started, size_t count)
{
    try {
        for (const assetgen::AssetStep& step : steps) {
            std::printf("[%zu/%zu] %s%s\n", ++started, count, step.label.c_str(), suffix);
            std::fflush(stdout);
            step.make(pack);
        }
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

} // namespace

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
    const std::vector<assetgen::AssetStep> detailSteps = assetgen::highDetailSteps();
    const std::string root = argv[1];
    const assetgen::PackFolder pack(root);
    const assetgen::PackFolder detailPack(root + "/" + assetgen::kHighDetailFolder, assetgen::kHighDetail);
    const size_t count = steps.size() + detailSteps.size();
    // The two sets share nothing but the output folder's root; the
    // high-detail one is drawn on a second core meanwhile. Each file's bytes
    // depend only on its own step, so the order does not change them.
    std::atomic<size_t> started{0};
    std::string detailError;
    std::error_code ignored;  // a folder that cannot be made fails its first file, by name
    std::filesystem::create_directories(root + "/demo", ignored);
    std::filesystem::create_directories(root + "/" + assetgen::kHighDetailFolder + "/demo", ignored);
    std::thread detail([&] { detailError = runSteps(detailSteps, detailPack, ", high detail", started, count); });
    const std::string error = runSteps(steps, pack, "", started, count);
    detail.join();
    for (const std::string& message : {error, detailError})
        if (!message.empty()) {
            std::fprintf(stderr, "skydrift-assets: %s\n", message.c_str());
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
