#pragma once
// The surface where a field of blobs reaches a threshold, cut into
// triangles by marching tetrahedra on a regular grid. Faces point out of
// the blobs; points are shared between neighbouring triangles.

#include <vector>

#include "tools/assetgen/poly_mesh.h"

namespace assetgen {

struct Blob {
    Vector3f centre;
    float radius;
};

// Field value sum(r^2 / d^2); the surface is where it equals `threshold`,
// sampled on `cells` cells per side over the cube [-extent, extent]^3.
PolyMesh metaballSurface(const std::vector<Blob>& blobs, float threshold, float extent, int cells, const std::string& tag);

float metaballField(const std::vector<Blob>& blobs, const Vector3f& p);

} // namespace assetgen
