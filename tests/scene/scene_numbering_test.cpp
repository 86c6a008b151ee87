#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/scene/scene_builders.h"

namespace {

// Scene file bytes written out by hand, field by field, as the format
// lays them down.
class FileBytes {
public:
    FileBytes& text(const char* s)
    {
        bytes_.insert(bytes_.end(), s, s + std::strlen(s) + 1);
        return *this;
    }
    FileBytes& version() { return byte(0).byte(0); }
    FileBytes& byte(uint8_t b)
    {
        bytes_.push_back(b);
        return *this;
    }
    // Seven bits a byte, lowest first; the last byte has bit 7 set.
    FileBytes& packed(uint32_t value)
    {
        while (value >= 0x80) {
            byte(uint8_t(value & 0x7F));
            value >>= 7;
        }
        return byte(uint8_t(0x80 | value));
    }
    FileBytes& f32(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        for (int shift = 0; shift < 32; shift += 8)
            byte(uint8_t(bits >> shift));
        return *this;
    }
    FileBytes& vec3(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    FileBytes& links(uint32_t parent, uint32_t next, uint32_t child) { return packed(parent).packed(next).packed(child); }
    FileBytes& constantHandler(float x, float y, float z)
    {
        return text("class ConstantKeyframeHandler").version().vec3(x, y, z);
    }
    // A transform node that leaves its subtree where its parent puts it.
    FileBytes& transformNode(uint32_t parent, uint32_t next, uint32_t child)
    {
        text("class TransformNode").version().links(parent, next, child);
        byte(0).vec3(0, 0, 0).packed(0);  // no pivot, rotation order 0
        return constantHandler(0, 0, 0).constantHandler(1, 1, 1).constantHandler(0, 0, 0);
    }
    // Eye on +z at `distance` looking at the origin, up +y.
    FileBytes& cameraNode(uint32_t parent, uint32_t next, uint32_t child, float distance, float near)
    {
        text("class CameraNode").version().links(parent, next, child);
        return vec3(0, 0, distance).vec3(0, 0, 0).vec3(0, 1, 0).f32(near).f32(100).f32(1).f32(1);
    }
    FileBytes& shapeWithoutPrimitive(uint32_t parent, uint32_t next, uint32_t child)
    {
        text("class ShapeNode").version().links(parent, next, child);
        return byte(0x7F).byte(0x7F).byte(0x7F).byte(0x7F).byte(0x8F);
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

CameraNode* camera(Scene& scene, SceneNode* parent, float distance, float near)
{
    auto* node = new CameraNode(Camera(Vector3f(0, 0, distance), Vector3f(0, 0, 0), Vector3f(0, 1, 0), near, 100, 1, 1));
    scene.add_node(node);
    node->attach(parent);
    return node;
}

} // namespace

// Nodes are numbered root first, each node before its children's subtrees
// and those before its next sibling, whatever order they were made in.
// Children are listed newest first, so the root's children made A, B, C are
// walked C, B (with its child D), A. The cameras are numbered with their
// nodes: C's is camera 0 in the file and, after the write, in memory too.
TEST(SceneNumbering, WritingNumbersTheNodesByTheWalkFromTheRoot)
{
    Scene scene;
    auto* root = new TransformNode;
    scene.add_node(root);
    scene.set_root(root);
    CameraNode* a = camera(scene, root, 10, 1);
    auto* b = new TransformNode;
    scene.add_node(b);
    b->attach(root);
    CameraNode* c = camera(scene, root, 20, 2);
    shape(scene, -1)->attach(b);
    ASSERT_EQ(scene.cameras()[0], &a->working_camera());

    // Numbers: root 1, C 2, B 3, D 4, A 5.
    FileBytes expected;
    expected.text("class Scene").version().packed(0).packed(0).packed(0).packed(5);
    expected.transformNode(0, 0, 2);
    expected.cameraNode(1, 3, 0, 20, 2);
    expected.transformNode(1, 5, 4);
    expected.shapeWithoutPrimitive(3, 0, 0);
    expected.cameraNode(1, 0, 0, 10, 1);
    expected.packed(1);
    expected.f32(0).f32(0).f32(0).f32(1);  // backdrop
    expected.byte(0).f32(0).f32(0);        // no fog, start, end
    expected.f32(0).f32(0).f32(0).f32(0);  // fog colour

    EXPECT_EQ(written(scene), expected.bytes());
    ASSERT_EQ(scene.cameras().size(), 2u);
    EXPECT_EQ(scene.cameras()[0], &c->working_camera());
    EXPECT_EQ(scene.cameras()[1], &a->working_camera());
    EXPECT_EQ(scene.node_number(c), 2);

    // Read back: the same cameras at the same indices, and the file it
    // writes is the one it was read from.
    ReadResult read = read_scene(expected.bytes());
    ASSERT_TRUE(read.scene) << read.error;
    ASSERT_EQ(read.scene->cameras().size(), 2u);
    EXPECT_EQ(read.scene->cameras()[0]->nearDistance(), 2.0f);
    EXPECT_EQ(read.scene->cameras()[1]->nearDistance(), 1.0f);
    EXPECT_EQ(written(*read.scene), expected.bytes());
}
