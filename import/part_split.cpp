#include "import/part_split.h"

#include <cstdint>

namespace LW {

namespace {

class PieceBuilder {
public:
    PieceBuilder(const hlv::MeshPart& part) : part_(part), local_(part.vertexCount, kNone) {}

    // Whether the triangle's new vertices still fit.
    bool fits(const uint32_t* corners, size_t maxVertices) const
    {
        size_t added = 0;
        for (int k = 0; k < 3; ++k)
            if (local_[corners[k]] == kNone && (k == 0 || corners[k] != corners[0]) &&
                (k < 2 || corners[2] != corners[1]))
                ++added;
        return piece_.vertexCount + added <= maxVertices;
    }

    void add(const uint32_t* corners)
    {
        for (int k = 0; k < 3; ++k)
            piece_.indices.push_back(localOf(corners[k]));
        ++piece_.triangleCount;
    }

    hlv::MeshPart take()
    {
        for (uint32_t v : used_)
            local_[v] = kNone;
        used_.clear();
        hlv::MeshPart piece = std::move(piece_);
        piece_ = hlv::MeshPart();
        return piece;
    }

    bool empty() const { return piece_.triangleCount == 0; }

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    uint32_t localOf(uint32_t v)
    {
        if (local_[v] != kNone)
            return local_[v];
        if (piece_.vertexCount == 0) {
            piece_.partIndex = part_.partIndex;
            piece_.uvLayerCount = part_.uvLayerCount;
            piece_.uvLayers.resize(part_.uvLayers.size());
        }
        local_[v] = piece_.vertexCount++;
        used_.push_back(v);
        piece_.positions.push_back(part_.positions[v]);
        if (part_.hasNormals())
            piece_.normals.push_back(part_.normals[v]);
        if (part_.hasWeights())
            piece_.weights.push_back(part_.weights[v]);
        for (size_t layer = 0; layer < part_.uvLayers.size(); ++layer) {
            piece_.uvLayers[layer].push_back(part_.uvLayers[layer][2 * v]);
            piece_.uvLayers[layer].push_back(part_.uvLayers[layer][2 * v + 1]);
        }
        return local_[v];
    }

    const hlv::MeshPart& part_;
    std::vector<uint32_t> local_;  // part vertex -> piece vertex
    std::vector<uint32_t> used_;
    hlv::MeshPart piece_;
};

} // namespace

std::vector<hlv::MeshPart> splitPart(const hlv::MeshPart& part, size_t maxVertices)
{
    if (part.vertexCount <= maxVertices)
        return {part};
    std::vector<hlv::MeshPart> pieces;
    PieceBuilder builder(part);
    for (uint32_t t = 0; t < part.triangleCount; ++t) {
        const uint32_t* corners = &part.indices[3 * t];
        if (!builder.fits(corners, maxVertices))
            pieces.push_back(builder.take());
        builder.add(corners);
    }
    if (!builder.empty())
        pieces.push_back(builder.take());
    return pieces;
}

} // namespace LW
