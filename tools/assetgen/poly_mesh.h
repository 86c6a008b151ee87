#pragma once
// Polygon meshes as content is modelled: points, polygons of any size (with
// holes through a repeated first index), one surface tag per polygon and
// optional per-point UV and colour. Faces wind counter-clockwise seen from
// outside (the normal (p1 - p0) x (p2 - p0) points out), which the show's
// mirrored cameras and clockwise front faces draw as front faces.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "math/matrix44.h"
#include "math/vector3.h"

namespace assetgen {

struct UV {
    float u = 0, v = 0;
};

struct Colour4 {
    float r = 1, g = 1, b = 1, a = 1;
};

struct Polygon {
    std::vector<uint32_t> indices;
    uint16_t tag = 0;
};

// A profile point for surfaces of revolution: radius and height.
struct ProfilePoint {
    float radius;
    float height;
};

// A 2D outline point.
struct Point2 {
    float x, y;
};

class PolyMesh {
public:
    uint16_t tag(const std::string& surfaceName);
    uint32_t addPoint(const Vector3f& p, UV uv = {}, Colour4 colour = {});
    void addPolygon(std::vector<uint32_t> indices, uint16_t tag);

    // Revolves a profile (bottom to top) about the Y axis; a zero radius at
    // either end closes it with a pole. `capEnds` closes open ends with one
    // polygon each. UV: u around, v up the profile. Returns the first point.
    uint32_t lathe(const std::vector<ProfilePoint>& profile, int segments, uint16_t tag, bool capEnds = false);
    // A prism between z0 and z1 from a counter-clockwise outline, with
    // optional clockwise holes; each cap is one polygon. UV: planar x, y.
    uint32_t extrude(const std::vector<Point2>& outline, const std::vector<std::vector<Point2>>& holes, float z0,
                     float z1, uint16_t tag);
    // Moves the points from `firstPoint` on.
    void transform(uint32_t firstPoint, const Matrix44& m);
    void setColour(uint32_t firstPoint, const Colour4& colour);
    void setPointColour(uint32_t point, const Colour4& colour) { colours_[point] = colour; }
    void setPointUV(uint32_t point, UV uv) { uvs_[point] = uv; }
    void movePoint(uint32_t point, const Vector3f& p) { points_[point] = p; }
    // Turns the polygons from `firstPolygon` on inside out (for rooms seen from within).
    void flipFrom(size_t firstPolygon);
    void flipPolygon(size_t polygon);
    // An axis-aligned box with its own four points per face (flat shading),
    // each face's UV running 0..1.
    uint32_t addBox(const Vector3f& min, const Vector3f& max, uint16_t tag);
    // A grid of quads over the parallelogram origin + i/cols * du + j/rows * dv,
    // facing du x dv; UV = (i, j) * cell UV size. Returns the first point.
    uint32_t addGrid(const Vector3f& origin, const Vector3f& du, const Vector3f& dv, int cols, int rows, uint16_t tag,
                     UV uvOrigin, UV uvSpan);

    const std::vector<Vector3f>& points() const { return points_; }
    const std::vector<UV>& uvs() const { return uvs_; }
    const std::vector<Colour4>& colours() const { return colours_; }
    const std::vector<Polygon>& polygons() const { return polygons_; }
    const std::vector<std::string>& tags() const { return tags_; }

    // Splits every polygon into triangles by a fan (for convex faces and
    // for scene meshes, which store triangles); holes are not allowed here.
    std::vector<std::array<uint32_t, 3>> fanTriangles(uint16_t tag) const;

private:
    std::vector<Vector3f> points_;
    std::vector<UV> uvs_;
    std::vector<Colour4> colours_;
    std::vector<Polygon> polygons_;
    std::vector<std::string> tags_;
};

// Rotation that takes the Y axis onto the Z axis (lathe shapes lying along Z).
Matrix44 yToZ();

} // namespace assetgen
