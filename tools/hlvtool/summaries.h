#pragma once
// What `hlvtool info` prints about scenes and objects, as text or JSON.

#include <string>

class Scene;

namespace hlvtool {

// The frame range of a LightWave scene, when the scene came from one.
struct FrameRange {
    bool known = false;
    int first = 0, last = 0;
    float framesPerSecond = 0;
};

std::string describeScene(const Scene& scene, const FrameRange& frames, bool json);

// Reads a LightWave object as the shadow layer builds it (normals and
// edges) and describes it; throws as the importer does.
std::string describeObject(const std::string& path, bool json);

} // namespace hlvtool
