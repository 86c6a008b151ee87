#pragma once
#include <string>
#include <vector>

#include "timeline/brush.h"

namespace hlv {

class Material;

// A separately loaded mesh seen through the current camera of a loaded
// scene, so that it moves with the scene's animated camera (the light
// shafts of the hall). Part i is drawn with material i modulo the material
// count. Skips the frame while the scene (or its camera) or the mesh is not
// there; it never waits for a scene that is still loading.
class BrushMeshInScene : public Brush {
public:
    BrushMeshInScene() = default;
    BrushMeshInScene(const BrushMeshInScene&) = delete;
    BrushMeshInScene& operator=(const BrushMeshInScene&) = delete;
    ~BrushMeshInScene() override;

    void render(float localTime) override;

    std::string sceneName;             // key in the scene manager
    std::string meshName;              // key in the mesh manager
    std::vector<Material*> materials;  // owned
};

} // namespace hlv
