#pragma once
#include <cstdint>
#include <vector>

#include "geometry/index_triangle.h"
#include "math/vector3.h"

namespace hlv {

// What a mesh being built knows about each triangle corner (corner k of
// triangle t is 3t + k): its colour, its texture coordinates in every set and
// its normal. Equal values are merged into shared lists, and corners whose
// position and values all agree become one render vertex.
class CornerAttributes {
public:
    // Colours are 32-bit, red in the top byte and alpha in the low byte;
    // colours[i] belongs to corner corners[i]. Corners that get none are white.
    void setColours(const std::vector<uint32_t>& colours, const std::vector<uint32_t>& corners, uint32_t cornerCount);
    // A new set with every corner at (0, 0) and marked unassigned.
    uint32_t addUVSet(uint32_t cornerCount);
    // The (u, v) pairs of the triangle's three corners, marked assigned.
    void setTriangleUVs(uint32_t set, uint32_t triangle, const float uv[6]);

    bool hasColours() const { return !cornerColour_.empty(); }
    uint32_t uvSetCount() const { return static_cast<uint32_t>(uvSets_.size()); }
    bool hasNormals() const { return !cornerNormal_.empty(); }

    // Keeps the corners of the listed triangles only, in that order.
    void keepTriangles(const std::vector<uint32_t>& kept);
    // Merges equal colours and texture coordinates (one log line each).
    void mergeDuplicates();
    void setNormals(std::vector<Vector3f> normals, std::vector<uint32_t> cornerNormal);
    // Gives every corner of `triangles` a render vertex; corners that share
    // position, normal, texture coordinates and colour share one. Returns
    // the number of render vertices.
    uint32_t buildRenderVertices(const std::vector<IndexTriangle>& triangles);

    uint32_t renderVertexCount() const { return static_cast<uint32_t>(vertexCorner_.size()); }
    uint32_t renderVertex(uint32_t corner) const { return cornerVertex_[corner]; }
    // One corner that stands for the render vertex.
    uint32_t cornerOf(uint32_t renderVertex) const { return vertexCorner_[renderVertex]; }

    uint32_t colour(uint32_t corner) const { return colours_[cornerColour_[corner]]; }
    Vector3f normal(uint32_t corner) const { return normals_[cornerNormal_[corner]]; }
    float u(uint32_t set, uint32_t corner) const { return uvList_[2 * uvSets_[set].index[corner]]; }
    float v(uint32_t set, uint32_t corner) const { return uvList_[2 * uvSets_[set].index[corner] + 1]; }

    // The colour list and each corner's index into it (for persistence).
    std::vector<uint32_t>& colourValues() { return colours_; }
    std::vector<uint32_t>& cornerColours() { return cornerColour_; }

private:
    struct UVSet {
        std::vector<float> uv;           // per corner until merged
        std::vector<uint8_t> assigned;   // per corner until merged
        std::vector<uint32_t> index;     // per corner, into uvList_ once merged
    };

    void mergeColours();
    void mergeUVs();

    std::vector<uint32_t> colours_;
    std::vector<uint32_t> cornerColour_;
    std::vector<UVSet> uvSets_;
    std::vector<float> uvList_;  // merged (u, v) pairs of every set
    std::vector<Vector3f> normals_;
    std::vector<uint32_t> cornerNormal_;
    std::vector<uint32_t> cornerVertex_;
    std::vector<uint32_t> vertexCorner_;
};

} // namespace hlv
