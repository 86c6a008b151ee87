#include "geometry/edge_list.h"

#include "geometry/radix_sort.h"

namespace hlv {

namespace {

struct EdgeRecord {
    uint32_t v0, v1;
    uint32_t incidence;
};

} // namespace

EdgeList::EdgeList(const std::vector<IndexTriangle>& triangles)
{
    std::vector<EdgeRecord> records;
    records.reserve(triangles.size() * 3);
    for (uint32_t t = 0; t < triangles.size(); ++t) {
        for (uint32_t slot = 0; slot < 3; ++slot) {
            const uint32_t from = triangles[t][slot];
            const uint32_t to = triangles[t][(slot + 1) % 3];
            const bool forward = from < to;
            records.push_back({forward ? from : to, forward ? to : from, incidence(t, slot, forward)});
        }
    }

    if (records.empty())
        return;

    // Second vertex first, then first vertex: pairs end up grouped.
    RadixSort sorter;
    const uint32_t* fields = &records[0].v0;
    sorter.sort(fields + 1, records.size(), 3).sort(fields, records.size(), 3);
    const std::vector<uint32_t>& order = sorter.ranks();

    std::vector<uint32_t> edgeOfRecord(records.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const EdgeRecord& r = records[order[i]];
        const bool newEdge = edges_.empty() || edges_.back().v0 != r.v0 || edges_.back().v1 != r.v1;
        if (newEdge)
            edges_.push_back({r.v0, r.v1});
        edgeOfRecord[i] = static_cast<uint32_t>(edges_.size() - 1);
    }

    rings_ = IncidenceRings(edgeCount());
    for (size_t i = 0; i < order.size(); ++i) {
        const uint32_t edge = edgeOfRecord[i];
        const uint32_t value = records[order[i]].incidence;
        // A triangle met twice on one edge (it names a vertex twice) counts once.
        if (rings_.count(edge) && triangleOf(rings_.last(edge)) == triangleOf(value))
            continue;
        rings_.add(edge, value);
        if (rings_.count(edge) > 2)
            manifold_ = false;
    }
}

} // namespace hlv
