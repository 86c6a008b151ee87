#include <gtest/gtest.h>

#include <cmath>

#include "import/lws_object.h"
#include "tests/import/lwo2_test_files.h"

using writers::Lwo2ImageBlock;
using writers::Lwo2Surface;
using writers::Lwo2Writer;

namespace {

struct CornerUVs {
    float uv[3][2];
};

// One textured triangle (points 0, 1, 2) of surface "Skin"; returns the
// (u, v) of its three corners in set 0.
CornerUVs mapTriangle(const std::string& file, const std::vector<Vector3f>& points, const Lwo2ImageBlock& block,
                      const std::vector<std::string>& diffuseChannels = {}, bool asLightWave = false)
{
    Lwo2Surface surface;
    surface.name = "Skin";
    surface.blocks.push_back(block);
    for (const std::string& channel : diffuseChannels) {
        Lwo2ImageBlock extra = block;
        extra.channel = channel;
        surface.blocks.push_back(extra);
    }
    Lwo2Writer w;
    w.tags({"Skin"}).points(points).polygons({{0, 1, 2}}).surfaceTags({{0, 0}});
    w.vertexMap("TXUV", 2, "uvs", {{0, 0, {0.1f, 0.2f}}, {1, 0, {0.3f, 0.4f}}, {2, 0, {0.5f, 0.6f}}});
    w.polygonVertexMap("TXUV", 2, "uvs", {{1, 0, {0.9f, 0.8f}}});
    w.clip(7, "images\\skin.png");
    w.surface(surface);
    std::unique_ptr<hlv::RobustMesh> mesh;
    if (asLightWave) {
        LW::Scene record;
        mesh = LW::readSceneObject(saveObject(file, w).c_str(), record).mesh;
        mesh->build(0);
    } else {
        mesh = loadBuilt(saveObject(file, w));
    }
    CornerUVs result{};
    EXPECT_TRUE(mesh);
    if (!mesh)
        return result;
    const hlv::MeshPart& part = mesh->parts().at(0);
    EXPECT_GE(part.uvLayerCount, 1u);
    for (int k = 0; k < 3; ++k) {
        const uint32_t v = part.indices[k];
        result.uv[k][0] = part.uvLayers[0][2 * v];
        result.uv[k][1] = part.uvLayers[0][2 * v + 1];
    }
    return result;
}

void expectUVs(const CornerUVs& got, const std::vector<std::pair<float, float>>& expected)
{
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(got.uv[k][0], expected[k].first, 1e-5f) << "u of corner " << k;
        EXPECT_NEAR(got.uv[k][1], expected[k].second, 1e-5f) << "v of corner " << k;
    }
}

Lwo2ImageBlock block(uint16_t projection, uint16_t axis, Vector3f size, Vector3f centre = {0, 0, 0})
{
    Lwo2ImageBlock b;
    b.projection = projection;
    b.axis = axis;
    b.size = size;
    b.centre = centre;
    return b;
}

} // namespace

TEST(Lwo2Mapping, Planar)
{
    // Axis Z: u = dx / sx + 0.5, v = 0.5 - dy / sy.
    expectUVs(mapTriangle("planar_z.lwo", {{0, 0, 0}, {1, 0.5f, 0}, {-1, 1, 0}}, block(0, 2, {2, 2, 2})),
              {{0.5f, 0.5f}, {1.0f, 0.25f}, {0.0f, 0.0f}});
    // Axis X: u = dz / sz + 0.5, v = 0.5 - dy / sy, around centre (1, 1, 1).
    expectUVs(mapTriangle("planar_x.lwo", {{1, 1, 1}, {1, 2, 1}, {1, 1, 3}}, block(0, 0, {4, 4, 4}, {1, 1, 1})),
              {{0.5f, 0.5f}, {0.5f, 0.25f}, {1.0f, 0.5f}});
    // Axis Y: u = dx / sx + 0.5, v = 0.5 - dz / sz.
    expectUVs(mapTriangle("planar_y.lwo", {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}}, block(0, 1, {2, 2, 2})),
              {{0.5f, 0.5f}, {0.5f, 0.0f}, {1.0f, 0.5f}});
}

