#include <gtest/gtest.h>

#include <set>

#include "geometry/radix_sort.h"
#include "geometry/robust_mesh.h"
#include "persist/factory.h"
#include "persist/pstream.h"
#include "tests/geometry/capturing_logger.h"

using hlv::RobustMesh;

namespace {

using Tri = RobustMesh::TaggedTriangle;

RobustMesh* makeMesh(std::vector<Vector3f> points, std::vector<Tri> triangles)
{
    auto* mesh = new RobustMesh;
    mesh->setPoints(std::move(points));
    mesh->setTriangles(triangles);
    return mesh;
}

// The 12 triangles of the unit cube, wound consistently, each face with its
// own copies of the corner points as an importer would hand them over.
std::unique_ptr<RobustMesh> makeCube()
{
    const Vector3f c[8] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}};
    std::vector<Vector3f> points;
    std::vector<Tri> triangles;
    for (const auto& f : faces) {
        const uint32_t base = static_cast<uint32_t>(points.size());
        for (int k = 0; k < 4; ++k)
            points.push_back(c[f[k]]);
        triangles.push_back({base, base + 1, base + 2, 0});
        triangles.push_back({base, base + 2, base + 3, 0});
    }
    return std::unique_ptr<RobustMesh>(makeMesh(points, triangles));
}

} // namespace

TEST(RadixSort, OrdersIntegerAndFloatKeysStably)
{
    hlv::RadixSort sorter;
    const uint32_t keys[] = {0x01000000u, 5, 0xFFFFFFFFu, 5, 0};
    EXPECT_EQ(sorter.sort(keys, 5).ranks(), (std::vector<uint32_t>{4, 1, 3, 0, 2}));

    hlv::RadixSort floats;
    const float values[] = {2.5f, -1.0f, 0.0f, -100.0f, 1e-30f, -1e-30f, 7.0f};
    EXPECT_EQ(floats.sort(values, 7).ranks(), (std::vector<uint32_t>{3, 1, 5, 2, 4, 0, 6}));

    // Successive sorts: by the second field, then the first, gives first-major order.
    const uint32_t pairs[] = {2, 1, 1, 9, 2, 0, 1, 1};
    hlv::RadixSort bothFields;
    bothFields.sort(pairs + 1, 4, 2).sort(pairs, 4, 2);
    EXPECT_EQ(bothFields.ranks(), (std::vector<uint32_t>{3, 1, 2, 0}));
}

TEST(RobustMesh, SharedEdgeWeldsSixPointsIntoFour)
{
    CapturingLogger logger;
    std::unique_ptr<RobustMesh> mesh(makeMesh(
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 0}, {3, 4, 5, 0}}));
    mesh->build(0);
    EXPECT_EQ(logger.text.rfind("\r\npoint cloud : 6 pts => 4 pts", 0), 0u) << logger.text;
    EXPECT_TRUE(logger.contains("\n4 unique vertices")) << logger.text;
    ASSERT_EQ(mesh->positions().size(), 4u);
    ASSERT_EQ(mesh->triangleCount(), 2u);
    std::set<uint32_t> shared;
    for (uint32_t v : mesh->triangles()[0].v)
        for (uint32_t w : mesh->triangles()[1].v)
            if (v == w)
                shared.insert(v);
    EXPECT_EQ(shared.size(), 2u);
    EXPECT_FALSE(mesh->boundingBox().empty);
    EXPECT_EQ(mesh->boundingBox().max, Vector3f(1, 1, 0));
}

TEST(RobustMesh, WeldToleranceIsStrictlyBelowOneHundredThousandth)
{
    for (float offset : {0.000009f, 0.00001f}) {
        std::unique_ptr<RobustMesh> mesh(
            makeMesh({{0, 0, 0}, {offset, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 2, 3, 0}, {1, 2, 3, 0}}));
        mesh->build(RobustMesh::NoParts);
        EXPECT_EQ(mesh->positions().size(), offset < 0.00001f ? 3u : 4u) << offset;
    }
}

TEST(RobustMesh, DropsUnusedPointsAndDegenerateTriangles)
{
    // Point 1 is unused; triangle 1 is collinear; triangle 2 repeats an index;
    // triangle 3 names a point that does not exist.
    std::unique_ptr<RobustMesh> mesh(makeMesh({{0, 0, 0}, {9, 9, 9}, {1, 0, 0}, {0, 1, 0}, {2, 0, 0}},
                                              {{0, 2, 3, 5}, {0, 2, 4, 6}, {0, 0, 3, 7}, {0, 2, 99, 8}}));
    mesh->build(0);
    EXPECT_EQ(mesh->positions().size(), 4u);
    for (const Vector3f& p : mesh->positions())
        EXPECT_NE(p, Vector3f(9, 9, 9));
    ASSERT_EQ(mesh->triangleCount(), 1u);
    EXPECT_EQ(mesh->surfaceIds(), (std::vector<uint32_t>{5}));
    EXPECT_EQ(mesh->boundingBox().max, Vector3f(2, 1, 0));
}

