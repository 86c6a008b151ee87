// "mosquee.hlv": a domed hall at dawn. Sandstone walls with three windows a
// side, a tiled floor lit in pools where the light shafts land, two arcades
// of marble columns under striped arches, a mosaic dome with an opening,
// and a camera that walks the nave for 33 seconds.
#include <cmath>

#include "math/camera.h"
#include "scene/scene.h"
#include "tools/assetgen/camera_path.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/mosque_layout.h"
#include "tools/assetgen/scene_kit.h"
#include "tools/assetgen/scene_textures.h"
#include "tools/assetgen/shading.h"

namespace assetgen {

namespace {

using namespace hall;

constexpr float kPi = 3.14159265f;
constexpr float kInner = kHalf - kWallThickness * 0.5f;  // the walls' inner faces
constexpr float kOuter = kHalf + kWallThickness * 0.5f;

// Newell normal of a polygon.
Vector3f faceNormal(const PolyMesh& mesh, const Polygon& polygon)
{
    Vector3f n{0, 0, 0};
    for (size_t i = 0; i < polygon.indices.size(); ++i) {
        const Vector3f& a = mesh.points()[polygon.indices[i]];
        const Vector3f& b = mesh.points()[polygon.indices[(i + 1) % polygon.indices.size()]];
        n += Vector3f{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
    return n;
}

// Turns the polygons from `firstPolygon` on so that they face `facing`.
void orient(PolyMesh& mesh, size_t firstPolygon, const Vector3f& facing)
{
    for (size_t p = firstPolygon; p < mesh.polygons().size(); ++p)
        if (dot(faceNormal(mesh, mesh.polygons()[p]), facing) < 0)
            mesh.flipPolygon(p);
}

// A flat rectangle split into cells of about three units, facing `facing`;
// UV in units of three (one texture repeat).
void panel(PolyMesh& mesh, uint16_t tag, const Vector3f& origin, const Vector3f& du, const Vector3f& dv,
           const Vector3f& facing, UV uvOrigin)
{
    int cols = std::max(1, int(std::ceil(du.length() / 3.0f))), rows = std::max(1, int(std::ceil(dv.length() / 3.0f)));
    size_t first = mesh.polygons().size();
    mesh.addGrid(origin, du, dv, cols, rows, tag, uvOrigin, {du.length() / 3.0f, dv.length() / 3.0f});
    orient(mesh, first, facing);
}

void quad(PolyMesh& mesh, uint16_t tag, const Vector3f& a, const Vector3f& b, const Vector3f& c, const Vector3f& d,
          const Vector3f& facing)
{
    size_t first = mesh.polygons().size();
    uint32_t i = mesh.addPoint(a, {0, 0}), j = mesh.addPoint(b, {1, 0}), k = mesh.addPoint(c, {1, 1}), l = mesh.addPoint(d, {0, 1});
    mesh.addPolygon({i, j, k, l}, tag);
    orient(mesh, first, facing);
}

// Side walls (x = +-kInner) with their windows, reveals and glass.
void sideWall(PolyMesh& mesh, float side, uint16_t wall, uint16_t glass)
{
    const float x = side * kInner;
    const Vector3f inward{-side, 0, 0};
    std::vector<float> zs = {-kInner};
    for (float z : kWindowZ) {
        zs.push_back(z - kWindowHalfWidth);
        zs.push_back(z + kWindowHalfWidth);
    }
    zs.push_back(kInner);
    const float ys[4] = {0, kWindowBottom, kWindowTop, kWallHeight};
    for (size_t i = 0; i + 1 < zs.size(); ++i)
        for (int j = 0; j < 3; ++j) {
            bool window = (i % 2 == 1) && j == 1;
            if (window)
                continue;
            panel(mesh, wall, {x, ys[j], zs[i]}, {0, 0, zs[i + 1] - zs[i]}, {0, ys[j + 1] - ys[j], 0}, inward,
                  {(zs[i] + kHalf) / 3.0f, ys[j] / 3.0f});
        }
    const float xo = side * kOuter;
    for (float z : kWindowZ) {
        float z0 = z - kWindowHalfWidth, z1 = z + kWindowHalfWidth;
        quad(mesh, wall, {x, kWindowBottom, z0}, {xo, kWindowBottom, z0}, {xo, kWindowBottom, z1}, {x, kWindowBottom, z1}, {0, 1, 0});
        quad(mesh, wall, {x, kWindowTop, z0}, {xo, kWindowTop, z0}, {xo, kWindowTop, z1}, {x, kWindowTop, z1}, {0, -1, 0});
        quad(mesh, wall, {x, kWindowBottom, z0}, {xo, kWindowBottom, z0}, {xo, kWindowTop, z0}, {x, kWindowTop, z0}, {0, 0, 1});
        quad(mesh, wall, {x, kWindowBottom, z1}, {xo, kWindowBottom, z1}, {xo, kWindowTop, z1}, {x, kWindowTop, z1}, {0, 0, -1});
        quad(mesh, glass, {xo, kWindowBottom, z0}, {xo, kWindowBottom, z1}, {xo, kWindowTop, z1}, {xo, kWindowTop, z0}, inward);
    }
}

// The entrance wall (z = -kInner, with a doorway) and the prayer wall
// (z = +kInner, with the gilded niche panel).
void endWalls(PolyMesh& mesh, uint16_t wall, uint16_t door, uint16_t niche)
{
    const float doorHalf = 1.6f, doorTop = 4.2f;
    const float xs[4] = {-kInner, -doorHalf, doorHalf, kInner};
    const float ys[3] = {0, doorTop, kWallHeight};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            if (!(i == 1 && j == 0))
                panel(mesh, wall, {xs[i], ys[j], -kInner}, {xs[i + 1] - xs[i], 0, 0}, {0, ys[j + 1] - ys[j], 0},
                      {0, 0, 1}, {(xs[i] + kHalf) / 3.0f, ys[j] / 3.0f});
        }
    quad(mesh, door, {-doorHalf, 0, -kOuter}, {doorHalf, 0, -kOuter}, {doorHalf, doorTop, -kOuter}, {-doorHalf, doorTop, -kOuter}, {0, 0, 1});
    quad(mesh, wall, {-doorHalf, 0, -kInner}, {-doorHalf, 0, -kOuter}, {-doorHalf, doorTop, -kOuter}, {-doorHalf, doorTop, -kInner}, {1, 0, 0});
    quad(mesh, wall, {doorHalf, 0, -kInner}, {doorHalf, 0, -kOuter}, {doorHalf, doorTop, -kOuter}, {doorHalf, doorTop, -kInner}, {-1, 0, 0});
    quad(mesh, wall, {-doorHalf, doorTop, -kInner}, {doorHalf, doorTop, -kInner}, {doorHalf, doorTop, -kOuter}, {-doorHalf, doorTop, -kOuter}, {0, -1, 0});
    panel(mesh, wall, {-kInner, 0, kInner}, {2 * kInner, 0, 0}, {0, kWallHeight, 0}, {0, 0, -1}, {0, 0});
    // The niche: a pointed arch over a rectangle, one convex polygon.
    const float half = 1.7f, bottom = 0.3f, spring = 3.6f, z = kInner - 0.04f;
    std::vector<uint32_t> outline;
    auto add = [&](float px, float py) {
        outline.push_back(mesh.addPoint({px, py, z}, {(px + half) / (2 * half), 1 - (py - bottom) / (6.0f - bottom)}));
    };
    add(-half, bottom);
    add(half, bottom);
    const float radius = half * 1.6f, offset = radius - half;
    for (int k = 0; k <= 8; ++k) {  // right flank up to the apex, then the left flank down
        float t = std::acos(offset / radius) * float(k) / 8.0f;
        const CosSin turn = cosSin(t);
        add(-offset + radius * turn.cos, spring + radius * turn.sin);
    }
    for (int k = 7; k >= 0; --k) {
        float t = std::acos(offset / radius) * float(k) / 8.0f;
        const CosSin turn = cosSin(t);
        add(offset - radius * turn.cos, spring + radius * turn.sin);
    }
    size_t first = mesh.polygons().size();
    mesh.addPolygon(outline, niche);
    orient(mesh, first, {0, 0, -1});
}

// The flat ceiling from the walls to the dome's ring, and the dome.
void ceilingAndDome(PolyMesh& mesh, uint16_t ceiling, uint16_t dome, uint16_t sky)
{
    const int segments = 48;
    for (int s = 0; s < segments; ++s) {
        float a0 = 2 * kPi * float(s) / segments, a1 = 2 * kPi * float(s + 1) / segments;
        auto rim = [&](float a) {
            const CosSin turn = cosSin(a);
            float c = turn.cos, d = turn.sin;
            float k = kInner / std::max(std::fabs(c), std::fabs(d));
            return Vector3f{c * k, kWallHeight, d * k};
        };
        const CosSin turn0 = cosSin(a0), turn1 = cosSin(a1);
        Vector3f i0{kDomeRadius * turn0.cos, kWallHeight, kDomeRadius * turn0.sin};
        Vector3f i1{kDomeRadius * turn1.cos, kWallHeight, kDomeRadius * turn1.sin};
        Vector3f o0 = rim(a0), o1 = rim(a1);
        size_t first = mesh.polygons().size();
        uint32_t a = mesh.addPoint(i0, {i0.x / 3, i0.z / 3}), b = mesh.addPoint(i1, {i1.x / 3, i1.z / 3});
        uint32_t c = mesh.addPoint(o1, {o1.x / 3, o1.z / 3}), d = mesh.addPoint(o0, {o0.x / 3, o0.z / 3});
        mesh.addPolygon({a, b, c, d}, ceiling);
        orient(mesh, first, {0, -1, 0});
    }
    std::vector<ProfilePoint> profile;
    const float top = std::acos(kOculusRadius / kDomeRadius);
    for (int k = 0; k <= 10; ++k) {
        float e = top * float(k) / 10.0f;
        const CosSin turn = cosSin(e);
        profile.push_back({kDomeRadius * turn.cos, kWallHeight + kDomeRadius * turn.sin});
    }
    size_t first = mesh.polygons().size();
    mesh.lathe(profile, segments, dome);
    mesh.flipFrom(first);  // seen from inside
    // Bright sky in the opening.
    first = mesh.polygons().size();
    std::vector<uint32_t> disc;
    for (int s = 0; s < 12; ++s) {
        float a = 2 * kPi * float(s) / 12;
        const CosSin turn = cosSin(a);
        disc.push_back(mesh.addPoint({1.3f * turn.cos, kWallHeight + kDomeRadius + 0.3f, 1.3f * turn.sin}));
    }
    mesh.addPolygon(disc, sky);
    orient(mesh, first, {0, -1, 0});
}

PolyMesh columnMesh()
{
    PolyMesh mesh;
    uint16_t marble = mesh.tag("Columns");
    mesh.lathe({{0.62f, 0.0f}, {0.62f, 0.3f}, {0.5f, 0.42f}, {kColumnRadius, 0.6f}, {kColumnRadius * 0.92f, 4.5f},
                {0.5f, 4.65f}, {0.66f, 4.95f}, {0.66f, kArchSpring}},
               20, marble, true);
    ShadeLook look;
    look.base = fromHex(0xf0e2d4);
    look.sky = fromHex(0x5a4a58);
    look.ground = fromHex(0x2a1c20);
    look.lights = {{{-1, 0.7f, 0.2f}, fromHex(0xb08a60)}, {{1, 0.7f, 0.2f}, fromHex(0xb08a60)}, {{0, 1, 0}, fromHex(0x302838)}};
    bakeShading(mesh, 0, look);
    return mesh;
}

// One pointed arch with its spandrel, spanning z -3..3 between two columns,
// 0.5 thick, from the springing line to the ceiling.
PolyMesh archMesh()
{
    PolyMesh mesh;
    uint16_t stone = mesh.tag("Arches");
    const float span = 3.0f - kColumnRadius - 0.1f, radius = span * 1.25f, offset = radius - span;
    const float tApex = std::acos(offset / radius);
    std::vector<Vector3f> curve = {{0, kArchSpring, -3.0f}};
    for (int k = 0; k <= 10; ++k) {
        float t = tApex * float(k) / 10.0f;
        const CosSin turn = cosSin(t);
        curve.push_back({0, kArchSpring + radius * turn.sin, offset - radius * turn.cos});
    }
    for (int k = 9; k >= 0; --k) {
        float t = tApex * float(k) / 10.0f;
        const CosSin turn = cosSin(t);
        curve.push_back({0, kArchSpring + radius * turn.sin, -offset + radius * turn.cos});
    }
    curve.push_back({0, kArchSpring, 3.0f});
    for (float side : {0.25f, -0.25f})
        for (size_t i = 0; i + 1 < curve.size(); ++i) {
            const Vector3f &a = curve[i], &b = curve[i + 1];
            size_t first = mesh.polygons().size();
            uint32_t p0 = mesh.addPoint({side, a.y, a.z}, {(a.z + 3) / 6, (a.y - kArchSpring) / (kWallHeight - kArchSpring)});
            uint32_t p1 = mesh.addPoint({side, b.y, b.z}, {(b.z + 3) / 6, (b.y - kArchSpring) / (kWallHeight - kArchSpring)});
            uint32_t p2 = mesh.addPoint({side, kWallHeight, b.z}, {(b.z + 3) / 6, 1});
            uint32_t p3 = mesh.addPoint({side, kWallHeight, a.z}, {(a.z + 3) / 6, 1});
            mesh.addPolygon({p0, p1, p2, p3}, stone);
            orient(mesh, first, {side, 0, 0});
        }
    // The soffit under the curve, facing the opening.
    for (size_t i = 1; i + 2 < curve.size(); ++i) {
        const Vector3f &a = curve[i], &b = curve[i + 1];
        size_t first = mesh.polygons().size();
        float ua = float(i) / float(curve.size()), ub = float(i + 1) / float(curve.size());
        uint32_t p0 = mesh.addPoint({0.25f, a.y, a.z}, {ua * 2, 0}), p1 = mesh.addPoint({0.25f, b.y, b.z}, {ub * 2, 0});
        uint32_t p2 = mesh.addPoint({-0.25f, b.y, b.z}, {ub * 2, 0.25f}), p3 = mesh.addPoint({-0.25f, a.y, a.z}, {ua * 2, 0.25f});
        mesh.addPolygon({p0, p1, p2, p3}, stone);
        Vector3f mid = (a + b) * 0.5f;
        orient(mesh, first, Vector3f{0, kArchSpring, 0} - Vector3f{0, mid.y, mid.z});
    }
    return mesh;
}

// Pools of warm light where the window shafts land, cooler ones under the
// dome, over the whole floor once: the floor's second texture unit
// multiplies its repeating tiles by it.
void lightmap(Canvas& rgb, int detail)
{
    const int size = rgb.width();
    auto toPixel = [&](float world) { return (world + kHalf) / (2 * kHalf) * float(size); };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float wx = float(x) / float(size) * 2 * kHalf - kHalf, wz = float(y) / float(size) * 2 * kHalf - kHalf;
            float centre = std::exp(-(wx * wx + wz * wz) / 40.0f);
            rgb.set(x, y, {0.5f + 0.2f * centre, 0.45f + 0.18f * centre, 0.47f + 0.2f * centre});
        }
    Canvas pools(size, size, 3);
    for (float side : {-1.0f, 1.0f})
        for (float z : kWindowZ) {
            float xWall = side * (kInner - 0.05f);
            float near = kWindowBottom - kShaftFloor, far = kWindowTop - kShaftFloor;
            float x0 = xWall - side * kSunSlopeX * near, x1 = xWall - side * kSunSlopeX * far;
            float z0 = z - kWindowHalfWidth + kSunSlopeZ * near, z1 = z + kWindowHalfWidth + kSunSlopeZ * far;
            for (int py = int(toPixel(z0)); py <= int(toPixel(z1)); ++py)
                for (int px = int(toPixel(std::min(x0, x1))); px <= int(toPixel(std::max(x0, x1))); ++px)
                    if (px >= 0 && py >= 0 && px < size && py < size)
                        pools.set(px, py, {1.0f, 0.8f, 0.5f});
        }
    for (float side : {-1.0f, 1.0f}) {
        float drop = kWallHeight + kDomeRadius - 0.08f - kShaftFloor;
        float cx = side * kSkySlopeX * drop, cz = kSkySlopeZ * drop;
        for (int py = 0; py < size; ++py)
            for (int px = 0; px < size; ++px) {
                float wx = float(px) / float(size) * 2 * kHalf - kHalf, wz = float(py) / float(size) * 2 * kHalf - kHalf;
                if ((wx - cx) * (wx - cx) + (wz - cz) * (wz - cz) < kOculusRadius * kOculusRadius * 0.64f)
                    pools.add(px, py, {0.45f, 0.5f, 0.6f});
            }
    }
    pools.blur(3 * detail);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb base = rgb.rgb(x, y), add = pools.rgb(x, y);
            rgb.set(x, y, {clamp01(base.r + add.r), clamp01(base.g + add.g), clamp01(base.b + add.b)});
        }
}

std::vector<CameraKey> nave()
{
    return {
        {0.0f, {0.0f, 2.0f, -10.6f}, {0.0f, 3.0f, 0.0f}},
        {5.0f, {0.5f, 2.3f, -7.5f}, {-8.0f, 3.6f, -3.5f}},
        {10.0f, {-0.3f, 2.7f, -4.0f}, {8.0f, 3.4f, 0.5f}},
        {15.0f, {0.0f, 2.4f, -1.2f}, {0.0f, 12.0f, 2.0f}},
        {20.0f, {0.4f, 3.0f, 2.6f}, {-3.0f, 1.0f, -0.5f}},
        {25.0f, {-0.6f, 3.4f, 4.0f}, {8.0f, 4.0f, 0.5f}},
        {29.0f, {0.0f, 2.9f, 5.2f}, {0.0f, 3.2f, 12.0f}},
        {33.0f, {0.0f, 2.5f, 7.0f}, {0.0f, 3.2f, 12.0f}},
    };
}

void makeHall(const PackFolder& pack)
{
    WorkFolder work(pack);
    Scene scene;
    const int d = pack.detail();
    const int tiles = scene.add_texture(rawRgbTexture(floorTileTexture(256 * d)));
    const int stone = scene.add_texture(fileRgbTexture(sandstoneTexture(256 * d, d), work.path(), "sandstone.jpg"));
    const int mosaic = scene.add_texture(fileRgbTexture(mosaicTexture(256 * d), work.path(), "dome-mosaic.jpg"));
    const int detail = scene.add_texture(rawGreyTexture(detailTexture(128 * d, 9)));
    const int stripes = scene.add_texture(rawRgbTexture(voussoirTexture(128 * d)));
    const int gilded = scene.add_texture(rawRgbTexture(mihrabTexture(256 * d)));
    Canvas light(256 * d, 256 * d, 3);
    lightmap(light, d);
    const int pools = scene.add_texture(rawRgbTexture(light));

    addDetailSurface(scene, "Floor", tiles, pools);
    addDetailSurface(scene, "Walls", stone, detail, -1, {1, 1, 1}, fromHex(0xb0a098));
    addDetailSurface(scene, "Dome", mosaic, detail, -1, {1, 1, 1}, fromHex(0xc8c0c8));
    addPlainSurface(scene, "Window glass", fromHex(0xffe0a8));
    addPlainSurface(scene, "Oculus sky", fromHex(0xe8ecff));
    addPlainSurface(scene, "Door", fromHex(0x0e0a0c));
    addPlainSurface(scene, "Columns", {1, 1, 1});
    addTextureSurface(scene, "Arches", stripes, fromHex(0xb8a8a0));
    addTextureSurface(scene, "Niche", gilded, fromHex(0xd0c0b0));

    PolyMesh room;
    const uint16_t floor = room.tag("Floor"), walls = room.tag("Walls"), glass = room.tag("Window glass");
    const uint16_t door = room.tag("Door"), niche = room.tag("Niche"), dome = room.tag("Dome"), sky = room.tag("Oculus sky");
    panel(room, floor, {-kHalf, 0, -kHalf}, {2 * kHalf, 0, 0}, {0, 0, 2 * kHalf}, {0, 1, 0}, {0, 0});
    sideWall(room, -1, walls, glass);
    sideWall(room, 1, walls, glass);
    endWalls(room, walls, door, niche);
    ceilingAndDome(room, walls, dome, sky);
    const int roomIndex = addPrimitive(scene, room,
                                       {{floor, "Floor", VertexFormat::PointUV2, 1.0f, 1.0f / 8},
                                        {walls, "Walls", VertexFormat::PointUV2, 1.0f, 6.0f},
                                        {dome, "Dome", VertexFormat::PointUV2, 1.0f, 6.0f},
                                        {glass, "Window glass", VertexFormat::Point},
                                        {sky, "Oculus sky", VertexFormat::Point},
                                        {door, "Door", VertexFormat::Point},
                                        {niche, "Niche", VertexFormat::PointUV}});
    const int columnIndex = addPrimitive(scene, columnMesh(), {{0, "Columns", VertexFormat::PointColour}});
    const int archIndex = addPrimitive(scene, archMesh(), {{0, "Arches", VertexFormat::PointUV, 1.0f}});

    TransformNode* root = addTransform(scene, nullptr);
    addShape(scene, root, roomIndex);
    for (float side : {-1.0f, 1.0f}) {
        for (float z : kColumnZ)
            addShape(scene, addTransform(scene, root, nullptr, nullptr, constant({side * kColumnX, 0, z})), columnIndex);
        for (float z : {-6.0f, 0.0f, 6.0f})
            addShape(scene, addTransform(scene, root, nullptr, nullptr, constant({side * kColumnX, 0, z})), archIndex);
    }
    Lens lens;
    lens.nearDistance = 0.4f;
    lens.halfWidth = 0.3f;
    lens.halfHeight = 0.225f;
    lens.farDistance = 80.0f;
    addCameraPath(scene, root, nave(), lens);

    const Rgb dusk = fromHex(0x1c1418);
    scene.backdrop[0] = dusk.r;
    scene.backdrop[1] = dusk.g;
    scene.backdrop[2] = dusk.b;
    scene.backdrop[3] = 0;
    scene.fog_enabled = true;
    scene.fog_start = 8.0f;
    scene.fog_end = 42.0f;
    scene.fog_colour[0] = dusk.r;
    scene.fog_colour[1] = dusk.g;
    scene.fog_colour[2] = dusk.b;
    scene.fog_colour[3] = 0;
    saveScene(pack, "demo\\mosquee.hlv", scene);
}

} // namespace

void addHallSceneStep(std::vector<AssetStep>& steps)
{
    steps.push_back({"domed hall scene", makeHall});
}

} // namespace assetgen
