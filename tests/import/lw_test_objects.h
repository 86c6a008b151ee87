#pragma once
// LightWave objects with the polygons modellers write and the strict
// tessellation rules drop, laid out as LightWave writes them (tags, layer,
// points, bounding box, maps, polygons, polygon tags, surfaces). The object
// tests and the fuzz seeds share them; each comes with the area its
// polygons cover, worked out from how it is drawn.

#include <cmath>
#include <string>
#include <vector>

#include "tools/writers/lwo2_writer.h"

namespace lwtest {

// A 4 x 4 square (points 0..3, counter-clockwise seen from +z) with a 2 x 2
// square hole in its middle (points 4..7, counter-clockwise too); points 8
// and 9 are copies of 0 and 4 (Modeler leaves such copies after a cut).
inline std::vector<Vector3f> keyholePoints()
{
    return {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {1, 1, 0},
            {3, 1, 0}, {3, 3, 0}, {1, 3, 0}, {0, 0, 0}, {1, 1, 0}};
}
constexpr float kKeyholeArea = 16 - 4;

// One outline with a bridge from the outer corner 0 to the hole's corner 4
// and back, the hole walked the other way round, as three modellers start
// it: away from the bridge, with copies of the bridge's ends, and at the
// bridge (which the strict rules split into two contours that touch).
inline std::vector<std::vector<uint32_t>> keyholePolygons()
{
    return {{1, 2, 3, 0, 4, 7, 6, 5, 4, 0}, {1, 2, 3, 0, 4, 7, 6, 5, 9, 8}, {0, 4, 7, 6, 5, 4, 0, 1, 2, 3}};
}

inline writers::Lwo2Writer keyholeObject()
{
    writers::Lwo2Writer w;
    const std::vector<std::vector<uint32_t>> polygons = keyholePolygons();
    w.tags({"Plate"}).layer(0).points(keyholePoints()).boundingBox(keyholePoints()).polygons(polygons);
    w.surfaceTags({{0, 0}, {1, 0}, {2, 0}});
    writers::Lwo2Surface plate;
    plate.name = "Plate";
    return w.surface(plate);
}

// The same plate in the older form: points, surface names, polygons with
// their surface number (from 1).
inline std::vector<uint8_t> keyholeLwob()
{
    writers::Lwo2Bytes points, names, polygons;
    for (const Vector3f& p : keyholePoints())
        points.f4(p.x).f4(p.y).f4(p.z);
    names.s0("Plate");
    const std::vector<uint32_t> outline = keyholePolygons()[0];
    polygons.u2(uint16_t(outline.size()));
    for (uint32_t index : outline)
        polygons.u2(uint16_t(index));
    polygons.u2(1);
    return writers::Lwo2Writer()
        .chunk("PNTS", points.data())
        .chunk("SRFS", names.data())
        .chunk("POLS", polygons.data())
        .bytes("LWOB");
}

// A bow tie: its two edges from (0,0) to (2,2) and from (2,0) to (0,2) cross
// at (1,1), leaving two triangles of area 1. Its UV map gives every point
// half its x and y, and the polygon's own values (VMAD) a quarter, so that
// the crossing's values can be told from the mix of the corners'.
inline writers::Lwo2Writer bowTieObject()
{
    const std::vector<Vector3f> points = {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0},
                                          {5, 0, 0}, {7, 2, 0}, {7, 0, 0}, {5, 2, 0}};
    std::vector<writers::Lwo2MapEntry> uvs, own;
    for (uint32_t i = 0; i < points.size(); ++i) {
        uvs.push_back({i, 0, {points[i].x / 2, points[i].y / 2}});
        if (i >= 4)
            own.push_back({i, 1, {points[i].x / 4, points[i].y / 4}});
    }
    writers::Lwo2Surface surface;
    surface.name = "Tie";
    surface.blocks.push_back(writers::uvMappedBlock("uv"));
    writers::Lwo2Writer w;
    w.tags({"Tie"}).layer(0).points(points).vertexMap("TXUV", 2, "uv", uvs);
    w.polygons({{0, 1, 2, 3}, {4, 5, 6, 7}}).surfaceTags({{0, 0}, {1, 0}}).polygonVertexMap("TXUV", 2, "uv", own);
    return w.surface(surface);
}
constexpr float kBowTieArea = 2 * 2;

// A five-pointed star drawn in one stroke (radius 1): by the odd winding
// rule its middle pentagon is outside, leaving the five tips.
inline std::vector<Vector3f> starPoints()
{
    std::vector<Vector3f> points;
    for (int i = 0; i < 5; ++i) {
        const double angle = M_PI / 2 + i * 4 * M_PI / 5;
        points.push_back({float(std::cos(angle)), float(std::sin(angle)), 0});
    }
    return points;
}
// Each tip stands on an edge of the inner pentagon (radius r = cos 72 / cos 36)
// whose ends are 36 degrees either side of the tip.
inline double starArea()
{
    const double degree = M_PI / 180;
    const double r = std::cos(72 * degree) / std::cos(36 * degree);
    const double halfBase = r * std::sin(36 * degree), height = 1 - r * std::cos(36 * degree);
    return 5 * halfBase * height;
}

inline writers::Lwo2Writer starObject()
{
    writers::Lwo2Writer w;
    return w.tags({"Star"}).layer(0).points(starPoints()).polygons({{0, 1, 2, 3, 4}}).surfaceTags({{0, 0}});
}

// A crown: 8 points around the unit circle, alternately 1 above and below
// z = 0. Its best-fit plane is z = 0, onto which it covers the regular
// octagon (area 2 sqrt 2); GLU's own choice of plane folds it.
inline std::vector<Vector3f> crownPoints()
{
    std::vector<Vector3f> points;
    for (int i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4;
        points.push_back({float(std::cos(angle)), float(std::sin(angle)), i % 2 ? 1.0f : -1.0f});
    }
    return points;
}

inline writers::Lwo2Writer crownObject()
{
    writers::Lwo2Writer w;
    return w.tags({"Crown"}).layer(0).points(crownPoints()).polygons({{0, 1, 2, 3, 4, 5, 6, 7}}).surfaceTags({{0, 0}});
}

// A unit cube as a subdivision cage of six quads (PTCH, as LightWave 6 to 8
// save cages), a pentagon beside it as a SUBD cage (LightWave 9 and later),
// and lists that are no surface: a curve, a bone and a metaball.
inline std::vector<Vector3f> cagePoints()
{
    std::vector<Vector3f> points;
    for (int i = 0; i < 8; ++i)
        points.push_back({float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)});
    for (int i = 0; i < 5; ++i) {
        const double angle = i * 2 * M_PI / 5;
        points.push_back({float(3 + std::cos(angle)), float(std::sin(angle)), 0});
    }
    return points;
}
inline double cageArea() { return 6 + 5.0 / 2 * std::sin(2 * M_PI / 5); }

inline writers::Lwo2Writer cageObject()
{
    const std::vector<std::vector<uint32_t>> cube = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                                     {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    writers::Lwo2Writer w;
    w.tags({"Cage", "Lid"}).layer(0).points(cagePoints());
    w.polygons(cube, "PTCH").surfaceTags({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 1}});
    w.polygons({{0, 1, 2}, {3, 4}}, "CURV").polygons({{0, 7}}, "BONE").polygons({{5}}, "MBAL");
    w.polygons({{8, 9, 10, 11, 12}}, "SUBD").surfaceTags({{0, 1}});
    return w;
}

} // namespace lwtest
