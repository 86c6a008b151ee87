#include "tools/assetgen/asset_pack.h"

namespace assetgen {

void addObjectSteps(std::vector<AssetStep>& steps)
{
    addCraftStep(steps);
    addShadowObjectSteps(steps);
    addLightObjectSteps(steps);
}

} // namespace assetgen
