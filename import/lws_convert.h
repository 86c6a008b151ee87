#pragma once
// Turning a parsed LightWave scene into the player's Scene: primitives from
// its objects, surfaces with their textures, keyframe motion, the node tree
// with cameras and shapes, backdrop and fog.

#include <map>
#include <string>
#include <vector>

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

// The surfaces step: every importer surface becomes a scene surface, its
// pictures found by their own name first, then as the ".jpg" of that name.
void convertSurfaces(LwsScene& source, ::Scene& target, const ConvertOptions& options);

// The name each importer surface has in the converted scene: its own, and
// for a later surface of a name taken by another object's, the name with
// " (2)", " (3)" ... after it.
std::vector<std::string> sceneSurfaceNames(const Scene& source);

} // namespace LW