// Front projection (from the camera) is drawn as planar along Z; a texture
// turned by heading 90 degrees (+Z towards +X) projects along its own X
// axis onto the world's Z.
TEST(Lwo2Mapping, FrontAndTurnedPlanar)
{
    const std::vector<Vector3f> triangle = {{0, 0, 0}, {1, 0.5f, 0}, {-1, 1, 0}};
    const std::vector<std::pair<float, float>> planarZ = {{0.5f, 0.5f}, {1.0f, 0.25f}, {0.0f, 0.0f}};
    expectUVs(mapTriangle("front.lwo", triangle, block(4, 0, {2, 2, 2}), {}, true), planarZ);
    Lwo2ImageBlock turned = block(0, 0, {2, 2, 2});
    turned.rotation = {float(M_PI / 2), 0, 0};
    expectUVs(mapTriangle("turned.lwo", triangle, turned), planarZ);
}

// A texture turned by more than one angle: LightWave turns the texture's
// frame by bank, then pitch, then heading, so a point is taken into the
// frame by undoing heading first. Each case gives where the frame's axes lie
// in the world; the triangle lies on the ground (y = 0).
TEST(Lwo2Mapping, TurnedByHeadingPitchAndBankTogether)
{
    const float quarter = float(M_PI / 2);
    const std::vector<Vector3f> ground = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    const struct {
        const char* name;
        uint16_t projection, axis;
        Vector3f rotation;
        std::vector<std::pair<float, float>> uvs;
    } cases[] = {
        // The frame's X runs along the world's -Z, its Y along +X: planar Z
        // lays the picture flat on the ground, its top towards +X.
        {"heading and pitch", 0, 2, {quarter, quarter, 0}, {{0.5f, 0.5f}, {0.5f, 0.0f}, {0.0f, 0.5f}}},
        // X along +Z, Y along -X.
        {"pitch and bank", 0, 2, {0, quarter, quarter}, {{0.5f, 0.5f}, {0.5f, 1.0f}, {1.0f, 0.5f}}},
        // Pitched down a quarter, the frame's Z axis is the world's -Y: the
        // cubic map takes the ground's normal as its Z axis, X along +X and
        // Y along +Z.
        {"cubic, pitched", 3, 0, {0, quarter, 0}, {{0.5f, 0.5f}, {1.0f, 0.5f}, {0.5f, 0.0f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lwo2ImageBlock turned = block(c.projection, c.axis, {2, 2, 2});
        turned.rotation = c.rotation;
        expectUVs(mapTriangle("turned_hpb.lwo", ground, turned, {}, true), c.uvs);
    }
}

TEST(Lwo2Mapping, Cylindrical)
{
    // Axis Y: a = -dx, c = dz; (1,0,0) has heading pi/2 (c = 0, a < 0), (0,1,1)
    // heading 0, (0,-1,-1) heading pi (c < 0); v = 0.5 - dy / 2.
    expectUVs(mapTriangle("cylindrical.lwo", {{1, 0, 0}, {0, 1, 1}, {0, -1, -1}}, block(1, 1, {1, 2, 1})),
              {{0.75f, 0.5f}, {1.0f, 0.0f}, {0.5f, 1.0f}});
}

TEST(Lwo2Mapping, Spherical)
{
    // Axis Z: a = -dx, b = dz, c = -dy. (0,0,1) lies on the axis: pitch pi/2;
    // (0,-1,0): heading 0, pitch 0; (1,0,1): heading pi/2, pitch pi/4.
    expectUVs(mapTriangle("spherical.lwo", {{0, 0, 1}, {0, -1, 0}, {1, 0, 1}}, block(2, 2, {1, 1, 1})),
              {{1.0f, 0.0f}, {1.0f, 0.5f}, {0.75f, 0.25f}});
}

namespace {

// A globe of radius 1 about Y as Modeler's ball makes it: 16 meridians, 8
// bands, a point at each pole, quads between the rings and triangle fans
// at the poles.
std::unique_ptr<hlv::RobustMesh> globe(const Lwo2ImageBlock& block)
{
    const int meridians = 16, bands = 8;
    const double pi = std::acos(-1.0);
    std::vector<Vector3f> points = {{0, 1, 0}, {0, -1, 0}};
    auto ring = [&](int band, int meridian) { return uint32_t(2 + (band - 1) * meridians + meridian % meridians); };
    for (int band = 1; band < bands; ++band)
        for (int m = 0; m < meridians; ++m) {
            const double pitch = pi / 2 - band * pi / bands, heading = m * 2 * pi / meridians;
            points.push_back({float(std::sin(heading) * std::cos(pitch)), float(std::sin(pitch)),
                              float(std::cos(heading) * std::cos(pitch))});
        }
    std::vector<std::vector<uint32_t>> polygons;
    for (int m = 0; m < meridians; ++m) {
        polygons.push_back({0, ring(1, m + 1), ring(1, m)});
        for (int band = 1; band + 1 < bands; ++band)
            polygons.push_back({ring(band, m), ring(band, m + 1), ring(band + 1, m + 1), ring(band + 1, m)});
        polygons.push_back({1, ring(bands - 1, m), ring(bands - 1, m + 1)});
    }
    Lwo2Surface surface;
    surface.name = "Earth";
    surface.blocks.push_back(block);
    surface.blocks.back().clip = 1;
    Lwo2Writer w;
    w.tags({"Earth"}).clip(1, "earth.png").layer(0).points(points).polygons(polygons);
    w.surfaceTags([&] {
        std::vector<std::pair<uint32_t, uint16_t>> tags;
        for (uint32_t p = 0; p < polygons.size(); ++p)
            tags.push_back({p, 0});
        return tags;
    }()).surface(surface);
    LW::Scene record;
    auto mesh = LW::readSceneObject(saveObject("globe.lwo", w).c_str(), record).mesh;
    mesh->build(0);
    return mesh;
}

// The (u, v) where the ray from the centre along `direction` meets the
// mesh, interpolated across the triangle it meets, as the picture is drawn.
bool uvAlong(const hlv::MeshPart& part, const Vector3f& direction, float& u)
{
    for (uint32_t t = 0; t < part.triangleCount; ++t) {
        const uint32_t i[3] = {part.indices[3 * t], part.indices[3 * t + 1], part.indices[3 * t + 2]};
        const Vector3f e1 = part.positions[i[1]] - part.positions[i[0]], e2 = part.positions[i[2]] - part.positions[i[0]];
        const Vector3f p = cross(direction, e2);
        const float det = dot(e1, p);
        if (std::fabs(det) < 1e-9f)
            continue;
        const Vector3f s = Vector3f{0, 0, 0} - part.positions[i[0]];
        const float b1 = dot(s, p) / det;
        const Vector3f q = cross(s, e1);
        const float b2 = dot(direction, q) / det;
        if (b1 < 0 || b2 < 0 || b1 + b2 > 1 || dot(e2, q) / det <= 0)
            continue;
        const std::vector<float>& uv = part.uvLayers[0];
        u = (1 - b1 - b2) * uv[2 * i[0]] + b1 * uv[2 * i[1]] + b2 * uv[2 * i[2]];
        return true;
    }
    return false;
}

} // namespace

// An earth picture of four columns (red, green, blue, yellow from left to
// right) wrapped around a globe: LightWave shows, at every point, the column
// of the point's own heading (u = 0 at +Z, a quarter at -X, turning through
// +X at three quarters), with no stripe along the seam and no twist at the
// poles.
TEST(Lwo2Mapping, AWrappedPictureHasNoSeamStripeAndNoTwistAtThePoles)
{
    const char* columns = "rgby";
    const struct {
        float heading, pitch;  // degrees; heading from +Z towards +X
        char seen;
    } texels[] = {
        {265, 0, 'g'}, {275, 0, 'r'},    // each side of the seam at -X
        {265, 30, 'g'}, {275, -30, 'r'},
        {5, 10, 'y'}, {355, 10, 'r'},    // each side of the picture's edge at +Z
        {230, 84, 'g'}, {140, 84, 'b'},  // around the north pole
        {230, -84, 'g'}, {320, -84, 'r'}, {50, 84, 'y'},
    };
    for (uint16_t projection : {uint16_t(2), uint16_t(1)}) {
        const std::unique_ptr<hlv::RobustMesh> mesh = globe(block(projection, 1, {2, 2, 2}));
        const hlv::MeshPart& part = mesh->parts().at(0);
        ASSERT_GE(part.uvLayerCount, 1u);
        for (const auto& texel : texels) {
            const float h = texel.heading * float(M_PI) / 180, p = texel.pitch * float(M_PI) / 180;
            float u = 0;
            ASSERT_TRUE(uvAlong(part, {std::sin(h) * std::cos(p), std::sin(p), std::cos(h) * std::cos(p)}, u));
            const int column = int(std::floor((u - std::floor(u)) * 4)) % 4;
            EXPECT_EQ(columns[column], texel.seen) << (projection == 2 ? "spherical" : "cylindrical") << " at heading "
                                                   << texel.heading << ", pitch " << texel.pitch << ": u " << u;
        }
    }
}

TEST(Lwo2Mapping, CubicTakesTheAxisOfTheFaceNormal)
{
    // Normal along X: planar X (u = dz / sz + 0.5, v = 0.5 - dy / sy).
    expectUVs(mapTriangle("cubic_x.lwo", {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}, block(3, 2, {2, 2, 2})),
              {{0.5f, 0.5f}, {0.5f, 0.0f}, {1.0f, 0.5f}});
    // Normal along Y: planar Y (u = dx / sx + 0.5, v = 0.5 - dz / sz).
    expectUVs(mapTriangle("cubic_y.lwo", {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}}, block(3, 0, {2, 2, 2})),
              {{0.5f, 0.5f}, {0.5f, 0.0f}, {1.0f, 0.5f}});
    // Normal along Z: planar Z.
    expectUVs(mapTriangle("cubic_z.lwo", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, block(3, 0, {2, 2, 2})),
              {{0.5f, 0.5f}, {1.0f, 0.5f}, {0.5f, 0.0f}});
}

TEST(Lwo2Mapping, UVMapWithPolygonOverride)
{
    Lwo2ImageBlock uv = block(5, 0, {1, 1, 1});
    uv.uvMap = "uvs";
    uv.clip = 7;
    // LightWave's v runs up from the picture's bottom row; the picture is
    // drawn from its top row.
    expectUVs(mapTriangle("uv.lwo", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, uv), {{0.1f, 0.8f}, {0.9f, 0.2f}, {0.5f, 0.4f}});

    // A surface with a diffuse block as well keeps (0, 0) everywhere.
    expectUVs(mapTriangle("uv_diffuse.lwo", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, uv, {"DIFF"}),
              {{0, 0}, {0, 0}, {0, 0}});
}

TEST(Lwo2Mapping, UnusableBlocksFailTheLoad)
{
    LoadCapture capture;
    Lwo2ImageBlock noName = block(5, 0, {1, 1, 1});
    bool failed = false;
    Lwo2Writer w;
    Lwo2Surface surface;
    surface.name = "Skin";
    surface.blocks.push_back(noName);
    w.tags({"Skin"}).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).surface(surface);
    EXPECT_FALSE(loadBuilt(saveObject("uv_no_name.lwo", w), &failed));
    EXPECT_TRUE(failed);
    EXPECT_TRUE(capture.log.contains("Error !! Missing vmap!!")) << capture.log.text;
    // The log shows that the failure came while the mesh was being built.
    EXPECT_LT(capture.log.text.find("UVsets"), capture.log.text.find("Missing vmap"));

    surface.blocks[0].uvMap = "nowhere";
    w = Lwo2Writer();
    w.tags({"Skin"}).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).surface(surface);
    EXPECT_FALSE(loadBuilt(saveObject("uv_unknown.lwo", w), &failed));
    EXPECT_TRUE(capture.log.contains("Error !! Missing unknown VMAP !")) << capture.log.text;

    surface.blocks[0].projection = 6;
    w = Lwo2Writer();
    w.tags({"Skin"}).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).surface(surface);
    EXPECT_FALSE(loadBuilt(saveObject("projection6.lwo", w), &failed));
    EXPECT_TRUE(capture.traced("Unknown projection method (6) !")) << tracedText();
    EXPECT_TRUE(capture.log.contains("Error !! Unknown mapping type!!")) << capture.log.text;
}
