#pragma once
// What a LightWave scene sets beside its items, as glTF holds it: lights
// (their brightness: setLightBrightness), the frame's shape, and the
// settings glTF has no place for.

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

// The width over the height of a LightWave scene's frame as its pixels
// show it (FrameSize times PixelAspect), 4:3 when the scene gives none.
float lightWaveFrameAspect(const std::string& scenePath);

// What a LightWave scene sets beside its nodes, once addSceneNodes has made
// them (`made`, by the converted scene's node numbers): its lights on their
// nodes at glTF's brightness in `units`, its frame's shape on every camera,
// and its fog and backdrop colour named in `notCarried`.
void addLightWaveSettings(Document& document, const LW::LwsScene& record, const Scene& scene,
                          const std::vector<int>& made, const std::string& scenePath, LightUnits units);

} // namespace gltf_export
