#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

namespace hlv {

class ShadowCaster;

// The shadow volume of one caster for one light position: a quad per
// silhouette edge from the edge to the same points pushed far away from the
// light. No caps: it is counted with the depth-pass method.
class ShadowVolume {
public:
    static constexpr float kExtrusion = 200.0f;

    // From the caster's current silhouette; `light` in the caster mesh's
    // coordinates. Logs the endpoint count and the distinct vertex count.
    void build(const ShadowCaster& caster, const Vector3f& light, float extrusion = kExtrusion);

    // Counts in the stencil the volume's sides that lie in front of the
    // scene: +1 for the sides nearer the eye, -1 for the farther ones, so
    // pixels in shadow end up non-zero. Writes neither colour nor depth.
    void render() const;

    uint32_t vertexCount() const { return static_cast<uint32_t>(vertices_.size()); }
    uint32_t quadCount() const { return static_cast<uint32_t>(quads_.size() / 4); }
    const std::vector<Vector3f>& vertices() const { return vertices_; }
    const std::vector<uint32_t>& quads() const { return quads_; }

private:
    std::vector<Vector3f> vertices_;  // n silhouette points, then the n pushed ones
    std::vector<uint32_t> quads_;     // four indices per silhouette edge
};

} // namespace hlv
