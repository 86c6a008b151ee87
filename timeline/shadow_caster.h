#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

namespace hlv {

class RobustMesh;

// The silhouette of one mesh as seen from a point light: the edges between
// triangles that face the light and triangles that do not, plus the open
// borders of light-facing triangles. Edges shared by coplanar triangles are
// found once and never walked again.
class ShadowCaster {
public:
    struct SilhouetteEdge {
        uint32_t v0, v1;  // welded vertex indices, v0 < v1
        bool flip;        // the light-facing triangle runs along the edge from v0 to v1
    };

    explicit ShadowCaster(RobustMesh* mesh) : mesh_(mesh) {}

    // Once per mesh: normals, edge list and the flat-edge flags.
    void prepare();
    // For a light position in the mesh's own coordinates.
    void computeSilhouette(const Vector3f& light);

    RobustMesh* mesh() const { return mesh_; }
    const std::vector<SilhouetteEdge>& silhouette() const { return silhouette_; }
    bool isFlat(uint32_t edge) const { return flat_[edge]; }

private:
    RobustMesh* mesh_;
    std::vector<SilhouetteEdge> silhouette_;
    std::vector<bool> flat_;       // per edge of the mesh's edge list
    std::vector<bool> facing_;     // per triangle, for the current light
};

} // namespace hlv
