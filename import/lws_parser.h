#pragma once
#include <string>

#include "import/lws_scene.h"

namespace LW {

// Reads a LightWave scene file (found through the scene's search
// directories) into `scene`. Parse errors log their message and throw the
// bool true; number errors use the load failure (bool false).
void parseLwsFile(const char* path, LwsScene& scene);

// The same over text already in memory.
void parseLwsText(std::string text, LwsScene& scene);

} // namespace LW
