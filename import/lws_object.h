#pragma once
// Objects as a scene import reads them: the raw mesh, and for each surface
// tag of the mesh the scene record's surface.

#include <memory>
#include <vector>

#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"

namespace LW {

struct SceneObject {
    std::unique_ptr<hlv::RobustMesh> mesh;  // not built yet
    std::vector<uint32_t> tagSurface;       // mesh tag -> index into the scene's surfaces
};

// Reads an LWO2 or LWOB object into `scene`. A textured surface gets texture
// coordinates for its first colour block in set 0 (its first diffuse block
// when it has no colour block) and for its first diffuse block in set 1
// when it has both. Other IFF forms fail with "Unsupported object format".
SceneObject readSceneObject(const char* path, Scene& scene);

} // namespace LW
