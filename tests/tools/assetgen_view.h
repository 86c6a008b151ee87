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

// Clears the frame as the main loop does.
void clearFrame();

// Draws `scene` through `camera` at `seconds` into the pixel rectangle as
// the scene layer does: backdrop colour (or depth only) and far depth over
// the rectangle, then the scene; with `stencilZeroOnly`, only where the
// stencil holds 0.
struct SceneView {
    int x = 0, y = 0, width = 800, height = 600;
    bool fillBackdrop = true;
    bool stencilZeroOnly = false;
};
void drawSceneView(Scene& scene, int camera, float seconds, const SceneView& view);

// A whole frame: cleared, the scene over the screen, then each `shafts` mesh
// through the scene's camera with a volumetric material.
void drawSceneFrame(Scene& scene, int camera, float seconds, const std::vector<hlv::RobustMesh*>& shafts = {});

// Statistics of the whole frame; saves it as `name`.png when asked to.
FrameStats frameStats(const Scene& scene, const std::string& name);
