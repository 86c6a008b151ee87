#include <gtest/gtest.h>

#include <cmath>

#include "import/lws_object.h"
#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Bytes;
using writers::Lwo2ImageBlock;
using writers::Lwo2MapEntry;
using writers::Lwo2Surface;
using writers::Lwo2Writer;

namespace {

// A ball (an octahedron of radius 1 at the origin) and three boxes, one per
// layer, as Modeler saves them: the tag list first, then per layer its LAYR,
// points numbered from 0, bounding box, UV map, polygons, surface tags and
// per-polygon UVs, and the surfaces at the end. Layer 3 was left empty, so
// the numbers are 0, 1, 2 and 4.
struct Box {
    uint16_t layer;
    Vector3f origin;
    float side;
};
const Box kBoxes[] = {{1, {3, 0, 0}, 1}, {2, {0, 5, 0}, 2}, {4, {0, 0, -9}, 0.5f}};
const uint16_t kUVLayer = 2;  // the box whose surface is UV mapped
const float kOverride[2] = {0.9f, 0.9f};

// Corner i of a box has x, y, z from bits 0, 1, 2.
std::vector<Vector3f> boxPoints(const Box& box)
{
    std::vector<Vector3f> points;
    for (int i = 0; i < 8; ++i)
        points.push_back({box.origin.x + box.side * float(i & 1), box.origin.y + box.side * float((i >> 1) & 1),
                          box.origin.z + box.side * float((i >> 2) & 1)});
    return points;
}

// The first face is the one at the box's lowest z.
const std::vector<std::vector<uint32_t>> kBoxFaces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                                      {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};

// Layer L's map gives point i the value (0.1 i, 0.1 L).
std::vector<Lwo2MapEntry> layerUVs(size_t pointCount, uint16_t layer)
{
    std::vector<Lwo2MapEntry> entries;
    for (uint32_t i = 0; i < pointCount; ++i)
        entries.push_back({i, 0, {0.1f * float(i), 0.1f * float(layer)}});
    return entries;
}

std::vector<std::pair<uint32_t, uint16_t>> tagAll(size_t polygons, uint16_t tag)
{
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    for (uint32_t p = 0; p < polygons; ++p)
        tags.push_back({p, tag});
    return tags;
}

std::string layeredObject()
{
    const std::vector<Vector3f> ball = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const std::vector<std::vector<uint32_t>> ballFaces = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4},
                                                          {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    Lwo2Writer w;
    w.tags({"Ball", "Box1", "Box2", "Box3"});
    w.layer(0, "ball").points(ball).boundingBox(ball).vertexMap("TXUV", 2, "uv", layerUVs(ball.size(), 0));
    w.polygons(ballFaces).surfaceTags(tagAll(ballFaces.size(), 0));
    for (uint16_t b = 0; b < 3; ++b) {
        const Box& box = kBoxes[b];
        const std::vector<Vector3f> points = boxPoints(box);
        if (box.layer == 4) {
            // Written by hand from the chunk's table: number, flags, pivot,
            // name, and the parent layer's number.
            Lwo2Bytes layer;
            layer.u2(4).u2(0).f4(0.25f).f4(0.25f).f4(-8.75f).s0("small box").u2(0);
            w.chunk("LAYR", layer.data());
        } else {
            w.layer(box.layer, "box " + std::to_string(b + 1));
        }
        w.points(points).boundingBox(points).vertexMap("TXUV", 2, "uv", layerUVs(points.size(), box.layer));
        w.polygons(kBoxFaces).surfaceTags(tagAll(kBoxFaces.size(), uint16_t(b + 1)));
        if (box.layer == kUVLayer)
            w.polygonVertexMap("TXUV", 2, "uv", {{3, 0, {kOverride[0], kOverride[1]}}});
    }
    Lwo2Surface mapped;
    mapped.name = "Box2";
    mapped.blocks.push_back(writers::uvMappedBlock("uv", 1));
    w.clip(1, "crate.png");
    for (const char* name : {"Ball", "Box1", "Box3"}) {
        Lwo2Surface plain;
        plain.name = name;
        w.surface(plain);
    }
    w.surface(mapped);
    return saveObject("layers.lwo", w);
}

float triangleArea(const Vector3f& a, const Vector3f& b, const Vector3f& c)
{
    return cross(b - a, c - a).length() / 2;
}

float partArea(const hlv::MeshPart& part)
{
    float total = 0;
    for (size_t i = 0; i + 2 < part.indices.size(); i += 3)
        total += triangleArea(part.positions[part.indices[i]], part.positions[part.indices[i + 1]],
                              part.positions[part.indices[i + 2]]);
    return total;
}

bool near(float a, float b) { return std::fabs(a - b) < 1e-5f; }

// Every vertex of the part is a corner of the box, and the part covers the
// box's six faces.
void expectBox(const hlv::MeshPart& part, const Box& box)
{
    EXPECT_EQ(part.triangleCount, 12u);
    EXPECT_NEAR(partArea(part), 6 * box.side * box.side, 1e-4f);
    for (const Vector3f& p : part.positions) {
        bool corner = false;
        for (const Vector3f& q : boxPoints(box))
            corner = corner || (near(p.x, q.x) && near(p.y, q.y) && near(p.z, q.z));
        EXPECT_TRUE(corner) << "(" << p.x << " " << p.y << " " << p.z << ") is no corner of the box of layer "
                            << box.layer;
    }
}

void expectBall(const hlv::MeshPart& part)
{
    EXPECT_EQ(part.triangleCount, 8u);
    EXPECT_NEAR(partArea(part), 4 * std::sqrt(3.0f), 1e-4f);
    for (const Vector3f& p : part.positions)
        EXPECT_NEAR(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z), 1.0f, 1e-6f);
}

