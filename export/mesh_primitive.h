#pragma once
// Triangles in the player's axes and winding made into a glTF primitive.

#include <cstdint>
#include <vector>

#include "export/gltf_export.h"
#include "math/vector3.h"

namespace gltf_export {

struct MeshArrays {
    const std::vector<Vector3f>* positions = nullptr;
    const std::vector<Vector3f>* normals = nullptr;  // or null: smoothed by angle
    const std::vector<uint32_t>* colours = nullptr;  // RGBA, red in the top byte; or null
    const float* uvs = nullptr;                      // u, v per vertex (v up); or null
    const uint32_t* indices = nullptr;
    size_t triangleCount = 0;
};

// Z negated and winding reversed; v flipped. Without normals, vertices are
// split where faces meet at more than `smoothingDegrees`.
Primitive primitiveOf(const MeshArrays& mesh, float smoothingDegrees);

} // namespace gltf_export
