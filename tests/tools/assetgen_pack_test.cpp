// The generator writes every file the show loads, at its exact path and of
// its kind, the same bytes on every run, within the pack's size budget; and
// beside it the high-detail twin of every picture and scene, the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/run_program.h"
#include "tests/tools/assetgen_pack.h"

namespace {

enum class Kind { Jpeg, Png, Lwo2, Scene, Module, Mp3 };

struct Asset {
    const char* path;  // as the file system sees it under the pack root
    Kind kind;
};

// The show's asset table, written out here on its own so that a slip in
// the generator's own list cannot hide itself.
const Asset kAssets[] = {
    {"demo/loading.jpg", Kind::Jpeg},
    {"demo/SkyDrift.jpg", Kind::Jpeg},
    {"demo/backs/1.jpg", Kind::Jpeg},
    {"demo/backs/biglogo.jpg", Kind::Jpeg},
    {"demo/frontdrop.jpg", Kind::Jpeg},
    {"demo/pupic.jpg", Kind::Jpeg},
    {"demo/pupic_a.jpg", Kind::Jpeg},
    {"demo/greetings.jpg", Kind::Jpeg},
    {"demo/fil1.png", Kind::Png},
    {"demo/fil2.png", Kind::Png},
    {"demo/fil3.png", Kind::Png},
    {"demo/cite-alpha.png", Kind::Png},
    {"demo/intro/objet/pilot.lwo", Kind::Lwo2},
    {"demo/ombres/hlv.lwo", Kind::Lwo2},
    {"demo/ombres/1.lwo", Kind::Lwo2},
    {"demo/ombres/2.lwo", Kind::Lwo2},
    {"demo/ombres/3.lwo", Kind::Lwo2},
    {"demo/Mosquee/volum1OK2.lwo", Kind::Lwo2},
    {"demo/Mosquee/volum1OK2sym.lwo", Kind::Lwo2},
    {"demo/Mosquee/volum2OK.lwo", Kind::Lwo2},
    {"demo/Mosquee/volum2OKsym.lwo", Kind::Lwo2},
    {"demo/Mosquee/volum3OK.lwo", Kind::Lwo2},
    {"demo/Mosquee/volum3OKsym.lwo", Kind::Lwo2},
    {"demo/Mosquee/volumPlaf.lwo", Kind::Lwo2},
    {"demo/Mosquee/volumPlaf-sym.lwo", Kind::Lwo2},
    {"demo/mosquee.hlv", Kind::Scene},
    {"demo/cubes.hlv", Kind::Scene},
    {"demo/metaballs.hlv", Kind::Scene},
    {"demo/Davudare.hlv", Kind::Scene},
    {"demo/fin2.hlv", Kind::Scene},
    {"demo/_SKYD11.xm", Kind::Module},
    {"demo/_SKYD22.xm", Kind::Module},
    {"demo/SkyDrift.mp3", Kind::Mp3},
};

bool startsWith(const std::string& bytes, const std::string& prefix, size_t at = 0)
{
    return bytes.size() >= at + prefix.size() && bytes.compare(at, prefix.size(), prefix) == 0;
}

bool isOfKind(const std::string& bytes, Kind kind)
{
    switch (kind) {
    case Kind::Jpeg: return startsWith(bytes, "\xFF\xD8\xFF");
    case Kind::Png: return startsWith(bytes, "\x89PNG\r\n\x1A\n");
    case Kind::Lwo2: return startsWith(bytes, "FORM") && startsWith(bytes, "LWO2", 8);
    case Kind::Scene: return startsWith(bytes, std::string("class Scene\0\0\0", 14));
    case Kind::Module: return startsWith(bytes, "Extended Module: ");
    case Kind::Mp3: return startsWith(bytes, "ID3") || (bytes.size() > 1 && uint8_t(bytes[0]) == 0xFF && (uint8_t(bytes[1]) & 0xE0) == 0xE0);
    }
    return false;
}

// Pictures and scenes have a high-detail twin under hd/ with the same path.
bool hasTwin(Kind kind) { return kind == Kind::Jpeg || kind == Kind::Png || kind == Kind::Scene; }

size_t filesUnder(const std::string& folder)
{
    size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        files += entry.is_regular_file() ? 1 : 0;
    return files;
}

// The generator's own run into a fresh folder.
std::string generateInto(const std::string& folder)
{
    std::filesystem::remove_all(folder);
    ProgramRun run = runInFolder(folder, "'" + assetGenerator() + "' .");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    // It tells how far it is, step by step.
    EXPECT_NE(run.output.find("[1/"), std::string::npos) << run.output;
    return std::filesystem::absolute(folder).string();
}

} // namespace

TEST(AssetPack, EveryShowFileAtItsPathOfItsKindAndTheSameBytesEachRun)
{
    const std::string first = packRoot();
    const std::string second = generateInto("assetgen-second-run");
    uintmax_t total = 0, detailTotal = 0;
    size_t twins = 0;
    for (const Asset& asset : kAssets) {
        for (const std::string prefix : {"", "hd/"}) {
            const std::string path = prefix + asset.path;
            if (!prefix.empty() && !hasTwin(asset.kind))
                continue;
            const std::string bytes = readWholeFile(first + "/" + path);
            ASSERT_FALSE(bytes.empty()) << path << " is missing or empty";
            EXPECT_TRUE(isOfKind(bytes, asset.kind)) << path << " is not of its kind";
            EXPECT_TRUE(bytes == readWholeFile(second + "/" + path)) << path << " differs between runs";
            (prefix.empty() ? total : detailTotal) += bytes.size();
        }
        twins += hasTwin(asset.kind) ? 1 : 0;
    }
    EXPECT_LT(total, 40u * 1024 * 1024);
    EXPECT_LT(detailTotal, 40u * 1024 * 1024);
    // Nothing but the pack and its twins is left behind (the texture
    // workspaces are gone).
    EXPECT_EQ(filesUnder(second + "/demo"), std::size(kAssets));
    EXPECT_EQ(filesUnder(second + "/hd/demo"), twins);
    EXPECT_EQ(filesUnder(second + "/hd"), twins);
}

TEST(AssetPack, RefusesToRunWithoutAFolder)
{
    ProgramRun run = runInFolder("assetgen-no-arguments", "'" + assetGenerator() + "'");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errors.find("usage"), std::string::npos);
}
