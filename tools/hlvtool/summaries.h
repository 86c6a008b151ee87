#pragma once
// What `hlvtool info` prints about scenes and objects, as text or JSON.

#include <string>
#include <vector>

#include "import/lws_scene.h"

class Scene;

namespace hlvtool {

// The frame range of a LightWave scene, when the scene came from one.
struct FrameRange {
    bool known = false;
    int first = 0, last = 0;
    float framesPerSecond = 0;
};

// The scene is evaluated at time 0 first, so that cameras are where they
// start. `files` are those a LightWave scene needed, with where they were found.
std::string describeScene(Scene& scene, const FrameRange& frames, bool json,
                          const std::vector<LW::LwsScene::FileUse>& files = {});

// Reads a LightWave object as the shadow layer builds it (normals and
// edges) and describes it, its pictures looked for in `search` too; throws
// as the importer does.
std::string describeObject(const std::string& path, bool json, const std::string& search = {});

} // namespace hlvtool
