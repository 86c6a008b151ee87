#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

namespace LW {

// Triangulates one polygon with the GLU tessellator. An index equal to the
// first index of the current contour closes that contour and the next index
// starts a new one (holes). Polygons that would need new vertices (self-
// intersections) are refused. On success `triangles` holds three point
// indices per triangle in the tessellator's order.
bool tessellatePolygon(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                       std::vector<uint32_t>& triangles);

} // namespace LW
