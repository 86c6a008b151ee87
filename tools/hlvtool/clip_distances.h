#pragma once
// Clipping distances for a LightWave scene that sets none. LightWave itself
// has no far clip and draws from very near; the importer's defaults (near
// 1, far 2500) hide a small model seen from close by, or a large landscape.

#include <string>

class Scene;

namespace hlvtool {

// Which distances the scene file sets: "NearClipDistance" (LightWave) and
// "HL_FarClipDistance" (written by this project's own scenes).
struct ClipSettings {
    bool nearSet = false;
    bool farSet = false;
};
ClipSettings clipSettingsOf(const std::string& lightWaveScenePath);

// For camera `camera` at `seconds` (the scene evaluated there): the distances
// not set are fitted to the items' boxes, the near one small enough that
// every item in front of the camera shows, the view's angle kept. Returns a
// warning when every item lies outside the camera's view, else empty.
std::string fitClipDistances(Scene& scene, int camera, float seconds, const ClipSettings& settings);

} // namespace hlvtool
