#pragma once
// When each asset of the show is held: the show's asset table, for
// end-to-end checks of the managers.

#include <string>
#include <vector>

enum class AssetKind { Bitmap, Mesh, Scene };

struct ShowAsset {
    AssetKind kind;
    std::string name;
    float releasedAt;  // show time; past the end for assets the show keeps
};

const std::vector<ShowAsset>& showAssets();
// True while the asset's manager holds it.
bool isHeld(const ShowAsset& asset);
