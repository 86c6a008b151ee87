#pragma once
// Draws the generated scenes the way the show's scene layer does (viewport,
// backdrop reset, camera, evaluate, draw), reads the frame back and, when
// SKYDRIFT_ASSET_PREVIEW names a folder, saves it there as a PNG so the
// pack can be looked at without the show.

#include <string>
#include <vector>

#include "tests/support/gl_window.h"

class Scene;

namespace hlv {
class RobustMesh;
}

struct FrameStats {
    double mean = 0;       // luminance 0..255
    double deviation = 0;  // its standard deviation
    double backdropShare = 0;  // share of pixels within a few levels of the backdrop colour
};

// Clears the frame as the main loop does, draws `scene` through `camera` at
// `seconds` into the whole screen, then each `shafts` mesh through the
// scene's camera with a volumetric material.
void drawSceneFrame(Scene& scene, int camera, float seconds, const std::vector<hlv::RobustMesh*>& shafts = {});

// Statistics of the whole frame; saves it as `name`.png when asked to.
FrameStats frameStats(const Scene& scene, const std::string& name);
