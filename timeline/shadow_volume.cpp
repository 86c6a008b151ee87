#include "timeline/shadow_volume.h"

#include "geometry/point_weld.h"
#include "geometry/radix_sort.h"
#include "geometry/robust_mesh.h"
#include "geometry/sorted_runs.h"
#include "render/gl_state_cache.h"
#include "render/material.h"
#include "timeline/shadow_caster.h"

namespace hlv {

void ShadowVolume::build(const ShadowCaster& caster, const Vector3f& light, float extrusion)
{
    const std::vector<ShadowCaster::SilhouetteEdge>& edges = caster.silhouette();
    std::vector<uint32_t> endpoints;
    endpoints.reserve(2 * edges.size());
    for (const ShadowCaster::SilhouetteEdge& edge : edges)
        endpoints.insert(endpoints.end(), {edge.v0, edge.v1});

    // Number the distinct endpoints in sorted order.
    RadixSort sorter;
    sorter.sort(endpoints.data(), endpoints.size());
    std::vector<uint32_t> newNumber, lastOfRun;
    const uint32_t n = numberRuns(
        sorter.ranks(), [&](uint32_t a, uint32_t b) { return endpoints[a] == endpoints[b]; }, newNumber, &lastOfRun);
    logMerge(endpoints.size(), n);

    const std::vector<Vector3f>& positions = caster.mesh()->positions();
    vertices_.resize(2 * size_t(n));
    for (uint32_t i = 0; i < n; ++i) {
        const Vector3f& p = positions[endpoints[lastOfRun[i]]];
        vertices_[i] = p;
        vertices_[n + i] = p + (p - light) * extrusion;
    }

    quads_.clear();
    quads_.reserve(4 * edges.size());
    for (size_t e = 0; e < edges.size(); ++e) {
        const uint32_t a = newNumber[2 * e], b = newNumber[2 * e + 1];
        if (edges[e].flip)
            quads_.insert(quads_.end(), {a, b, n + b, n + a});
        else
            quads_.insert(quads_.end(), {b, a, n + a, n + b});
    }
}

void ShadowVolume::render() const
{
    glCullFace(GL_FRONT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LESS);
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0xFFFFFFFF);
    glStencilFunc(GL_ALWAYS, 0, 0);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);

    glVertexPointer(3, GL_FLOAT, 0, vertices_.data());
    GLStateCache& cache = GLStateCache::instance();
    cache.setVertexArray(true);
    {
        LockedArrays locked(vertexCount());
        drawRangedElements(GL_QUADS, vertexCount(), static_cast<uint32_t>(quads_.size()), quads_.data());
        glCullFace(GL_BACK);
        glStencilFunc(GL_ALWAYS, 0, 0);
        glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
        drawRangedElements(GL_QUADS, vertexCount(), static_cast<uint32_t>(quads_.size()), quads_.data());
    }
    cache.setVertexArray(false);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glCullFace(GL_BACK);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_STENCIL_TEST);
}

} // namespace hlv
