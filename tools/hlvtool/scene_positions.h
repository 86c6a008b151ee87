#pragma once
// `hlvtool info FILE --time T`: where every node of a scene is at a time,
// as text or JSON. This is how scene makers check where their things are.

#include <map>
#include <string>
#include <vector>

#include "import/lws_scene.h"

class Scene;
class SceneNode;

namespace hlvtool {

// What each transform node made for a LightWave item stands for: "object
// PATH" (the path as the scene line gives it), "null NAME", "light NAME" or
// "camera NAME".
using ItemLabels = std::map<const SceneNode*, std::string>;
ItemLabels itemLabels(const LW::LwsScene& record);

// Evaluates the scene at `seconds`, then lists its nodes in number order:
// kind, parent, world position (the world matrix applied to the origin),
// the item label where there is one, and for cameras eye and view direction.
std::string describePositions(Scene& scene, const ItemLabels& labels, float seconds, bool json);

// The same for a scene file, or a LightWave scene when `lightWave` is set
// (its objects looked for in `search`, or beside it); false with `error`
// naming the file.
bool describeFileAtTime(const std::string& path, bool lightWave, const std::vector<std::string>& search, float seconds,
                        bool json, std::string& text, std::string& error);

} // namespace hlvtool
