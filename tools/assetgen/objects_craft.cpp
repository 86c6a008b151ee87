// The intro's title object: a small dawn-patrol aeroplane, nose along +Z,
// about four units long, a few thousand triangles over five surfaces.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/lwo2_export.h"
#include "tools/assetgen/poly_mesh.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

// A cambered aerofoil of unit chord, leading edge at x = 0, running
// counter-clockwise (upper surface from the trailing edge forwards first).
std::vector<Point2> aerofoil(int halfPoints, float thickness)
{
    std::vector<Point2> upper, lower;
    for (int i = 0; i <= halfPoints; ++i) {
        float x = 0.5f * (1 - std::cos(kPi * float(i) / float(halfPoints)));  // denser at the edges
        float t = 5 * thickness *
                  (0.2969f * std::sqrt(x) - 0.126f * x - 0.3516f * x * x + 0.2843f * x * x * x - 0.1036f * x * x * x * x);
        float camber = 0.04f * x * (1 - x) * 4;
        upper.push_back({x, camber + t});
        lower.push_back({x, camber - t});
    }
    std::vector<Point2> loop;
    for (int i = halfPoints; i >= 0; --i)
        loop.push_back(upper[size_t(i)]);
    for (int i = 1; i < halfPoints; ++i)
        loop.push_back(lower[size_t(i)]);
    // That runs trailing edge -> leading edge over the top: clockwise in
    // (x, y); turn it round.
    std::reverse(loop.begin(), loop.end());
    return loop;
}

// A wing from root to tip along +X (or -X), the aerofoil lying in the (Z, Y)
// plane: chord along -Z from the leading edge. Stations are quads; the two
// ends are closed with one polygon each.
void wing(PolyMesh& mesh, uint16_t tag, float side, float rootX, float tipX, float rootChord, float tipChord,
          float leadingZ, float sweep, float y, float dihedral, int stations)
{
    const std::vector<Point2> foil = aerofoil(14, 0.12f);
    const uint32_t n = uint32_t(foil.size());
    std::vector<uint32_t> firsts;
    for (int s = 0; s <= stations; ++s) {
        float t = float(s) / float(stations);
        float x = rootX + (tipX - rootX) * t;
        float chord = rootChord + (tipChord - rootChord) * t;
        float lead = leadingZ - sweep * t;
        float lift = y + dihedral * t;
        firsts.push_back(uint32_t(mesh.points().size()));
        for (const Point2& p : foil)
            mesh.addPoint({side * x, lift + p.y * chord, lead - p.x * chord}, {t, p.x});
    }
    // Seen from +X the foil loop (z decreasing with chord) is mirrored, so the
    // winding flips with the side.
    for (int s = 0; s < stations; ++s)
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t a = firsts[size_t(s)] + i, b = firsts[size_t(s)] + (i + 1) % n;
            uint32_t c = firsts[size_t(s) + 1] + (i + 1) % n, d = firsts[size_t(s) + 1] + i;
            if (side > 0)
                mesh.addPolygon({a, d, c, b}, tag);
            else
                mesh.addPolygon({a, b, c, d}, tag);
        }
    std::vector<uint32_t> root, tip;
    for (uint32_t i = 0; i < n; ++i) {
        root.push_back(firsts.front() + i);
        tip.push_back(firsts.back() + i);
    }
    if (side > 0)
        std::reverse(tip.begin(), tip.end());
    else
        std::reverse(root.begin(), root.end());
    mesh.addPolygon(root, tag);
    mesh.addPolygon(tip, tag);
}

