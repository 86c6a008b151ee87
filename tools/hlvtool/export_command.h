#pragma once
// `hlvtool export`: a LightWave object, a LightWave scene or a scene file
// written as glTF 2.0 (.glb or .gltf).

#include <string>

namespace hlvtool {

struct ExportRequest {
    std::string path, out, search;
    float framesPerSecond = 0;  // rotation samples per second; 0: the scene's own rate
    bool verbose = false;
    bool sampled = false;        // every channel LINEAR at the frame rate (Blender 3.4 plays no CUBICSPLINE)
    bool blenderLights = false;  // light intensities as Blender's importer reads them
    // SubPatch objects subdivided this many times whatever the scene says;
    // 0 keeps the cage, -1 takes the scene's levels (3 for an object alone).
    int subdivide = -1;
};

// Writes `out` through the replacing write; false with `error` naming the
// file when the input cannot be read or the output not written (an earlier
// `out` stays as it was). `summary` says what was written.
bool exportFile(const ExportRequest& request, std::string& summary, std::string& error);

} // namespace hlvtool
