#include "timeline/shadow_caster.h"

#include "geometry/robust_mesh.h"

namespace hlv {

void ShadowCaster::prepare()
{
    const std::vector<Vector3f>& normals = mesh_->triangleNormals();
    const EdgeList& edges = mesh_->edgeList();
    flat_.assign(edges.edgeCount(), false);
    size_t walked = 0;
    for (uint32_t e = 0; e < edges.edgeCount(); ++e) {
        // Only exactly parallel normals count: such an edge can never
        // separate a light-facing triangle from one that is not.
        bool flat = edges.incidenceCount(e) > 1;
        const Vector3f* first = nullptr;
        edges.forEachIncidence(e, [&](uint32_t incidence) {
            const Vector3f& n = normals[EdgeList::triangleOf(incidence)];
            if (!first)
                first = &n;
            else if (dot(n, *first) != 1.0f)
                flat = false;
        });
        flat_[e] = flat;
        walked += !flat;
    }
    silhouette_.reserve(walked);
}

void ShadowCaster::computeSilhouette(const Vector3f& light)
{
    const std::vector<Vector3f>& normals = mesh_->triangleNormals();
    const std::vector<Vector3f>& positions = mesh_->positions();
    const std::vector<IndexTriangle>& triangles = mesh_->triangles();
    facing_.resize(triangles.size());
    for (size_t t = 0; t < triangles.size(); ++t) {
        const Vector3f& n = normals[t];
        facing_[t] = dot(n, light) - dot(n, positions[triangles[t][0]]) > 0;
    }

    silhouette_.clear();
    const EdgeList& edges = mesh_->edgeList();
    for (uint32_t e = 0; e < edges.edgeCount(); ++e) {
        if (flat_[e])
            continue;
        uint32_t count = 0, facingCount = 0, lastFacing = 0;
        edges.forEachIncidence(e, [&](uint32_t incidence) {
            ++count;
            if (facing_[EdgeList::triangleOf(incidence)]) {
                ++facingCount;
                lastFacing = incidence;
            }
        });
        // Some but not all triangles face the light; or an open border of a
        // light-facing triangle.
        if (facingCount > 0 && (facingCount < count || count == 1)) {
            const EdgeList::Edge& edge = edges.edges()[e];
            silhouette_.push_back({edge.v0, edge.v1, EdgeList::isForward(lastFacing)});
        }
    }
}

} // namespace hlv
