#include "tools/assetgen/camera_path.h"

#include <cmath>

#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/scene_kit.h"

namespace assetgen {

namespace {
constexpr float kRadiansToDegrees = 57.29578f;
}

std::vector<CameraKey> orbitKeys(const Orbit& o)
{
    std::vector<CameraKey> path;
    for (int k = 0; k <= o.samples; ++k) {
        float f = float(k) / float(o.samples), a = o.angle + o.sweep * f;
        float r = o.radius + o.radiusSwing * std::sin(3.14159265f * o.radiusWaves * f);
        const CosSin turn = cosSin(a);
        path.push_back({o.duration * f, {r * turn.sin, o.height + o.heightSwing * std::sin(a * o.heightRate), -r * turn.cos}, o.target});
    }
    return path;
}

CameraNode* addCameraPath(Scene& scene, SceneNode* parent, const std::vector<CameraKey>& path, const Lens& lens,
                          int behaviour)
{
    std::vector<std::pair<float, float>> x, y, z, pitch, yaw;
    float previousYaw = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const CameraKey& key = path[i];
        Vector3f d = normalize(key.target - key.eye);
        // The node's rotation takes +Z to (-sin yaw cos pitch, -sin pitch, cos yaw cos pitch).
        float heading = std::atan2(-d.x, d.z) * kRadiansToDegrees;
        if (i > 0)  // the shortest turn from the previous heading
            heading = previousYaw + std::remainder(heading - previousYaw, 360.0f);
        previousYaw = heading;
        x.push_back({key.time, key.eye.x});
        y.push_back({key.time, key.eye.y});
        z.push_back({key.time, key.eye.z});
        pitch.push_back({key.time, -std::asin(d.y) * kRadiansToDegrees});
        yaw.push_back({key.time, heading});
    }
    TransformNode* rig = addTransform(scene, parent, lw6(keys(pitch, behaviour), keys(yaw, behaviour), keys({{0, 0}}, behaviour)),
                                      nullptr, lw6(keys(x, behaviour), keys(y, behaviour), keys(z, behaviour)));
    return addCamera(scene, rig, lens.halfWidth, lens.halfHeight, lens.nearDistance, lens.farDistance);
}

void addCameraFlights(Scene& scene, SceneNode* parent, const std::vector<CameraFlight>& flights, const Lens& lens)
{
    for (auto flight = flights.rbegin(); flight != flights.rend(); ++flight)
        addCameraPath(scene, parent, flight->path, lens, flight->behaviour);
}

} // namespace assetgen