// The mapped box takes its own layer's UVs, and its VMAD value where point
// 3 is a corner of the box's first face.
void expectLayerUVs(const hlv::MeshPart& part, const Box& box)
{
    ASSERT_GE(part.uvLayerCount, 1u);
    for (size_t t = 0; t + 2 < part.indices.size(); t += 3) {
        bool onFirstFace = true;
        for (int k = 0; k < 3; ++k)
            onFirstFace = onFirstFace && near(part.positions[part.indices[t + k]].z, box.origin.z);
        for (int k = 0; k < 3; ++k) {
            const uint32_t v = part.indices[t + k];
            const Vector3f local = (part.positions[v] - box.origin) / box.side;
            const int point = int(std::lround(local.x)) | int(std::lround(local.y)) << 1 | int(std::lround(local.z)) << 2;
            const bool overridden = point == 3 && onFirstFace;
            EXPECT_NEAR(part.uvLayers[0][2 * v], overridden ? kOverride[0] : 0.1f * float(point), 1e-6f) << point;
            EXPECT_NEAR(part.uvLayers[0][2 * v + 1], 1 - (overridden ? kOverride[1] : 0.1f * float(box.layer)), 1e-6f)
                << point;
        }
    }
}

LW::SceneObject readBuilt(const std::string& path, LW::Scene& record, uint32_t layer)
{
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record, layer);
    object.mesh->build(0);
    return object;
}

} // namespace

TEST(Lwo2Layers, WholeObjectHasEveryLayerInPlace)
{
    const std::string path = layeredObject();
    LW::Scene record;
    LW::SceneObject object = readBuilt(path, record, 0);
    const hlv::RobustMesh& mesh = *object.mesh;
    EXPECT_EQ(mesh.triangleCount(), 8u + 3 * 12u);
    EXPECT_EQ(mesh.positions().size(), 6u + 3 * 8u);
    ASSERT_EQ(mesh.partCount(), 4u);  // one per tag, in tag order
    expectBall(mesh.parts()[0]);
    for (int b = 0; b < 3; ++b)
        expectBox(mesh.parts()[b + 1], kBoxes[b]);
    expectLayerUVs(mesh.parts()[2], kBoxes[1]);

    // The show's loader reads the same whole object.
    std::unique_ptr<hlv::RobustMesh> shown = loadBuilt(path);
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->partCount(), 4u);
    for (int b = 0; b < 3; ++b)
        expectBox(shown->parts()[b + 1], kBoxes[b]);
    expectLayerUVs(shown->parts()[2], kBoxes[1]);

    // The two-argument form is the whole object too.
    LW::Scene again;
    LW::SceneObject whole = LW::readSceneObject(path.c_str(), again);
    whole.mesh->build(0);
    EXPECT_EQ(whole.mesh->triangleCount(), mesh.triangleCount());

    ASSERT_EQ(object.layers.size(), 4u);
    EXPECT_EQ(object.layers[0].name, "ball");
    EXPECT_EQ(object.layers[0].parent, -1);
    EXPECT_EQ(object.layers[3].number, 4u);
    EXPECT_EQ(object.layers[3].name, "small box");
    EXPECT_EQ(object.layers[3].parent, 0);
    EXPECT_FLOAT_EQ(object.layers[3].pivot.z, -8.75f);
}

