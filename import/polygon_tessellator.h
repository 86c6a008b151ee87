#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

struct GLUtesselator;

namespace LW {

// Triangulates polygons with the GLU tessellator. An index equal to the first
// index of the current contour closes that contour and the next index starts
// a new one (holes). Polygons that would need new vertices (self-
// intersections) are refused. One tessellator serves every polygon of a file.
class PolygonTessellator {
public:
    PolygonTessellator();
    ~PolygonTessellator();
    PolygonTessellator(const PolygonTessellator&) = delete;
    PolygonTessellator& operator=(const PolygonTessellator&) = delete;

    // On success `triangles` holds three point indices per triangle, in the
    // tessellator's order.
    bool tessellate(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                    std::vector<uint32_t>& triangles);

private:
    GLUtesselator* tess_;
    std::vector<double> coordinates_;
};

} // namespace LW
