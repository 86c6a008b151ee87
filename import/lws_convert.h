#pragma once
// Turning a parsed LightWave scene into the player's Scene: primitives from
// its objects, surfaces with their textures, keyframe motion, the node tree
// with cameras and shapes, backdrop and fog.

#include <map>
#include <string>

#include "import/lws_scene.h"

class Scene;

namespace LW {

struct ConvertOptions {
    // Texture images are uploaded as they are made, which needs a current
    // OpenGL context; without one they keep their pixels for writing only.
    bool uploadTextures = true;
};

// The new scene, owned by the caller; post_load has not run. Failures throw
// as the parser does; nothing half-built is left behind.
::Scene* convertLwsScene(LwsScene& scene, const ConvertOptions& options);

// Parses the file (with `searchDirectory`, which may be null, as the one
// search directory) and converts it.
::Scene* importLwsScene(const char* path, const char* searchDirectory, const ConvertOptions& options);

// The surfaces step: every importer surface becomes a scene surface.
void convertSurfaces(const LwsScene& source, ::Scene& target, const ConvertOptions& options);

} // namespace LW
