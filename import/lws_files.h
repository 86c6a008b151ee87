#pragma once
// Finding the files a LightWave scene names: relative names are tried in
// the scene record's search directories first.

#include <string>

#include "import/lw_scene.h"

namespace LW {

bool fileExists(const std::string& path);

// The first "directory\path" that exists for a relative path, else `path`
// itself.
std::string locateFile(const std::string& path, const Scene& scene);

} // namespace LW
