#pragma once
// Draw parts index their vertices with 16 bits: a surface with more
// vertices is drawn as several parts.

#include <cstddef>
#include <vector>

#include "geometry/mesh_part.h"

namespace LW {

constexpr size_t kMaxPartVertices = 65536;

// The part itself when it fits, else pieces of whole triangles in their
// order, each with at most `maxVertices` vertices (positions, normals,
// colours and every UV layer carried along).
std::vector<hlv::MeshPart> splitPart(const hlv::MeshPart& part, size_t maxVertices = kMaxPartVertices);

} // namespace LW
