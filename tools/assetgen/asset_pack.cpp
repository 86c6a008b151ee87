#include "tools/assetgen/asset_pack.h"

#include <filesystem>
#include <stdexcept>

namespace assetgen {

const std::vector<AssetEntry>& assetTable()
{
    static const std::vector<AssetEntry> table = {
        {"demo\\loading.jpg", AssetKind::Jpeg},
        {"demo\\SkyDrift.jpg", AssetKind::Jpeg},
        {"demo\\backs\\1.jpg", AssetKind::Jpeg},
        {"demo\\intro\\objet\\pilot.lwo", AssetKind::Lwo2},
        {"demo\\fil1.png", AssetKind::Png},
        {"demo\\fil2.png", AssetKind::Png},
        {"demo\\fil3.png", AssetKind::Png},
        {"demo\\frontdrop.jpg", AssetKind::Jpeg},
        {"demo\\ombres\\hlv.lwo", AssetKind::Lwo2},
        {"demo\\ombres\\1.lwo", AssetKind::Lwo2},
        {"demo\\ombres\\2.lwo", AssetKind::Lwo2},
        {"demo\\ombres\\3.lwo", AssetKind::Lwo2},
        {"demo\\mosquee.hlv", AssetKind::Scene},
        {"demo\\Mosquee\\volum1OK2.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volum1OK2sym.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volum2OK.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volum2OKsym.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volum3OK.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volum3OKsym.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volumPlaf.lwo", AssetKind::Lwo2},
        {"demo\\Mosquee\\volumPlaf-sym.lwo", AssetKind::Lwo2},
        {"demo\\cubes.hlv", AssetKind::Scene},
        {"demo\\metaballs.hlv", AssetKind::Scene},
        {"demo\\pupic.jpg", AssetKind::Jpeg},
        {"demo\\pupic_a.jpg", AssetKind::Jpeg},
        {"demo\\greetings.jpg", AssetKind::Jpeg},
        {"demo\\Davudare.hlv", AssetKind::Scene},
        {"demo\\cite-alpha.png", AssetKind::Png},
        {"demo\\fin2.hlv", AssetKind::Scene},
        {"demo\\_SKYD11.xm", AssetKind::Module},
        {"demo\\_SKYD22.xm", AssetKind::Module},
        {"demo\\backs\\biglogo.jpg", AssetKind::Jpeg},
        {"demo\\SkyDrift.mp3", AssetKind::Mp3},
    };
    return table;
}

const char* kindName(AssetKind kind)
{
    switch (kind) {
    case AssetKind::Jpeg: return "JPEG picture";
    case AssetKind::Png: return "PNG picture";
    case AssetKind::Lwo2: return "LightWave object";
    case AssetKind::Scene: return "scene";
    case AssetKind::Module: return "XM module";
    case AssetKind::Mp3: return "MP3 stream";
    }
    return "?";
}

bool hasHighDetailTwin(AssetKind kind)
{
    return kind == AssetKind::Jpeg || kind == AssetKind::Png || kind == AssetKind::Scene;
}

std::vector<AssetStep> highDetailSteps()
{
    std::vector<AssetStep> steps;
    addPictureSteps(steps);
    addSceneSteps(steps);
    return steps;
}

std::string PackFolder::pathOf(const std::string& resourceName) const
{
    std::string relative = resourceName;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    std::filesystem::path path = std::filesystem::path(root_) / relative;
    std::filesystem::create_directories(path.parent_path());
    return path.string();
}

void checkWritten(bool ok, const std::string& path)
{
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

} // namespace assetgen
