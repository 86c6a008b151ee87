#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

struct GLUtesselator;

namespace LW {

// Triangle corners at or above this number name an added point (below):
// kAddedPoint + its place in the object's list of added points.
constexpr uint32_t kAddedPoint = 0x80000000u;

// A point the tessellator made where a polygon's edges cross: a weighted mix
// of up to four points (file points or earlier added points). The object's
// reader gives it its place after the file's points once the file is read.
struct AddedPoint {
    Vector3f position;
    uint32_t sources[4] = {0, 0, 0, 0};
    float weights[4] = {0, 0, 0, 0};
    uint32_t polygon = 0;  // the polygon that made it, in the reader's numbering
};

// Triangulates polygons with the GLU tessellator. One tessellator serves
// every polygon of a file.
//
// First by the strict rules, which the show's own objects are made for: an
// index equal to the first index of the current contour closes that contour
// and the next index starts a new one (holes), and polygons that would need
// new vertices are refused. A polygon those rules refuse, or turn into no
// triangle, is triangulated again by its outline, so that modellers'
// polygons keep their area:
// - points closer than the weld tolerance count as one point;
// - a contour that passes a point twice is a hole joined to the outline by
//   a bridge, so the whole outline is then one contour;
// - the outline is projected onto its best-fit plane (the Newell normal),
//   which keeps non-planar polygons from folding over themselves;
// - where edges cross, the crossing becomes an added point.
// Both use the odd winding rule.
class PolygonTessellator {
public:
    PolygonTessellator();
    ~PolygonTessellator();
    PolygonTessellator(const PolygonTessellator&) = delete;
    PolygonTessellator& operator=(const PolygonTessellator&) = delete;

    // On success `triangles` holds three point indices per triangle, in the
    // tessellator's order; points the outline needed are appended to
    // `added` and named kAddedPoint + their place there.
    bool tessellate(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                    std::vector<uint32_t>& triangles, std::vector<AddedPoint>& added);

    // Whether the last polygon tessellated took its outline.
    bool usedOutline() const { return usedOutline_; }

    // Off, polygons get the strict rules alone. The tests compare the show's
    // objects both ways; everything else leaves it on.
    static void setOutlineTriangulation(bool enabled);

private:
    bool tessellateStrict(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                          std::vector<uint32_t>& triangles);
    bool tessellateOutline(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                           std::vector<uint32_t>& triangles, std::vector<AddedPoint>& added);
    // The outline's contours (into contour_ and contourStarts_) with
    // coincident points as one.
    void buildContours(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points);

    GLUtesselator* tess_;
    std::vector<double> coordinates_;
    bool usedOutline_ = false;
    std::vector<uint32_t> merged_;         // the polygon's indices, coincident points as one
    std::vector<uint32_t> distinct_;       // the points met so far
    std::vector<uint32_t> contour_;        // every contour, one after the other
    std::vector<size_t> contourStarts_;    // where each begins in contour_, and the end
};

} // namespace LW