TEST(RobustMesh, ClosedCubeHasEighteenManifoldEdges)
{
    std::unique_ptr<RobustMesh> cube = makeCube();
    cube->build(RobustMesh::ComputeNormals | RobustMesh::BuildEdges);
    EXPECT_EQ(cube->positions().size(), 8u);
    const hlv::EdgeList& edges = cube->edgeList();
    ASSERT_EQ(edges.edgeCount(), 18u);
    EXPECT_TRUE(edges.isManifold());
    for (uint32_t e = 0; e < 18; ++e) {
        const hlv::EdgeList::Edge& edge = edges.edges()[e];
        EXPECT_LT(edge.v0, edge.v1);
        EXPECT_EQ(edges.incidenceCount(e), 2u);
        int forward = 0, seen = 0;
        edges.forEachIncidence(e, [&](uint32_t incidence) {
            const hlv::IndexTriangle& t = cube->triangles()[hlv::EdgeList::triangleOf(incidence)];
            const uint32_t slot = hlv::EdgeList::slotOf(incidence);
            const uint32_t from = t[slot], to = t[(slot + 1) % 3];
            EXPECT_EQ(std::min(from, to), edge.v0);
            EXPECT_EQ(std::max(from, to), edge.v1);
            EXPECT_EQ(hlv::EdgeList::isForward(incidence), from == edge.v0);
            forward += hlv::EdgeList::isForward(incidence);
            ++seen;
        });
        EXPECT_EQ(seen, 2);
        // Consistent winding: the two triangles run along the edge in opposite directions.
        EXPECT_EQ(forward, 1);
    }
    // Every vertex of the cube belongs to some triangles; rings are built with the edges.
    const hlv::IncidenceRings& rings = cube->vertexRings();
    uint32_t uses = 0;
    for (uint32_t v = 0; v < 8; ++v)
        uses += rings.count(v);
    EXPECT_EQ(uses, 36u);

    // A third triangle on one edge makes the list non-manifold.
    std::vector<hlv::IndexTriangle> fan = {{{0, 1, 2}}, {{1, 0, 3}}, {{0, 1, 4}}};
    EXPECT_FALSE(hlv::EdgeList(fan).isManifold());
}

TEST(RobustMesh, SurfaceIdsMakePartsInIdOrder)
{
    std::unique_ptr<RobustMesh> mesh(makeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 0, 0}},
                                              {{0, 1, 2, 7}, {1, 3, 2, 3}, {1, 4, 3, 7}}));
    mesh->build(0);
    ASSERT_EQ(mesh->partCount(), 2u);
    const hlv::MeshPart& first = mesh->parts()[0];
    const hlv::MeshPart& second = mesh->parts()[1];
    EXPECT_EQ(first.partIndex, 0u);
    EXPECT_EQ(first.triangleCount, 1u);
    EXPECT_EQ(first.vertexCount, 3u);
    EXPECT_EQ(second.triangleCount, 2u);
    EXPECT_EQ(second.vertexCount, 5u);
    ASSERT_EQ(second.indices.size(), 6u);
    for (uint32_t index : second.indices)
        EXPECT_LT(index, second.vertexCount);
    // The part's first triangle is (0, 1, 2) of the raw mesh in local numbers.
    EXPECT_EQ(second.positions[second.indices[0]], Vector3f(0, 0, 0));
    EXPECT_EQ(second.positions[second.indices[1]], Vector3f(1, 0, 0));
    EXPECT_EQ(second.positions[second.indices[2]], Vector3f(0, 1, 0));
    EXPECT_FALSE(first.hasNormals());
    EXPECT_FALSE(first.hasWeights());
}

TEST(RobustMesh, CornerNormalsSmoothOnlyWithinSixtyDegrees)
{
    // Two triangles hinged on the edge (0,0,0)-(1,0,0): the second is tilted
    // by `degrees` from the first.
    auto hinge = [](float degrees) {
        const float a = degrees * 3.14159265f / 180.0f;
        std::unique_ptr<RobustMesh> mesh(makeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -std::cos(a), std::sin(a)}},
                                                  {{0, 1, 2, 0}, {1, 0, 3, 0}}));
        mesh->build(RobustMesh::ComputeNormals | RobustMesh::KeepTriangleNormals);
        return mesh;
    };
    std::unique_ptr<RobustMesh> flat = hinge(30);
    EXPECT_TRUE(flat->hasTriangleNormals());
    ASSERT_EQ(flat->partCount(), 1u);
    // The shared points get one smoothed normal: 4 render vertices.
    EXPECT_EQ(flat->parts()[0].vertexCount, 4u);
    const hlv::MeshPart& smooth = flat->parts()[0];
    for (uint32_t v = 0; v < smooth.vertexCount; ++v)
        EXPECT_NEAR(smooth.normals[v].length(), 1.0f, 1e-5f);

    std::unique_ptr<RobustMesh> sharp = hinge(70);
    // Above 60 degrees each triangle keeps its own normal at the shared points.
    const hlv::MeshPart& split = sharp->parts()[0];
    EXPECT_EQ(split.vertexCount, 6u);
    const std::vector<Vector3f>& faces = sharp->triangleNormals();
    for (uint32_t corner = 0; corner < 6; ++corner) {
        const Vector3f& n = split.normals[split.indices[corner]];
        EXPECT_NEAR(dot(n, faces[corner / 3]), 1.0f, 1e-5f);
    }

    std::unique_ptr<RobustMesh> released = makeCube();
    released->build(RobustMesh::ComputeNormals);
    EXPECT_FALSE(released->hasTriangleNormals());
    EXPECT_EQ(released->triangleNormals().size(), 12u);
}

