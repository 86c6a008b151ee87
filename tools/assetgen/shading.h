#pragma once
// Light baked into vertex colours: the scenes have no lights of their own,
// so shapes that should look lit carry their shading in the colour that
// the point-and-colour vertex format draws.

#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/poly_mesh.h"

namespace assetgen {

struct DirectionalLight {
    Vector3f towardsLight;  // need not be unit
    Rgb colour;
};

struct ShadeLook {
    Rgb base{1, 1, 1};
    Rgb sky{0.35f, 0.35f, 0.45f};     // ambient from above
    Rgb ground{0.15f, 0.1f, 0.12f};   // ambient from below
    std::vector<DirectionalLight> lights;
    float rim = 0;                    // extra light at grazing angles, seen from `viewer`
    Vector3f viewer{0, 0, -1};
};

// Normals per point, averaged over the polygons that use the point.
std::vector<Vector3f> pointNormals(const PolyMesh& mesh);

// Colours every point from `firstPoint` on.
void bakeShading(PolyMesh& mesh, uint32_t firstPoint, const ShadeLook& look);

} // namespace assetgen
