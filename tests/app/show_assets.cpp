#include "tests/app/show_assets.h"

#include "geometry/robust_mesh.h"
#include "render/texture_image.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"

const std::vector<ShowAsset>& showAssets()
{
    constexpr float kKept = 1241.1f, B = kAtBuild;
    using K = AssetKind;
    using L = BitmapLoad;
    static const std::vector<ShowAsset> assets = {
        {K::Bitmap, "demo\\SkyDrift.jpg", B, 93.6f, B, L::Padded},
        {K::Bitmap, "demo\\backs\\1.jpg", B, 42.5f, B, L::Padded},
        {K::Mesh, "demo\\intro\\objet\\pilot.lwo", B, 15.5f, B, L::None, 1},
        {K::Bitmap, "demo\\fil1.png", 0.0f, 15.5f, 0.0f, L::Alpha},
        {K::Bitmap, "demo\\fil2.png", 0.0f, 15.5f, 0.0f, L::Alpha},
        {K::Bitmap, "demo\\fil3.png", 0.0f, 15.5f, 0.0f, L::Alpha},
        {K::Bitmap, "demo\\frontdrop.jpg", 15.5f, 42.5f, 15.5f, L::Padded},
        {K::Mesh, "demo\\ombres\\hlv.lwo", B, 42.5f, B, L::None, 3},
        {K::Mesh, "demo\\ombres\\1.lwo", B, 42.5f, B, L::None, 3},
        {K::Mesh, "demo\\ombres\\2.lwo", B, 42.5f, B, L::None, 3},
        {K::Mesh, "demo\\ombres\\3.lwo", B, 42.5f, B, L::None, 3},
        {K::Scene, "demo\\mosquee.hlv", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volum1OK2.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volum1OK2sym.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volum2OK.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volum2OKsym.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volum3OK.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volum3OKsym.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volumPlaf.lwo", B, 75.1f, B},
        {K::Mesh, "demo\\Mosquee\\volumPlaf-sym.lwo", B, 75.1f, B},
        {K::Scene, "demo\\cubes.hlv", B, 94.6f, 72.1f},
        {K::Scene, "demo\\metaballs.hlv", B, 127.6f, 90.6f},
        {K::Bitmap, "pupic", B, 126.6f, B, L::WithAlpha},
        {K::Bitmap, "demo\\greetings.jpg", 93.6f, 126.6f, 93.6f, L::Alpha},
        {K::Scene, "demo\\Davudare.hlv", B, kKept, B},
        {K::Bitmap, "demo\\cite-alpha.png", 126.6f, 166.1f, 126.6f, L::Alpha},
        {K::Scene, "demo\\fin2.hlv", B, kKept, 159.1f},
        {K::Bitmap, "demo\\backs\\biglogo.jpg", 241.1f, kKept, 241.1f, L::Padded},
    };
    return assets;
}

float loadTime(const ShowAsset& asset, bool loadDuringShow)
{
    return loadDuringShow ? asset.loadedLateAt : asset.loadedAt;
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

namespace {

BitmapLoad bitmapLoadOf(const TextureImage& texture)
{
    if (texture.rgb && !texture.hasAlpha)
        return BitmapLoad::Padded;
    if (texture.gray && texture.hasAlpha)
        return BitmapLoad::Alpha;
    if (texture.rgba && texture.hasAlpha)
        return BitmapLoad::WithAlpha;
    return BitmapLoad::None;
}

} // namespace

std::string howItDiffers(const ShowAsset& asset, bool loadDuringShow)
{
    switch (asset.kind) {
    case AssetKind::Bitmap: {
        const TextureImage* texture = BitmapManager::instance().find(asset.name.c_str());
        if (!texture)
            return "not held";
        if (bitmapLoadOf(*texture) != asset.bitmapLoad)
            return "not loaded by the bitmap manager's load of the table";
        const PixelImage* image = texture->currentImage();
        // A padded picture sits in the corner of a power-of-two texture.
        if (asset.bitmapLoad == BitmapLoad::Padded && !(isPowerOfTwo(image->width) && isPowerOfTwo(image->height)))
            return "padded to " + std::to_string(image->width) + " x " + std::to_string(image->height);
        return "";
    }
    case AssetKind::Mesh: {
        const hlv::RobustMesh* mesh = meshManager.find(asset.name.c_str());
        if (!mesh)
            return "not held";
        if (!mesh->isBuilt() || mesh->parts().empty())
            return "not built";
        // Flag 1 gives every part its smoothed corner normals.
        if (mesh->parts()[0].hasNormals() != bool(asset.meshFlags & hlv::RobustMesh::ComputeNormals))
            return "built with other flags than " + std::to_string(asset.meshFlags);
        return "";
    }
    case AssetKind::Scene: {
        const SceneEntry* entry = sceneManager.find(asset.name.c_str());
        if (!entry)
            return "not held";
        // A load event reads on a loader thread; the build reads at once.
        const bool threaded = loadTime(asset, loadDuringShow) != kAtBuild;
        if ((entry->loaded != nullptr) != threaded)
            return threaded ? "read at once, not on a loader thread" : "read on a loader thread";
        return "";
    }
    }
    return "";
}
