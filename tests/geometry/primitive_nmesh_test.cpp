#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "geometry/nmesh.h"
#include "geometry/render_queue.h"
#include "geometry/uni_surface_mesh.h"
#include "persist/encoding.h"

namespace {

UniSurfaceMesh* triangle_at(float x, unsigned int part)
{
    std::vector<VertexPoint> vertices(3);
    vertices[0].position.set(x, 0, 0);
    vertices[1].position.set(x + 1, 0, 0);
    vertices[2].position.set(x, 1, 2);
    auto* mesh = new UniSurfaceMesh_Point({{{0, 1, 2}}}, vertices);
    mesh->part_index = part;
    return mesh;
}

// Two parts, "stone" then "grass", one triangle each.
std::unique_ptr<NMesh> two_part_mesh()
{
    auto mesh = std::make_unique<NMesh>();
    mesh->add_part("stone");
    mesh->add_part("grass");
    mesh->add_element(triangle_at(0, 0));
    mesh->add_element(triangle_at(5, 1));
    return mesh;
}

std::vector<uint8_t> written(const persistent& object)
{
    memory_pstream out;
    write_object(out, object);
    return out.bytes();
}

persistent::exception read_error(const std::vector<uint8_t>& bytes)
{
    register_factories();
    memory_pstream in(bytes);
    try {
        delete read_object(in);
    } catch (persistent::exception e) {
        return e;
    }
    return static_cast<persistent::exception>(0);
}

} // namespace

TEST(Primitive, ElementsSetPartBoxesAndTheOverallBox)
{
    auto mesh = two_part_mesh();
    EXPECT_EQ(mesh->parts[1].box.min, Vector3f(5, 0, 0));
    EXPECT_EQ(mesh->box.min, Vector3f(0, 0, 0));
    EXPECT_EQ(mesh->box.max, Vector3f(6, 1, 2));

    NMesh bad;
    bad.add_part("only");
    EXPECT_THROW(bad.add_element(triangle_at(0, 1)), persistent::exception);
    EXPECT_TRUE(bad.elements.empty());
}

TEST(Primitive, QueuesOnlyVisiblePartsThatHaveABucket)
{
    auto mesh = two_part_mesh();
    mesh->surface_indices = {1, 2};  // part 1's surface has no bucket
    RenderQueue queue(nullptr, 2);
    Matrix44 world = Matrix44::translation(1, 2, 3);

    mesh->parts[0].visible = false;
    mesh->parts[1].visible = true;
    mesh->queue_parts(world, queue);
    EXPECT_TRUE(queue.buckets[0].empty());
    EXPECT_TRUE(queue.buckets[1].empty());

    mesh->parts[0].visible = true;
    mesh->queue_parts(world, queue);
    ASSERT_EQ(queue.buckets[1].size(), 1u);
    EXPECT_EQ(queue.buckets[1][0].element, mesh->elements[0]);
    EXPECT_EQ(queue.buckets[1][0].world.m[12], 1.0f);
}

TEST(Primitive, BadNMeshesAreRefused)
{
    // More elements than parts.
    auto extra = two_part_mesh();
    extra->elements.push_back(triangle_at(9, 0));
    EXPECT_EQ(read_error(written(*extra)), persistent::bad_data);

    // An element naming a part that does not exist.
    auto stray = two_part_mesh();
    stray->elements[1]->part_index = 2;
    EXPECT_EQ(read_error(written(*stray)), persistent::bad_data);

    // Fewer names than parts.
    auto unnamed = two_part_mesh();
    unnamed->surface_names.pop_back();
    EXPECT_EQ(read_error(written(*unnamed)), persistent::bad_data);

    // A nested element of another class: a mesh inside a mesh.
    NMesh holder;
    holder.add_part("x");
    std::vector<uint8_t> wrong = written(holder);
    wrong.back() = 0x81;  // one element follows
    std::vector<uint8_t> frame = written(NMesh());
    wrong.insert(wrong.end(), frame.begin(), frame.end());
    EXPECT_EQ(read_error(wrong), persistent::bad_data);

    std::vector<uint8_t> bytes = written(*two_part_mesh());
    // Cut short anywhere.
    for (size_t size = 0; size < bytes.size(); ++size)
        EXPECT_NE(read_error(std::vector<uint8_t>(bytes.begin(), bytes.begin() + size)), 0) << size;

    // A part count larger than the file could hold.
    std::vector<uint8_t> huge = bytes;
    const size_t countAt = std::strlen(NMesh::kClassName) + 1 + 2;
    huge[countAt] = 0x7F;
    huge.insert(huge.begin() + countAt + 1, {0x7F, 0x7F, 0x8F});
    EXPECT_EQ(read_error(huge), persistent::bad_data);
}
