#pragma once
#include <cstdint>
#include <vector>

#include "geometry/incidence_rings.h"
#include "geometry/index_triangle.h"

namespace hlv {

// The unique undirected edges of a triangle list, each with the ring of
// triangles that use it (what shadow silhouettes are found from).
//
// An incidence is one 32-bit value: the triangle in bits 0..28, the edge's
// slot in that triangle in bits 29..30 (0 = first->second corner,
// 1 = second->third, 2 = third->first), and bit 31 set when the triangle's
// winding runs along the edge from v0 to v1.
class EdgeList {
public:
    struct Edge {
        uint32_t v0, v1;  // v0 < v1
    };

    static constexpr uint32_t kTriangleMask = 0x1FFFFFFFu;
    static constexpr uint32_t kForwardBit = 0x80000000u;

    static uint32_t incidence(uint32_t triangle, uint32_t slot, bool forward)
    {
        return triangle | (slot << 29) | (forward ? kForwardBit : 0u);
    }
    static uint32_t triangleOf(uint32_t incidence) { return incidence & kTriangleMask; }
    static uint32_t slotOf(uint32_t incidence) { return (incidence >> 29) & 3u; }
    static bool isForward(uint32_t incidence) { return (incidence & kForwardBit) != 0; }

    explicit EdgeList(const std::vector<IndexTriangle>& triangles);

    uint32_t edgeCount() const { return static_cast<uint32_t>(edges_.size()); }
    const std::vector<Edge>& edges() const { return edges_; }
    const IncidenceRings& incidences() const { return rings_; }
    uint32_t incidenceCount(uint32_t edge) const { return rings_.count(edge); }
    // Cleared when some edge has more than two triangles.
    bool isManifold() const { return manifold_; }

    template <typename F>
    void forEachIncidence(uint32_t edge, F f) const { rings_.forEach(edge, f); }

private:
    std::vector<Edge> edges_;
    IncidenceRings rings_;
    bool manifold_ = true;
};

} // namespace hlv
