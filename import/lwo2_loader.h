#pragma once
#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"

// Reads a LightWave object (LWO2) into a new, not yet built mesh owned by the
// caller. Returns null when the file is an IFF file of another form type.
// Input that cannot be used (missing file, broken IFF structure, data past
// the end of a chunk, undefined points, missing UV maps) logs "Error !! ..."
// and throws the bool false. `searchDirectory` (may be null) is tried first
// for relative paths.
hlv::RobustMesh* loadLWO2(const char* path, const char* searchDirectory);

namespace LW {

// The same within a scene import: the object's surfaces join the scene
// record's, and its search directories are used.
hlv::RobustMesh* loadLWO2(const char* path, Scene& scene);

} // namespace LW
