#pragma once
// SubPatch objects as LightWave draws them: the polygons of SUBD and PTCH
// lists are a cage, refined by Catmull-Clark subdivision (OpenSubdiv) into
// four times as many quads at each level.

#include <cstdint>

#include "import/lwo2_object.h"

namespace LW {

// What the subdivision did, for `hlvtool info`.
struct SubdivisionCounts {
    uint32_t level = 0;
    uint32_t cagePolygons = 0;   // SubPatch polygons of the object
    uint32_t cageTriangles = 0;  // the triangles they had as faces
    uint32_t quads = 0;          // what they became
    uint32_t triangles = 0;      // two a quad
};

// Replaces the triangles of the object's SubPatch polygons (those of
// `object.cagePolygons`) by the quads of their subdivision at `level`, each
// quad a polygon of its own with the surface of the polygon it came from.
// Points, UV and colour maps carry over: positions refined as the scheme
// says, maps interpolated linearly within each cage polygon (so seams and
// per-polygon values stay where they were). Points only the cage used are
// dropped. Level 0, or an object without SubPatch polygons, is left as it
// is; a cage the scheme cannot take keeps its faces, with a warning.
SubdivisionCounts subdividePatches(Lwo2Object& object, uint32_t level);

// The level LightWave gives an object on its own, and a scene's object that
// names none.
constexpr uint32_t kDefaultSubdivisionLevel = 3;
// Above this the quads would not fit in memory for a real cage.
constexpr uint32_t kMaxSubdivisionLevel = 6;
// A level that would make more quads than this is lowered until it does
// not (with a warning): 2^22 quads hold 16 million corners.
constexpr uint64_t kMaxSubdividedQuads = uint64_t(1) << 22;

} // namespace LW
