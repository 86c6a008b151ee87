// Surfaces as LightWave shows them: each object's own, LightWave's defaults,
// the settings LightWave writes, smoothing by angle within a surface, and
// surfaces too big for one draw part.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "import/lws_convert.h"
#include "import/lws_object.h"
#include "import/part_split.h"
#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Bytes;
using writers::Lwo2ImageBlock;
using writers::Lwo2Surface;
using writers::Lwo2Writer;

namespace {

constexpr float kDegree = 0.0174532925f;

Lwo2Surface coloured(const std::string& name, float r, float g, float b)
{
    Lwo2Surface surface;
    surface.name = name;
    surface.colour[0] = r, surface.colour[1] = g, surface.colour[2] = b;
    return surface;
}

// A triangle of each tag in turn.
Lwo2Writer trianglesOf(const std::vector<std::string>& tags)
{
    Lwo2Writer w;
    std::vector<Vector3f> points;
    std::vector<std::vector<uint32_t>> polygons;
    std::vector<std::pair<uint32_t, uint16_t>> polygonTags;
    for (uint32_t t = 0; t < tags.size(); ++t) {
        points.insert(points.end(), {{float(2 * t), 0, 0}, {float(2 * t + 1), 0, 0}, {float(2 * t), 1, 0}});
        polygons.push_back({3 * t, 3 * t + 1, 3 * t + 2});
        polygonTags.push_back({t, uint16_t(t)});
    }
    w.tags(tags).layer(0).points(points).polygons(polygons).surfaceTags(polygonTags);
    return w;
}

const LW::LWSurface& surfaceNamed(const LW::Scene& record, const std::string& name)
{
    for (const auto& surface : record.surfaces)
        if (surface->name == name)
            return *surface;
    ADD_FAILURE() << "no surface " << name;
    return *record.surfaces.at(0);
}

} // namespace

TEST(LightWaveSurface, SettingsAsLightWaveWritesThemAndItsDefaultsForTheRest)
{
    Lwo2Surface glass = coloured("Glass", 0.1f, 0.2f, 0.3f);
    glass.luminosity = 0.25f;
    glass.specular = 0.5f;
    glass.glossiness = 0.75f;
    glass.transparency = 0.4f;
    glass.smoothingAngle = 30 * kDegree;
    glass.sides = 3;
    glass.vertexColourMap = "paint";
    glass.vertexColourType = "RGB ";
    Lwo2ImageBlock top = writers::uvMappedBlock("uv", 1);
    top.ordinal = "\x90";
    top.opacity = 0.5f;
    top.negative = true;
    top.widthWrap = 2;
    top.heightWrap = 3;
    Lwo2ImageBlock bottom = top;
    bottom.ordinal = "\x80";
    bottom.enabled = false;
    bottom.widthWrap = bottom.heightWrap = 1;
    Lwo2ImageBlock front;
    front.projection = 4;
    front.rotation = {0.5f, 0, 0};
    front.ordinal = "\xA0";
    Lwo2ImageBlock noise;
    noise.header = "PROC";
    glass.blocks = {top, bottom, front, noise};

    // "Plain" gives only COLR, and that without its envelope index, as some
    // exporters write it; "Bare" has polygons but no SURF chunk.
    Lwo2Writer w = trianglesOf({"Glass", "Plain", "Bare"});
    w.vertexMap("RGB ", 3, "paint", {{0, 0, {1, 0, 0}}});
    w.clip(1, "Images/glass.png").surface(glass);
    w.chunk("SURF", Lwo2Bytes().s0("Plain").s0("").subChunk("COLR", Lwo2Bytes().f4(1).f4(0.5f).f4(0)).data());
    LW::Scene record;
    const std::string path = saveObject("surface_settings.lwo", w);
    LW::readSceneObject(path.c_str(), record);

    const LW::LWSurface& s = surfaceNamed(record, "Glass");
    EXPECT_FLOAT_EQ(s.colour[2], 0.3f);
    EXPECT_FLOAT_EQ(s.luminosity, 0.25f);
    EXPECT_FLOAT_EQ(s.specular, 0.5f);
    EXPECT_FLOAT_EQ(s.glossiness, 0.75f);
    EXPECT_FLOAT_EQ(s.transparency, 0.4f);
    EXPECT_FLOAT_EQ(s.smoothingAngle, 30 * kDegree);
    EXPECT_TRUE(s.doubleSided);
    EXPECT_EQ(s.vertexColourMap, "paint");
    EXPECT_FALSE(s.vertexColourAlpha);
    // Layers in ordinal order, the disabled one kept but not drawn.
    ASSERT_EQ(s.colourBlocks.size(), 3u);
    EXPECT_FALSE(s.colourBlocks[0].enabled);
    const LW::LWTextureBlock& layer = s.colourBlocks[1];
    EXPECT_TRUE(layer.enabled);
    EXPECT_FLOAT_EQ(layer.opacity, 0.5f);
    EXPECT_TRUE(layer.negative);
    EXPECT_EQ(layer.widthWrapMode, LW::WrapMode::Mirror);
    EXPECT_EQ(layer.heightWrapMode, LW::WrapMode::Edge);
    EXPECT_EQ(layer.imageName, "Images/glass.png");
    EXPECT_EQ(s.colourBlocks[2].projection, int(LW::Front));
    EXPECT_FLOAT_EQ(s.colourBlocks[2].rotation.x, 0.5f);
    ASSERT_EQ(LW::LWSurface::enabledOf(s.colourBlocks).size(), 2u);
    EXPECT_EQ(LW::LWSurface::enabledOf(s.colourBlocks)[0], &layer);
    EXPECT_EQ(s.undrawn, std::vector<std::string>{"procedural texture on COLR"});

    const LW::LWSurface& plain = surfaceNamed(record, "Plain");
    EXPECT_FLOAT_EQ(plain.colour[1], 0.5f);
    EXPECT_FLOAT_EQ(plain.diffuse, 1.0f);
    const LW::LWSurface& bare = surfaceNamed(record, "Bare");
    EXPECT_FALSE(bare.described);
    EXPECT_NEAR(bare.colour[0], 0.784f, 0.001f) << "LightWave's grey, not black";
    EXPECT_FLOAT_EQ(bare.diffuse, 1.0f);
    EXPECT_FALSE(bare.doubleSided);
    EXPECT_FLOAT_EQ(bare.smoothingAngle, 0.0f);
}