void makeCraft(const PackFolder& pack)
{
    PolyMesh mesh;
    const uint16_t body = mesh.tag("Fuselage"), wings = mesh.tag("Wings"), canopy = mesh.tag("Canopy");
    const uint16_t prop = mesh.tag("Propeller"), trim = mesh.tag("Trim");

    // Fuselage: revolved along Y, then laid along Z with the nose forward.
    uint32_t first = mesh.lathe({{0.0f, -2.05f}, {0.07f, -2.0f}, {0.16f, -1.6f}, {0.24f, -1.0f}, {0.31f, -0.4f},
                                 {0.35f, 0.2f}, {0.36f, 0.8f}, {0.35f, 1.2f}, {0.32f, 1.55f}, {0.26f, 1.8f},
                                 {0.2f, 1.92f}},
                                40, body, true);
    mesh.transform(first, yToZ());
    // Cockpit canopy: a stretched half-dome over the wing root.
    first = mesh.lathe({{0.0f, -1.0f}, {0.45f, -0.9f}, {0.75f, -0.6f}, {0.93f, -0.2f}, {1.0f, 0.2f}, {0.93f, 0.55f},
                        {0.7f, 0.85f}, {0.0f, 1.0f}},
                       24, canopy);
    mesh.transform(first, Matrix44::translation(0, 0.27f, 0.45f) * Matrix44::scale(0.2f, 0.2f, 0.45f) * yToZ());
    // Spinner and propeller.
    first = mesh.lathe({{0.21f, 1.9f}, {0.2f, 2.0f}, {0.16f, 2.12f}, {0.09f, 2.22f}, {0.0f, 2.28f}}, 32, trim, true);
    mesh.transform(first, yToZ());
    for (int blade = 0; blade < 3; ++blade) {
        std::vector<Point2> outline = {{0.0f, -0.07f}, {0.9f, -0.06f}, {1.05f, -0.02f}, {1.08f, 0.02f},
                                       {0.95f, 0.07f}, {0.3f, 0.09f}, {0.0f, 0.07f}};
        first = mesh.extrude(outline, {}, -0.015f, 0.015f, prop);
        mesh.transform(first, Matrix44::translation(0, 0, 2.05f) * Matrix44::rotationZ(float(blade) * 120.0f + 15.0f) *
                                  Matrix44::rotationX(25.0f));
    }
    // Main wings, tailplane and fin.
    for (float side : {1.0f, -1.0f}) {
        wing(mesh, wings, side, 0.3f, 3.0f, 1.05f, 0.55f, 0.95f, 0.25f, -0.12f, 0.22f, 8);
        wing(mesh, wings, side, 0.1f, 1.05f, 0.5f, 0.3f, -1.45f, 0.12f, 0.02f, 0.05f, 4);
    }
    std::vector<Point2> fin = {{-2.0f, 0.05f}, {-1.4f, 0.1f}, {-1.75f, 0.55f}, {-1.95f, 0.85f}, {-2.15f, 0.8f},
                               {-2.2f, 0.3f}};
    first = mesh.extrude(fin, {}, -0.035f, 0.035f, trim);
    // The fin's outline lies in (z, y): turn its plane to face X.
    mesh.transform(first, Matrix44::rotationY(-90.0f));

    ObjectExport extras;
    writers::Lwo2Surface fuselage{"Fuselage", "", {0.95f, 0.9f, 0.82f}, 1.0f, {}};
    writers::Lwo2Surface wingSurface{"Wings", "", {0.95f, 0.48f, 0.36f}, 0.9f, {}};
    writers::Lwo2ImageBlock livery;
    livery.projection = 1;  // cylindrical around the fuselage's length
    livery.axis = 2;
    livery.size = {0.8f, 0.8f, 4.2f};
    livery.clip = 1;
    fuselage.blocks.push_back(livery);
    writers::Lwo2ImageBlock stripes;
    stripes.projection = 5;  // from the UV map
    stripes.uvMap = "craft uv";
    stripes.clip = 2;
    wingSurface.blocks.push_back(stripes);
    extras.surfaces = {fuselage, wingSurface, {"Canopy", "", {0.55f, 0.75f, 0.95f}, 0.7f, {}},
                       {"Propeller", "", {0.22f, 0.2f, 0.24f}, 0.8f, {}}, {"Trim", "", {1.0f, 0.78f, 0.35f}, 1.0f, {}}};
    extras.clips = {{1, "demo\\SkyDrift.jpg"}, {2, "demo\\backs\\1.jpg"}};
    extras.uvMapName = "craft uv";
    saveObject(pack, "demo\\intro\\objet\\pilot.lwo", mesh, extras);
}

} // namespace

void addCraftStep(std::vector<AssetStep>& steps)
{
    steps.push_back({"title aeroplane", makeCraft});
}

} // namespace assetgen
