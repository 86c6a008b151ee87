// skydrift-assets OUTDIR: writes the show's whole demo/ folder into OUTDIR.
// Deterministic: every run writes the same bytes.
#include <cstdio>
#include <exception>
#include <vector>

#include "tools/assetgen/asset_pack.h"

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
    std::printf("demo pack written to %s/demo\n", argv[1]);
    return 0;
}
