#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "geometry/uni_surface_mesh.h"
#include "persist/encoding.h"

namespace {

const std::vector<MeshTriangle> kTwoTriangles = {{{0, 1, 2}}, {{2, 1, 3}}};

template <typename Vertex>
std::vector<Vertex> square()
{
    std::vector<Vertex> vertices(4);
    const Vector3f corners[4] = {{-3, 1, 10}, {5, 1, 10}, {-3, 2.5f, 10}, {1.25f, 2.5f, 10}};
    for (int i = 0; i < 4; ++i)
        vertices[i].position = corners[i];
    return vertices;
}

std::vector<uint8_t> written(const persistent& object)
{
    memory_pstream out;
    write_object(out, object);
    return out.bytes();
}

template <typename T>
std::unique_ptr<T> read_back(const std::vector<uint8_t>& bytes)
{
    register_factories();
    memory_pstream in(bytes);
    std::unique_ptr<persistent> object(read_object(in));
    EXPECT_EQ(in.remaining(), 0u);
    return std::unique_ptr<T>(dynamic_cast<T*>(object.release()));
}

// Every position within one quantisation step of its axis.
template <typename Mesh>
void expect_positions_within_a_step(const Mesh& original, const Mesh& back)
{
    ASSERT_EQ(back.vertices.size(), original.vertices.size());
    const Vector3f step = (original.box.max - original.box.min) * (0.5f / 32767.0f);
    for (size_t i = 0; i < original.vertices.size(); ++i) {
        const Vector3f& a = original.vertices[i].position;
        const Vector3f& b = back.vertices[i].position;
        EXPECT_LE(std::fabs(a.x - b.x), step.x * 1.001f) << i;
        EXPECT_LE(std::fabs(a.y - b.y), step.y * 1.001f) << i;
        EXPECT_EQ(b.z, 10.0f) << i;  // a flat axis reads back exactly
    }
}

} // namespace

TEST(UniSurfaceMesh, ImportingKeepsLow16BitsAndGrowsTheBox)
{
    UniSurfaceMesh_Point mesh({{{0x10001, 2, 3}}}, square<VertexPoint>());
    EXPECT_EQ(mesh.indices, (std::vector<unsigned short>{1, 2, 3}));
    EXPECT_EQ(mesh.triangle_count, 1u);
    EXPECT_EQ(mesh.box.min, Vector3f(-3, 1, 10));
    EXPECT_EQ(mesh.box.max, Vector3f(5, 2.5f, 10));
}

TEST(UniSurfaceMesh, PositionsComeBackWithinOneStep)
{
    UniSurfaceMesh_Point mesh(kTwoTriangles, square<VertexPoint>());
    mesh.part_index = 3;
    std::vector<uint8_t> bytes = written(mesh);
    auto back = read_back<UniSurfaceMesh_Point>(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->part_index, 3u);
    EXPECT_EQ(back->indices, mesh.indices);
    EXPECT_EQ(back->triangle_count, 2u);
    expect_positions_within_a_step(mesh, *back);

    // The box corners quantise to the ends of the 16-bit range.
    const size_t header = std::strlen(UniSurfaceMesh_Point::kClassName) + 1 + 2;
    const size_t body = 1 + (1 + 2 + 5 * 2) + 25 + 1;
    short first[3];
    std::memcpy(first, bytes.data() + header + body, sizeof first);
    EXPECT_LE(first[0], -32766);
    EXPECT_LE(first[1], -32766);
    EXPECT_EQ(first[2], 0);
    EXPECT_EQ(bytes.size(), header + body + 4 * 6);
}

TEST(UniSurfaceMesh, EmptyMeshesKeepTheirUvBlocks)
{
    UniSurfaceMesh_PointUV2 empty;
    auto back = read_back<UniSurfaceMesh_PointUV2>(written(empty));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->vertices.empty());
    EXPECT_TRUE(back->box.empty);
}

TEST(UniSurfaceMesh, BadInputIsRefused)
{
    register_factories();
    UniSurfaceMesh_PointUV2 mesh(kTwoTriangles, square<VertexPointUV2>());
    const std::vector<uint8_t> good = written(mesh);

    // Cut short anywhere.
    for (size_t size = 0; size < good.size(); ++size) {
        memory_pstream in(good.data(), size);
        EXPECT_THROW(delete read_object(in), persistent::exception) << size;
    }

    // An index beyond the vertices.
    UniSurfaceMesh_Point wide({{{0, 1, 4}}}, square<VertexPoint>());
    memory_pstream in(written(wide));
    try {
        delete read_object(in);
        ADD_FAILURE() << "an index past the vertices was accepted";
    } catch (persistent::exception e) {
        EXPECT_EQ(e, persistent::bad_data);
    }

    // A position count larger than the file (and one not made of whole vertices).
    for (unsigned int count : {0x7FFFFFFFu, 4u}) {
        memory_pstream bad;
        bad.raw_write(UniSurfaceMesh_Point::kClassName, 1, std::strlen(UniSurfaceMesh_Point::kClassName) + 1);
        bad.write(static_cast<short>(0));
        bad.write(0u);  // part
        bad.write(0u);  // no indices
        BoundingBox box;
        io(bad, true, box);
        bad.write(count);
        for (int i = 0; i < 8; ++i)
            bad.write(static_cast<short>(0));
        memory_pstream again(bad.bytes());
        try {
            delete read_object(again);
            ADD_FAILURE() << count;
        } catch (persistent::exception e) {
            EXPECT_EQ(e, persistent::bad_data) << count;
        }
    }
}
