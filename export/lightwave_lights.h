#pragma once
// LightWave scene lights as glTF lights (the brightness: setLightBrightness),
// and the scene settings glTF has no place for.

#include <string>
#include <vector>

#include "export/gltf_export.h"
#include "import/lws_scene.h"

namespace gltf_export {

// A light of a LightWave scene: its type (linear and area lights as point
// lights), colour and cone, with its intensity as LightWave gives it (1 is
// 100 %) until setLightBrightness; what glTF cannot hold is brought into
// its range and named in `notCarried`.
Light lightOf(const LW::LwsScene::Light& item, std::vector<std::string>& notCarried);

// Names the scene's fog and backdrop colour in `notCarried`, when it has them.
void noteSettingsLeftOut(const LW::LwsScene& scene, std::vector<std::string>& notCarried);

} // namespace gltf_export