TEST(Lwo2Layers, SceneLayerNumbersCountFromOne)
{
    const std::string path = layeredObject();
    {
        LW::Scene record;
        LW::SceneObject ball = readBuilt(path, record, 1);
        ASSERT_EQ(ball.mesh->partCount(), 1u);
        expectBall(ball.mesh->parts()[0]);
        EXPECT_EQ(ball.mesh->surfaceIds(), std::vector<uint32_t>(8, 0));
    }
    for (int b = 0; b < 3; ++b) {
        LW::Scene record;
        LW::SceneObject box = readBuilt(path, record, kBoxes[b].layer + 1u);
        ASSERT_EQ(box.mesh->partCount(), 1u) << "layer " << kBoxes[b].layer;
        EXPECT_EQ(box.mesh->surfaceIds(), std::vector<uint32_t>(12, uint32_t(b + 1)));
        expectBox(box.mesh->parts()[0], kBoxes[b]);
        if (kBoxes[b].layer == kUVLayer)
            expectLayerUVs(box.mesh->parts()[0], kBoxes[b]);
        // A layer taken on its own has its own polygons' surface only.
        ASSERT_EQ(record.surfaces.size(), 1u);
        EXPECT_EQ(record.surfaces[0]->name, "Box" + std::to_string(b + 1));
        EXPECT_EQ(box.layers.size(), 4u);
    }

    // The empty layer Modeler left out, and one past the end.
    CapturingLogger log;
    LW::Scene record;
    EXPECT_THROW(LW::readSceneObject(path.c_str(), record, 4), bool);
    EXPECT_TRUE(log.contains("Error !! The object has no layer 4 (it has layers 1, 2, 3 and 5).")) << log.text;
    EXPECT_THROW(LW::readSceneObject(path.c_str(), record, 6), bool);
    EXPECT_STREQ(LW::indent(), "");
}

TEST(Lwo2Layers, ObjectsWithoutLayersAreLayerOne)
{
    LW::Scene record;
    const std::string plain =
        saveObject("no_layers.lwo", Lwo2Writer().points(squarePoints()).polygons({{1, 2, 3, 4}}));
    EXPECT_EQ(readBuilt(plain, record, 1).mesh->triangleCount(), 2u);
    CapturingLogger log;
    EXPECT_THROW(LW::readSceneObject(plain.c_str(), record, 2), bool);
    EXPECT_TRUE(log.contains("The object has no layer 2 (it has only layer 1).")) << log.text;

    // Points a layer does not have are refused, even where the object has them.
    Lwo2Writer w;
    w.layer(0).points(squarePoints()).layer(1).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 3}});
    EXPECT_THROW(LW::readSceneObject(saveObject("foreign_point.lwo", w).c_str(), record, 0), bool);
    EXPECT_TRUE(log.contains("A polygon uses point 3, but its layer has only 3 points.")) << log.text;
}

TEST(Lwo2Layers, ALayerWithoutTheUVMapOfItsSurfaceLoadsUnmapped)
{
    // Layer 0 has the map "uv"; layer 1 uses the same UV-mapped surface and
    // no map of its own, which leaves its points at (0, 0).
    Lwo2Surface mapped;
    mapped.name = "Mapped";
    mapped.blocks.push_back(writers::uvMappedBlock("uv"));
    Lwo2Writer w;
    w.tags({"Mapped"}).layer(0).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    w.vertexMap("TXUV", 2, "uv", layerUVs(3, 0)).polygons({{0, 1, 2}}).surfaceTags({{0, 0}});
    w.layer(1).points({{5, 0, 0}, {6, 0, 0}, {5, 1, 0}}).polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).surface(mapped);
    const std::string path = saveObject("unmapped_layer.lwo", w);
    LW::Scene record;
    LW::SceneObject layer = readBuilt(path, record, 2);
    ASSERT_EQ(layer.mesh->partCount(), 1u);
    const hlv::MeshPart& part = layer.mesh->parts()[0];
    ASSERT_EQ(part.uvLayerCount, 1u);
    // LightWave's (0, 0): the picture's bottom-left corner.
    for (size_t i = 0; i < part.uvLayers[0].size(); i += 2) {
        EXPECT_EQ(part.uvLayers[0][i], 0.0f);
        EXPECT_EQ(part.uvLayers[0][i + 1], 1.0f);
    }
}
