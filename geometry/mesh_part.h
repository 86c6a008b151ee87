#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

namespace hlv {

// The triangles of one surface with their own compact vertex arrays, ready to
// be handed to OpenGL. Empty normal, weight or texture arrays mean "none".
struct MeshPart {
    uint32_t partIndex = 0;
    uint32_t vertexCount = 0;
    uint32_t triangleCount = 0;
    uint32_t uvLayerCount = 0;

    std::vector<Vector3f> positions;       // vertexCount entries
    std::vector<Vector3f> normals;         // vertexCount entries, or none
    // Per-vertex colours, red in the top byte and alpha in the low byte; the
    // materials call them weights.
    std::vector<uint32_t> weights;
    std::vector<std::vector<float>> uvLayers;  // per layer, vertexCount (u, v) pairs
    std::vector<uint32_t> indices;            // 3 * triangleCount, local to the part

    bool hasNormals() const { return !normals.empty(); }
    bool hasWeights() const { return !weights.empty(); }
};

} // namespace hlv