TEST(LightWaveSurface, EachObjectAndLayerReadHasItsOwn)
{
    Lwo2Surface textured = coloured("Default", 1, 0, 0);
    textured.blocks.push_back(writers::uvMappedBlock("uv", 1));
    const std::string red = saveObject("default_red.lwo", trianglesOf({"Default"}).clip(1, "a.png").surface(textured));
    const std::string blue = saveObject("default_blue.lwo", trianglesOf({"Default"}).surface(coloured("Default", 0, 0, 1)));

    LW::Scene record;
    const LW::SceneObject first = LW::readSceneObject(red.c_str(), record, 1);
    const LW::SceneObject second = LW::readSceneObject(blue.c_str(), record, 1);
    const LW::SceneObject again = LW::readSceneObject(red.c_str(), record, 1);
    ASSERT_EQ(record.surfaces.size(), 3u);
    EXPECT_NE(first.tagSurface[0], second.tagSurface[0]);
    EXPECT_FLOAT_EQ(record.surfaces[first.tagSurface[0]]->colour[0], 1.0f);
    EXPECT_FLOAT_EQ(record.surfaces[second.tagSurface[0]]->colour[2], 1.0f);
    // The same layer read again does not double the first one's layers.
    EXPECT_EQ(record.surfaces[first.tagSurface[0]]->colourBlocks.size(), 1u);
    EXPECT_EQ(record.surfaces[again.tagSurface[0]]->colourBlocks.size(), 1u);
    EXPECT_EQ(LW::sceneSurfaceNames(record), (std::vector<std::string>{"Default", "Default (2)", "Default (3)"}));
}

