#include "tests/app/show_assets.h"

#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"

const std::vector<ShowAsset>& showAssets()
{
    constexpr float kKept = 1241.1f;
    static const std::vector<ShowAsset> assets = {
        {AssetKind::Bitmap, "demo\\fil1.png", 15.5f},
        {AssetKind::Bitmap, "demo\\fil2.png", 15.5f},
        {AssetKind::Bitmap, "demo\\fil3.png", 15.5f},
        {AssetKind::Mesh, "demo\\intro\\objet\\pilot.lwo", 15.5f},
        {AssetKind::Bitmap, "demo\\backs\\1.jpg", 42.5f},
        {AssetKind::Bitmap, "demo\\frontdrop.jpg", 42.5f},
        {AssetKind::Mesh, "demo\\ombres\\1.lwo", 42.5f},
        {AssetKind::Mesh, "demo\\ombres\\2.lwo", 42.5f},
        {AssetKind::Mesh, "demo\\ombres\\3.lwo", 42.5f},
        {AssetKind::Mesh, "demo\\ombres\\hlv.lwo", 42.5f},
        {AssetKind::Scene, "demo\\mosquee.hlv", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volum1OK2.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volum1OK2sym.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volum2OK.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volum2OKsym.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volum3OK.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volum3OKsym.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volumPlaf.lwo", 75.1f},
        {AssetKind::Mesh, "demo\\Mosquee\\volumPlaf-sym.lwo", 75.1f},
        {AssetKind::Bitmap, "demo\\SkyDrift.jpg", 93.6f},
        {AssetKind::Scene, "demo\\cubes.hlv", 94.6f},
        {AssetKind::Bitmap, "demo\\greetings.jpg", 126.6f},
        {AssetKind::Bitmap, "pupic", 126.6f},
        {AssetKind::Scene, "demo\\metaballs.hlv", 127.6f},
        {AssetKind::Bitmap, "demo\\cite-alpha.png", 166.1f},
        {AssetKind::Scene, "demo\\Davudare.hlv", kKept},
        {AssetKind::Scene, "demo\\fin2.hlv", kKept},
        {AssetKind::Bitmap, "demo\\backs\\biglogo.jpg", kKept},
    };
    return assets;
}

bool isHeld(const ShowAsset& asset)
{
    switch (asset.kind) {
    case AssetKind::Bitmap:
        return BitmapManager::instance().contains(asset.name.c_str());
    case AssetKind::Mesh:
        return meshManager.contains(asset.name.c_str());
    case AssetKind::Scene:
        return sceneManager.contains(asset.name.c_str());
    }
    return false;
}
