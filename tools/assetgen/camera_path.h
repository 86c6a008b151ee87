#pragma once
// Camera flights: a transform node whose position and heading follow
// smooth keys through (time, eye, target) samples, carrying a camera node
// that looks along its +Z axis.

#include <vector>

#include "math/envelope.h"
#include "math/vector3.h"

class Scene;
class SceneNode;
class CameraNode;

namespace assetgen {

struct CameraKey {
    float time;
    Vector3f eye;
    Vector3f target;
};

struct Lens {
    float halfWidth = 0.75f;  // at the near distance; 4:3 with halfHeight
    float halfHeight = 0.5625f;
    float nearDistance = 1.0f;
    float farDistance = 400.0f;
};

// `behaviour` applies at both ends of every key track (Envelope::Constant
// to stop, Envelope::Repeat to loop when the last sample equals the first).
CameraNode* addCameraPath(Scene& scene, SceneNode* parent, const std::vector<CameraKey>& path, const Lens& lens,
                          int behaviour = Envelope::Constant);

} // namespace assetgen
