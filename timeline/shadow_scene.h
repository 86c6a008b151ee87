#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/envelope.h"
#include "math/matrix44.h"
#include "timeline/shadow_caster.h"

namespace hlv {

class Material;
class RobustMesh;

// One of the small objects flying in rings around the receiver.
struct FlyingObject {
    float spinSpeed = 0;   // degrees per second
    Vector3f spinAxis;     // not normalised
    uint32_t caster = 0;   // index into the caster lists
    Material* material = nullptr;
    Matrix44 matrix;       // object to world
    Matrix44 inverse;      // world to object
};

// What the shadow layer animates: the receiver mesh turned by three angle
// envelopes, and 48 flying objects in three rings of 16 whose heights and
// radii are envelopes too.
class ShadowScene {
public:
    static constexpr int kObjectCount = 48;
    static constexpr int kRingSize = 16;

    // Finds the meshes, prepares their silhouettes, draws the objects' random
    // set-up and keys the envelopes. Null, drawing nothing from rand, when
    // the receiver or a caster mesh is not in the mesh manager.
    static std::unique_ptr<ShadowScene> create(const std::string& receiverName,
                                               const std::vector<std::string>& casterNames,
                                               const std::vector<Material*>& materialPool);

    // True while the mesh manager still holds every mesh this scene uses.
    bool meshesHeld() const;

    // The receiver matrix and its inverse, and every object's matrices, at t.
    void animate(float t);

    // How many objects (from the first) are out at t: one more every 0.4 s
    // from t = 4, all 48 from t = 23.2.
    static int visibleCount(float t);

    RobustMesh* receiver = nullptr;
    std::unique_ptr<ShadowCaster> receiverCaster;
    Envelope receiverAngles[3];  // X, Y, Z in degrees
    float currentAngles[3] = {0, 0, 0};
    Matrix44 receiverMatrix;
    Matrix44 receiverInverse;
    std::vector<RobustMesh*> casterMeshes;
    std::vector<std::unique_ptr<ShadowCaster>> casters;
    FlyingObject objects[kObjectCount];
    Envelope ringHeights[3];
    Envelope ringRadii[3];

private:
    ShadowScene() = default;
    void keyEnvelopes();

    std::string receiverName_;
    std::vector<std::string> casterNames_;
};

} // namespace hlv
