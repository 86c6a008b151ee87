#pragma once
#include <cstdint>
#include <vector>

#include "geometry/index_triangle.h"

namespace hlv {

// 32-bit values hung on numbered owners (the triangles of an edge, or of a
// vertex). The first value of owner k sits at position k; further ones are
// appended after the owners and chained by next(), a chain ending at an entry
// that points to itself. An owner without values holds 0xFFFFFFFF.
class IncidenceRings {
public:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    explicit IncidenceRings(uint32_t ownerCount = 0);

    // Appends `value` at the end of the owner's chain.
    void add(uint32_t owner, uint32_t value);

    uint32_t ownerCount() const { return static_cast<uint32_t>(counts_.size()); }
    uint32_t count(uint32_t owner) const { return counts_[owner]; }
    // The last value added to the owner (kNone when it has none).
    uint32_t last(uint32_t owner) const { return counts_[owner] ? values_[tails_[owner]] : kNone; }

    // Calls f(value) for every value of the owner, in the order added.
    template <typename F>
    void forEach(uint32_t owner, F f) const
    {
        if (counts_[owner] == 0)
            return;
        for (uint32_t at = owner;; at = next_[at]) {
            f(values_[at]);
            if (next_[at] == at)
                return;
        }
    }

    const std::vector<uint32_t>& values() const { return values_; }
    const std::vector<uint32_t>& next() const { return next_; }
    const std::vector<uint32_t>& counts() const { return counts_; }

private:
    std::vector<uint32_t> values_;
    std::vector<uint32_t> next_;
    std::vector<uint32_t> counts_;
    std::vector<uint32_t> tails_;
};

// For every vertex, the triangles that use it, in triangle order.
IncidenceRings buildVertexRings(const std::vector<IndexTriangle>& triangles, uint32_t vertexCount);

} // namespace hlv
