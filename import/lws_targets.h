#pragma once
// Targeted items ("TargetItem"): LightWave turns such an item to face its
// target at every moment. The scene nodes have no such link, so the turn is
// baked into the item's rotation channels, one key per frame.

#include <vector>

#include "import/lws_scene.h"

class TransformNode;

namespace LW {

// `transforms` holds each item's node, linked to its parents; `targets`
// each item's target index, or -1. A targeted item's heading and pitch
// become keys at every frame of the scene (at its frame rate) that point
// it at its target; its bank stays its own.
void bakeTargets(const LwsScene& scene, const std::vector<TransformNode*>& transforms, const std::vector<int>& targets);

} // namespace LW
