#include "tools/assetgen/asset_pack.h"

namespace assetgen {

void addSceneSteps(std::vector<AssetStep>& steps)
{
    addHallSceneStep(steps);
    addCubesSceneStep(steps);
    addMetaballsSceneStep(steps);
    addLandscapeSceneStep(steps);
    addFinaleSceneStep(steps);
}

} // namespace assetgen
