#pragma once
#include <memory>
#include <string>
#include <vector>

#include "math/vector3.h"
#include "timeline/brush.h"

class Camera;

namespace hlv {

class Material;
class ShadowScene;

// The stencil-shadow set piece: a rotating receiver mesh and 48 small
// objects flying around it in three rings, lit by one point light and
// casting shadows on each other. Draws in the rectangle of channels 0..3
// (as BrushMeshObject) with a camera fitted to the receiver.
//
// The scene is set up at the first render that finds every mesh in the mesh
// manager; until then (and whenever a mesh has been released since) the
// layer draws nothing. It relies on the frame's stencil clear to 0.
class BrushOmbres : public Brush {
public:
    BrushOmbres();
    BrushOmbres(const BrushOmbres&) = delete;
    BrushOmbres& operator=(const BrushOmbres&) = delete;
    ~BrushOmbres() override;

    void render(float localTime) override;

    std::string receiverName;                // key in the mesh manager
    std::vector<Material*> materials;        // not owned: the receiver's, and the objects' default
    std::vector<Material*> objectMaterials;  // not owned: each object takes one at random
    std::vector<std::string> casterNames;    // each object uses one of these meshes

    const ShadowScene* shadowScene() const { return scene_.get(); }

private:
    // The receiver and the first `visible` objects; with `ownMaterials` each
    // object in its own material when it has one.
    void drawReceiverAndObjects(const Camera& camera, int visible, bool ownMaterials);
    void renderShadowVolumes(const Vector3f& light, int visible);

    std::unique_ptr<ShadowScene> scene_;
};

} // namespace hlv
