#pragma once
// hlvtool render: one frame of a scene file, of a LightWave scene (imported
// first) or of a LightWave object on its own, as a PNG picture.

#include <string>

namespace hlvtool {

struct RenderRequest {
    std::string path;
    std::string picture;
    std::string search;  // where a LightWave scene's objects and images are looked for (default: its folder)
    int camera = 0;
    float seconds = 0;
    bool sizeGiven = false;  // else a LightWave scene's picture takes the scene's frame shape
    int samples = 1;
};

// Tells the kind of the file by its content and draws it; false with `error`
// naming the file on any failure.
bool renderFile(const RenderRequest& request, std::string& error);

// A LightWave object lit and framed by its bounding box, as the show frames
// its turning object: centred, tilted towards the camera and turning about
// its vertical axis, a full turn every 10 seconds.
bool renderObjectFrame(const RenderRequest& request, std::string& error);

// A LightWave scene lit by its own lights (at most eight), its objects
// faded by their dissolve, through camera N at the scene's frame aspect.
bool renderLightWaveScene(const RenderRequest& request, std::string& error);

} // namespace hlvtool
