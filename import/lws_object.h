#pragma once
// Objects as a scene import reads them: the raw mesh, and for each surface
// tag of the mesh the scene record's surface.

#include <memory>
#include <vector>

#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"
#include "import/lwo2_object.h"
#include "import/lwo2_subdivision.h"

namespace LW {

struct SceneObject {
    std::unique_ptr<hlv::RobustMesh> mesh;  // not built yet
    std::vector<uint32_t> tagSurface;       // mesh tag -> index into the scene's surfaces
    std::vector<Lwo2Layer> layers;          // every layer of the file, read or not
    SubdivisionCounts subdivision;          // its SubPatch polygons and what they became
};

// Reads an LWO2, LWO3 or LWOB object into `scene`, its surfaces as LightWave
// shows them (MeshRules::LightWave): the object's surfaces join the scene's
// as its own, whatever other objects call theirs. Other IFF forms fail with
// "Unsupported object format".
//
// `layer` 0 reads the whole object, every layer in place. N >= 1 reads one
// layer as a scene's "LoadObjectLayer N" names it: LightWave counts layers
// from 1 there and from 0 in the LAYR chunk, so N takes the layer whose LAYR
// number is N - 1 (Modeler leaves out empty layers, so the numbers may have
// gaps). Data before the first LAYR, and an object without any (LWOB files
// always), are layer 1. A layer the file does not hold fails the load.
//
// SubPatch polygons are subdivided `subdivisionLevel` times (the scene
// item's level; `scene.subdivisionOverride` where it is set).
SceneObject readSceneObject(const char* path, Scene& scene, uint32_t layer,
                            uint32_t subdivisionLevel = kDefaultSubdivisionLevel);

// The whole object.
inline SceneObject readSceneObject(const char* path, Scene& scene) { return readSceneObject(path, scene, 0); }

} // namespace LW
