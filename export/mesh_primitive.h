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
    const float* uvs = nullptr;                      // u, v per vertex; or null
    bool uvsFromTop = false;  // v counts from the picture's top row (as glTF's) rather than its bottom
    const uint32_t* indices = nullptr;
    size_t triangleCount = 0;
};

// Z negated and winding reversed; v counted from the picture's top. Without normals, vertices are
// split where faces meet at more than `smoothingDegrees`.
Primitive primitiveOf(const MeshArrays& mesh, float smoothingDegrees);

} // namespace gltf_export