// A cube's faces meet at 90 degrees, a 16-sided sphere's at 22.5: an angle
// of 45 degrees keeps the cube's corners sharp and rounds the sphere.
TEST(LightWaveSurface, SmoothingAngleSplitsACubesNormalsAndNotASpheres)
{
    auto normalsOf = [](const std::string& name, Lwo2Writer w) {
        LW::Scene record;
        LW::SceneObject object = LW::readSceneObject(saveObject(name, w).c_str(), record);
        object.mesh->build(hlv::RobustMesh::ComputeNormals);
        return object.mesh->parts().at(0);
    };
    Lwo2Surface smooth = coloured("Smooth", 1, 1, 1);
    smooth.smoothingAngle = 45 * kDegree;

    const std::vector<Vector3f> cubePoints = {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1},
                                              {-1, -1, 1},  {-1, 1, 1},  {1, 1, 1},  {1, -1, 1}};
    const std::vector<std::vector<uint32_t>> faces = {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                                                      {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    Lwo2Writer cube;
    cube.tags({"Smooth"}).layer(0).points(cubePoints).polygons(faces);
    cube.surfaceTags({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}).surface(smooth);
    const hlv::MeshPart box = normalsOf("smooth_cube.lwo", cube);
    EXPECT_EQ(box.vertexCount, 24u) << "each corner once per face";
    for (const Vector3f& n : box.normals)
        EXPECT_NEAR(std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z), 1.0f, 1e-5f) << "a face's own normal";

    const int around = 16, down = 8;
    std::vector<Vector3f> points = {{0, 1, 0}, {0, -1, 0}};
    for (int j = 1; j < down; ++j)
        for (int i = 0; i < around; ++i) {
            const float a = 2 * float(M_PI) * i / around, b = float(M_PI) * j / down;
            points.push_back({std::sin(b) * std::cos(a), std::cos(b), std::sin(b) * std::sin(a)});
        }
    auto ring = [&](int j, int i) { return uint32_t(2 + (j - 1) * around + (i % around)); };
    std::vector<std::vector<uint32_t>> quads;
    for (int i = 0; i < around; ++i) {
        quads.push_back({0, ring(1, i + 1), ring(1, i)});
        quads.push_back({1, ring(down - 1, i), ring(down - 1, i + 1)});
        for (int j = 1; j + 1 < down; ++j)
            quads.push_back({ring(j, i), ring(j, i + 1), ring(j + 1, i + 1), ring(j + 1, i)});
    }
    Lwo2Writer sphere;
    sphere.tags({"Smooth"}).layer(0).points(points).polygons(quads);
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    for (uint32_t p = 0; p < quads.size(); ++p)
        tags.push_back({p, 0});
    sphere.surfaceTags(tags).surface(smooth);
    const hlv::MeshPart ball = normalsOf("smooth_sphere.lwo", sphere);
    // Away from the poles (where a fan's far side is beyond the angle) every
    // point has one normal, the sphere's own.
    uint32_t ringVertices = 0;
    for (uint32_t v = 0; v < ball.vertexCount; ++v) {
        if (std::fabs(ball.positions[v].y) > 0.99f)
            continue;
        ++ringVertices;
        EXPECT_GT(dot(ball.normals[v], normalize(ball.positions[v])), 0.98f) << "the sphere's own normal";
    }
    EXPECT_EQ(ringVertices, points.size() - 2);
}

// 301 x 301 points in one surface: more than one draw part can index.
TEST(LightWaveSurface, AGridOf300By300InOneSurfaceIsDrawnInParts)
{
    const uint32_t side = 301;
    std::vector<Vector3f> points;
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x)
            points.push_back({float(x), float(y), 0});
    std::vector<std::vector<uint32_t>> quads;
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    for (uint32_t y = 0; y + 1 < side; ++y)
        for (uint32_t x = 0; x + 1 < side; ++x) {
            const uint32_t p = y * side + x;
            tags.push_back({uint32_t(quads.size()), 0});
            quads.push_back({p, p + side, p + side + 1, p + 1});
        }
    Lwo2Writer w;
    w.tags({"Ground"}).layer(0).points(points).polygons(quads).surfaceTags(tags).surface(coloured("Ground", 0, 1, 0));
    LW::Scene record;
    LW::SceneObject grid = LW::readSceneObject(saveObject("grid300.lwo", w).c_str(), record);
    grid.mesh->build(0);
    ASSERT_EQ(grid.mesh->partCount(), 1u);
    const hlv::MeshPart& part = grid.mesh->parts()[0];
    ASSERT_EQ(part.vertexCount, side * side);

    const std::vector<hlv::MeshPart> pieces = LW::splitPart(part);
    ASSERT_GE(pieces.size(), 2u);
    std::set<std::tuple<float, float, float>> corners;
    uint32_t triangles = 0;
    for (const hlv::MeshPart& piece : pieces) {
        EXPECT_LE(piece.vertexCount, LW::kMaxPartVertices);
        EXPECT_EQ(piece.positions.size(), piece.vertexCount);
        triangles += piece.triangleCount;
        for (uint32_t index : piece.indices) {
            ASSERT_LT(index, piece.vertexCount);
            const Vector3f& p = piece.positions[index];
            corners.insert({p.x, p.y, p.z});
        }
    }
    EXPECT_EQ(triangles, 2 * 300u * 300u) << "every triangle in one of the parts";
    EXPECT_EQ(corners.size(), size_t(side) * side);
}
