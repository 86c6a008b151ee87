#pragma once
// When and how each asset of the show is held: the show's asset table, for
// end-to-end checks of the managers.

#include <string>
#include <vector>

enum class AssetKind { Bitmap, Mesh, Scene };

// How the bitmap manager turns a picture into a texture.
enum class BitmapLoad { None, Padded, Alpha, WithAlpha };

// The load time of what the show's build loads before the clock starts.
constexpr float kAtBuild = -1.0f;

struct ShowAsset {
    AssetKind kind;
    std::string name;
    float loadedAt;      // show time of its load event, or kAtBuild
    float releasedAt;    // show time; past the end for assets the show keeps
    float loadedLateAt;  // loadedAt when the show loads during the show
    BitmapLoad bitmapLoad = BitmapLoad::None;
    unsigned meshFlags = 0;  // the build flags of a mesh
};

const std::vector<ShowAsset>& showAssets();
// The asset's load time in the given loading mode.
float loadTime(const ShowAsset& asset, bool loadDuringShow);
// True while the asset's manager holds it.
bool isHeld(const ShowAsset& asset);
// Empty when the held asset was loaded as the table says (the bitmap
// manager's load, the mesh's build flags, a scene loaded at once or on a
// loader thread); else what differs.
std::string howItDiffers(const ShowAsset& asset, bool loadDuringShow);
