// The shadow section's meshes, all closed (every edge has two triangles) so
// their silhouettes are loops: the receiver, a sun emblem about one unit
// across, and three small casters that fly around it in rings.
#include <cmath>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/lwo2_export.h"
#include "tools/assetgen/poly_mesh.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

std::vector<Point2> circle(float radius, int segments, bool clockwise)
{
    std::vector<Point2> loop;
    for (int i = 0; i < segments; ++i) {
        float a = 2 * kPi * float(i) / float(segments) * (clockwise ? -1.0f : 1.0f);
        const CosSin turn = cosSin(a);
        loop.push_back({radius * turn.cos, radius * turn.sin});
    }
    return loop;
}

// A sun: a twelve-rayed star plate with a round window, a bead in the
// window, and a ring around the rays. Each piece is closed on its own.
void makeEmblem(const PackFolder& pack)
{
    PolyMesh mesh;
    const uint16_t rays = mesh.tag("Sun rays"), core = mesh.tag("Sun core"), ring = mesh.tag("Halo ring");
    std::vector<Point2> star;
    for (int i = 0; i < 24; ++i) {
        float a = 2 * kPi * float(i) / 24.0f;
        float r = (i % 2 == 0) ? 0.5f : 0.3f;
        const CosSin turn = cosSin(a);
        star.push_back({r * turn.cos, r * turn.sin});
    }
    mesh.extrude(star, {circle(0.17f, 24, true)}, -0.06f, 0.06f, rays);
    uint32_t first = mesh.lathe({{0.0f, -0.12f}, {0.07f, -0.1f}, {0.11f, -0.05f}, {0.12f, 0.0f}, {0.11f, 0.05f},
                                 {0.07f, 0.1f}, {0.0f, 0.12f}},
                                20, core);
    mesh.transform(first, yToZ());
    // The halo: a flat ring (an annulus extruded), outside the rays' tips.
    mesh.extrude(circle(0.62f, 48, false), {circle(0.55f, 48, true)}, -0.025f, 0.025f, ring);

    ObjectExport extras;
    extras.surfaces = {{"Sun rays", "", {1.0f, 0.8f, 0.45f}, 1.0f, {}},
                       {"Sun core", "", {1.0f, 0.95f, 0.8f}, 1.0f, {}},
                       {"Halo ring", "", {0.95f, 0.6f, 0.55f}, 1.0f, {}}};
    saveObject(pack, "demo\\ombres\\hlv.lwo", mesh, extras);
}

// A faceted crystal: an eight-sided bipyramid with a waist.
void makeCrystal(const PackFolder& pack)
{
    PolyMesh mesh;
    mesh.lathe({{0.0f, -0.6f}, {0.35f, -0.1f}, {0.35f, 0.1f}, {0.0f, 0.6f}}, 8, mesh.tag("Crystal"));
    saveObject(pack, "demo\\ombres\\1.lwo", mesh, {});
}

// A paper dart: a thin closed wedge, folded wings and keel in one solid.
void makeDart(const PackFolder& pack)
{
    PolyMesh mesh;
    const uint16_t paper = mesh.tag("Paper");
    std::vector<Point2> outline = {{-0.6f, -0.05f}, {0.6f, 0.0f}, {-0.6f, 0.5f}, {-0.45f, 0.06f}};
    uint32_t first = mesh.extrude(outline, {}, -0.03f, 0.03f, paper);
    mesh.transform(first, Matrix44::rotationX(-80.0f));
    first = mesh.extrude({{-0.6f, 0.05f}, {-0.45f, -0.06f}, {-0.6f, -0.5f}, {0.6f, 0.0f}}, {}, -0.03f, 0.03f, paper);
    mesh.transform(first, Matrix44::rotationX(80.0f));
    saveObject(pack, "demo\\ombres\\2.lwo", mesh, {});
}

// A small torus: a ring of quads.
void makeTorus(const PackFolder& pack)
{
    PolyMesh mesh;
    const uint16_t tag = mesh.tag("Ring");
    const int major = 24, minor = 10;
    const float r0 = 0.42f, r1 = 0.16f;
    for (int i = 0; i < major; ++i)
        for (int j = 0; j < minor; ++j) {
            float a = 2 * kPi * float(i) / float(major), b = 2 * kPi * float(j) / float(minor);
            const CosSin around = cosSin(a), across = cosSin(b);
            float r = r0 + r1 * across.cos;
            mesh.addPoint({r * around.cos, r1 * across.sin, r * around.sin});
        }
    auto at = [&](int i, int j) { return uint32_t(((i + major) % major) * minor + (j + minor) % minor); };
    for (int i = 0; i < major; ++i)
        for (int j = 0; j < minor; ++j)
            mesh.addPolygon({at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)}, tag);
    saveObject(pack, "demo\\ombres\\3.lwo", mesh, {});
}

} // namespace

void addShadowObjectSteps(std::vector<AssetStep>& steps)
{
    steps.push_back({"shadow emblem", makeEmblem});
    steps.push_back({"shadow casters", [](const PackFolder& pack) {
                         makeCrystal(pack);
                         makeDart(pack);
                         makeTorus(pack);
                     }});
}

} // namespace assetgen
