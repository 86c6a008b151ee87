#include "geometry/incidence_rings.h"

#include <numeric>

namespace hlv {

IncidenceRings::IncidenceRings(uint32_t ownerCount)
    : values_(ownerCount, kNone), next_(ownerCount), counts_(ownerCount, 0), tails_(ownerCount)
{
    std::iota(next_.begin(), next_.end(), 0u);
    std::iota(tails_.begin(), tails_.end(), 0u);
}

void IncidenceRings::add(uint32_t owner, uint32_t value)
{
    if (counts_[owner]++ == 0) {
        values_[owner] = value;
        return;
    }
    const uint32_t at = static_cast<uint32_t>(values_.size());
    values_.push_back(value);
    next_.push_back(at);
    next_[tails_[owner]] = at;
    tails_[owner] = at;
}

IncidenceRings buildVertexRings(const std::vector<IndexTriangle>& triangles, uint32_t vertexCount)
{
    IncidenceRings rings(vertexCount);
    for (uint32_t t = 0; t < triangles.size(); ++t) {
        for (int corner = 0; corner < 3; ++corner) {
            const uint32_t vertex = triangles[t][corner];
            // A triangle that names a vertex twice is still one triangle of it.
            if (vertex < vertexCount && rings.last(vertex) != t)
                rings.add(vertex, t);
        }
    }
    return rings;
}

} // namespace hlv
