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

// A circling flight round `target`: the angle runs from `angle` through
// `sweep` radians; the distance swings by `radiusSwing` over `radiusWaves`
// half waves and the height by `heightSwing` at `heightRate` waves per radian.
struct Orbit {
    float duration = 20;
    int samples = 8;
    float angle = 0, sweep = 2;
    float radius = 10, radiusSwing = 0, radiusWaves = 1;
    float height = 2, heightSwing = 0, heightRate = 1;
    Vector3f target{0, 0, 0};
};
std::vector<CameraKey> orbitKeys(const Orbit& orbit);

// `behaviour` applies at both ends of every key track (Envelope::Constant
// to stop, Envelope::Repeat to loop when the last sample equals the first).
CameraNode* addCameraPath(Scene& scene, SceneNode* parent, const std::vector<CameraKey>& path, const Lens& lens,
                          int behaviour = Envelope::Constant);

// Several flights under `parent`, the flight of camera 0 first. A file
// numbers its nodes, and so its cameras, by a walk from the root that meets
// a parent's children newest first: the flights are attached from the last
// camera to the first, after everything else under `parent`.
struct CameraFlight {
    std::vector<CameraKey> path;
    int behaviour = Envelope::Constant;
};
void addCameraFlights(Scene& scene, SceneNode* parent, const std::vector<CameraFlight>& flights, const Lens& lens);

} // namespace assetgen