TEST(RobustMesh, ColoursAndTextureCoordinatesSplitRenderVertices)
{
    // Two triangles sharing an edge; one shared corner gets different (u, v)
    // in each triangle, so that point becomes two render vertices.
    std::unique_ptr<RobustMesh> mesh(
        makeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2, 0}, {1, 3, 2, 0}}));
    const uint32_t red = 0xFF0000FFu, blue = 0x0000FFFFu;
    mesh->setCornerColours({red, red, red, red, blue, red}, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(mesh->addUVSet(), 0u);
    const float first[6] = {0, 0, 1, 0, 0, 1};
    const float second[6] = {1, 0, 1, 1, 0.5f, 1};
    mesh->setTriangleUVs(0, 0, first);
    mesh->setTriangleUVs(0, 1, second);
    mesh->build(0);
    ASSERT_EQ(mesh->partCount(), 1u);
    const hlv::MeshPart& part = mesh->parts()[0];
    EXPECT_EQ(part.vertexCount, 5u);
    ASSERT_EQ(part.uvLayerCount, 1u);
    ASSERT_EQ(part.weights.size(), 5u);
    for (uint32_t corner = 0; corner < 6; ++corner) {
        const uint32_t v = part.indices[corner];
        const float* uv = corner < 3 ? first : second;
        EXPECT_EQ(part.uvLayers[0][2 * v], uv[2 * (corner % 3)]);
        EXPECT_EQ(part.uvLayers[0][2 * v + 1], uv[2 * (corner % 3) + 1]);
        EXPECT_EQ(part.weights[v], corner == 4 ? blue : red);
    }
}

TEST(RobustMesh, SerializesBothWays)
{
    for (bool quantised : {false, true}) {
        std::unique_ptr<RobustMesh> cube = makeCube();
        cube->build(0);
        cube->setQuantised(quantised);
        memory_pstream stream;
        write_object(stream, *cube);

        RobustMesh back;
        memory_pstream reader(stream.bytes());
        std::string name;
        for (char c; reader.read(c), c;)
            name += c;
        EXPECT_EQ(name, "class hlv::RobustMesh");
        short version;
        reader.read(version);
        back.serialize(reader, false);
        EXPECT_EQ(reader.remaining(), 0u);
        EXPECT_FALSE(back.isBuilt());
        EXPECT_EQ(back.isQuantised(), quantised);
        back.build(0);
        EXPECT_EQ(back.positions(), cube->positions());
        ASSERT_EQ(back.triangleCount(), 12u);
        for (uint32_t t = 0; t < 12; ++t)
            EXPECT_EQ(back.triangles()[t], cube->triangles()[t]);
        EXPECT_EQ(back.boundingBox().min, cube->boundingBox().min);
        EXPECT_EQ(back.boundingBox().max, cube->boundingBox().max);
    }
}

TEST(RobustMesh, RefusesStoredTrianglesThatNameMissingPoints)
{
    memory_pstream stream;
    stream.write(true).write(0.0f).write(0.0f).write(0.0f).write(0.0f).write(0.0f).write(0.0f);
    stream.write(false);
    stream.write(1u).write(1.0f).write(2.0f).write(3.0f);  // one point
    stream.write(1u).write(0u).write(0u).write(1u);        // a triangle naming point 1
    stream.write(0u).write(0u);
    memory_pstream reader(stream.bytes());
    RobustMesh mesh;
    try {
        mesh.serialize(reader, false);
        FAIL() << "read a triangle with a missing point";
    } catch (persistent::exception e) {
        EXPECT_EQ(e, persistent::bad_data);
    }

    // A count that the stream cannot hold is refused before anything is allocated.
    memory_pstream huge;
    huge.write(true).write(0.0f).write(0.0f).write(0.0f).write(0.0f).write(0.0f).write(0.0f);
    huge.write(false).write(0x7FFFFFFFu);
    memory_pstream hugeReader(huge.bytes());
    EXPECT_THROW(mesh.serialize(hugeReader, false), persistent::exception);
}
