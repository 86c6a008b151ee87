#pragma once
// LightWave scenes as hlvtool reads them: parsed and converted with their
// objects, textures kept for writing, the parsed record kept for what the
// scene file does not hold (frame range, item names).

#include <memory>
#include <string>
#include <vector>

#include "import/lws_scene.h"

class Scene;

namespace hlvtool {

// Objects and images are looked for in each folder of `search` in turn, or
// in the scene's own folder when there is none. Textures are uploaded for drawing, or keep their
// pixels for writing. Throws as the importer does.
enum class Textures { KeptForWriting, Uploaded };
std::unique_ptr<Scene> importLightWaveScene(const std::string& path, const std::vector<std::string>& search,
                                            LW::LwsScene& record, Textures textures = Textures::KeptForWriting);

// Writes the scene file through a temporary file beside `path`; false with
// `error` naming `path` when it cannot be written (an earlier file stays).
bool writeSceneFile(const Scene& scene, const std::string& path, std::string& error);

} // namespace hlvtool
