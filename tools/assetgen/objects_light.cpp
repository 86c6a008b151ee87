// The eight light shafts of the hall, in the hall's world coordinates: one
// from each of the six side windows and two through the dome's opening,
// each a closed convex volume from its opening down to the floor, in
// mirrored pairs. A vertex colour map sets how strongly each glows.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/lwo2_export.h"
#include "tools/assetgen/mosque_layout.h"
#include "tools/assetgen/poly_mesh.h"

namespace assetgen {

namespace {

using namespace hall;

// Each point of `opening` travels along `slope` (per unit of height) down to
// the floor; the opening is a loop that runs counter-clockwise seen from
// along the light. Caps are one polygon each, the sides quads.
PolyMesh shaft(const std::vector<Vector3f>& opening, const Vector3f& slope, const Colour4& glow)
{
    PolyMesh mesh;
    const uint16_t tag = mesh.tag("Light");
    const uint32_t n = uint32_t(opening.size());
    for (const Vector3f& p : opening) {
        float drop = p.y - kShaftFloor;
        mesh.addPoint(p, {}, glow);
        mesh.addPoint({p.x + slope.x * drop, kShaftFloor, p.z + slope.z * drop}, {}, glow);
    }
    std::vector<uint32_t> top, bottom;
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t a = 2 * i, b = 2 * ((i + 1) % n);
        mesh.addPolygon({a, a + 1, b + 1, b}, tag);
        top.push_back(a);
        bottom.push_back(2 * (n - 1 - i) + 1);
    }
    mesh.addPolygon(top, tag);
    mesh.addPolygon(bottom, tag);
    return mesh;
}

void saveShaft(const PackFolder& pack, const char* name, const PolyMesh& mesh)
{
    ObjectExport extras;
    extras.surfaces = {{"Light", "", {1.0f, 0.9f, 0.7f}, 1.0f, {}}};
    extras.colourMapName = "glow";
    saveObject(pack, name, mesh, extras);
}

// The window on the wall at x = side * (kHalf - 0.05), as a loop facing
// into the hall.
std::vector<Vector3f> window(float side, float z)
{
    float x = side * (kHalf - kWallThickness * 0.5f - 0.05f);
    float w = kWindowHalfWidth;
    std::vector<Vector3f> loop = {{x, kWindowBottom, z - w}, {x, kWindowBottom, z + w}, {x, kWindowTop, z + w},
                                  {x, kWindowTop, z - w}};
    if (side > 0)  // the mirrored wall mirrors the winding
        std::reverse(loop.begin(), loop.end());
    return loop;
}

std::vector<Vector3f> oculus()
{
    std::vector<Vector3f> loop;
    const float y = kWallHeight + kDomeRadius - 0.08f, r = kOculusRadius * 0.8f;
    for (int i = 0; i < 8; ++i) {
        float a = -6.2831853f * float(i) / 8.0f;  // clockwise seen from above = counter-clockwise seen from below
        const CosSin turn = cosSin(a);
        loop.push_back({r * turn.cos, y, r * turn.sin});
    }
    return loop;
}

void makeShafts(const PackFolder& pack)
{
    const Colour4 sun{1.0f, 0.86f, 0.62f, 0.85f}, sky{0.85f, 0.9f, 1.0f, 0.7f};
    const char* names[3][2] = {{"demo\\Mosquee\\volum1OK2.lwo", "demo\\Mosquee\\volum1OK2sym.lwo"},
                               {"demo\\Mosquee\\volum2OK.lwo", "demo\\Mosquee\\volum2OKsym.lwo"},
                               {"demo\\Mosquee\\volum3OK.lwo", "demo\\Mosquee\\volum3OKsym.lwo"}};
    for (int w = 0; w < 3; ++w)
        for (int s = 0; s < 2; ++s) {
            float side = s == 0 ? -1.0f : 1.0f;
            // Light from the left windows falls towards +X, from the right ones towards -X.
            Vector3f slope{-side * kSunSlopeX, 0, kSunSlopeZ};
            saveShaft(pack, names[w][s], shaft(window(side, kWindowZ[w]), slope, sun));
        }
    saveShaft(pack, "demo\\Mosquee\\volumPlaf.lwo", shaft(oculus(), {kSkySlopeX, 0, kSkySlopeZ}, sky));
    saveShaft(pack, "demo\\Mosquee\\volumPlaf-sym.lwo", shaft(oculus(), {-kSkySlopeX, 0, kSkySlopeZ}, sky));
}

} // namespace

void addLightObjectSteps(std::vector<AssetStep>& steps)
{
    steps.push_back({"hall light shafts", makeShafts});
}

} // namespace assetgen
