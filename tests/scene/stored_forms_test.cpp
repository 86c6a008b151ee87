// The scene file's node and motion records and its class names, built by hand
// from the format tables, read with the readers and written again.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "math/envelope.h"
#include "persist/encoding.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "scene/transform_node.h"
#include "tests/support/stored_bytes.h"
#include "tests/support/stored_objects.h"

namespace {

// A scene holding nodes 1 to 4, so that a node's links write as numbers.
struct NumberedNodes {
    Scene scene;
    SceneNode* parent = new ShapeNode(-1);
    SceneNode* sibling = new ShapeNode(-1);
    SceneNode* child = new ShapeNode(-1);
    NumberedNodes(SceneNode* node)  // node number 2; parent 1, sibling 3, child 4
    {
        scene.add_node(parent);
        scene.add_node(node);
        scene.add_node(sibling);
        scene.add_node(child);
        node->set_links(parent, sibling, child);
    }
};

void expectVector(const Vector3f& v, float x, float y, float z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

} // namespace

// A transform node: its three links, the pivot flag and pivot, the rotation
// order, then its rotation, scale and position handlers, one of each kind.
// The rotation is an LW5 spline: per point time, value, bias, continuity,
// tension and the linear flag, then the loop length.
TEST(StoredForms, TransformNodeWithEveryKindOfHandler)
{
    StoredBytes expected;
    expected.frame("class TransformNode").packed(1).packed(3).packed(4);
    expected.byte(1).vec3(0.5f, -1, 2).packed(2);
    expected.frame("class LW5KeyframeHandler").packed(2);
    expected.f32(0).vec3(10, 20, 30).f32(0.1f).f32(0.2f).f32(0.3f).byte(0);
    expected.f32(4).vec3(-10, 0, 90).f32(-0.4f).f32(-0.5f).f32(0.6f).byte(1);
    expected.f32(8);
    expected.frame("class ConstantKeyframeHandler").vec3(1, 2, 3);
    expected.frame("class LW6KeyframeHandler");
    expected.i32(1).f32(7).f32(0).i32(Envelope::Linear).f32(0).f32(0).f32(0).f32(0).f32(0).f32(0).f32(0);
    expected.i32(Envelope::Constant).i32(Envelope::Repeat);
    expected.i32(0).i32(Envelope::Reset).i32(Envelope::Constant);
    expected.i32(1).f32(-3).f32(1).i32(Envelope::TCB).f32(0).f32(0).f32(0).f32(0).f32(0).f32(0).f32(0);
    expected.i32(Envelope::Constant).i32(Envelope::Constant);

    std::unique_ptr<TransformNode> read = readAs<TransformNode>(expected.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->stored_links().parent, 1u);
    EXPECT_EQ(read->stored_links().next_sibling, 3u);
    EXPECT_EQ(read->stored_links().first_child, 4u);
    EXPECT_TRUE(read->has_pivot());
    expectVector(read->pivot(), 0.5f, -1, 2);
    EXPECT_EQ(read->rotation_order, 2);

    auto* rotation = dynamic_cast<const LW5KeyframeHandler*>(&read->rotation());
    ASSERT_NE(rotation, nullptr);
    const HermiteInterpolator& spline = rotation->spline.interpolator;
    ASSERT_EQ(spline.points.size(), 2u);
    EXPECT_EQ(spline.points[0].time, 0);
    expectVector(spline.points[0].value, 10, 20, 30);
    EXPECT_EQ(spline.points[0].bias, 0.1f);
    EXPECT_EQ(spline.points[0].continuity, 0.2f);
    EXPECT_EQ(spline.points[0].tension, 0.3f);
    EXPECT_FALSE(spline.points[0].linear);
    EXPECT_EQ(spline.points[1].time, 4);
    expectVector(spline.points[1].value, -10, 0, 90);
    EXPECT_EQ(spline.points[1].bias, -0.4f);
    EXPECT_EQ(spline.points[1].continuity, -0.5f);
    EXPECT_EQ(spline.points[1].tension, 0.6f);
    EXPECT_TRUE(spline.points[1].linear);
    EXPECT_EQ(spline.loopLength, 8);

    auto* scale = dynamic_cast<const ConstantKeyframeHandler*>(&read->scale());
    ASSERT_NE(scale, nullptr);
    expectVector(scale->value, 1, 2, 3);

    auto* position = dynamic_cast<const LW6KeyframeHandler*>(&read->position());
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->envelope(0).keyCount, 1);
    EXPECT_EQ(position->envelope(0).firstKey->value, 7);
    EXPECT_EQ(position->envelope(0).firstKey->shape, Envelope::Linear);
    EXPECT_EQ(position->envelope(0).postBehaviour, Envelope::Repeat);
    EXPECT_EQ(position->envelope(1).keyCount, 0);
    EXPECT_EQ(position->envelope(1).preBehaviour, Envelope::Reset);
    EXPECT_EQ(position->envelope(2).firstKey->value, -3);
    EXPECT_EQ(position->envelope(2).firstKey->time, 1);

    auto* node = new TransformNode;
    NumberedNodes nodes(node);
    node->set_pivot(Vector3f(0.5f, -1, 2));
    node->rotation_order = 2;
    HermiteInterpolator::Ctrl first, second;
    first.value = Vector3f(10, 20, 30);
    first.bias = 0.1f;
    first.continuity = 0.2f;
    first.tension = 0.3f;
    second.time = 4;
    second.value = Vector3f(-10, 0, 90);
    second.bias = -0.4f;
    second.continuity = -0.5f;
    second.tension = 0.6f;
    second.linear = true;
    node->set_rotation(new LW5KeyframeHandler({first, second}, 8));
    node->set_scale(new ConstantKeyframeHandler(Vector3f(1, 2, 3)));
    Key x;
    x.value = 7;
    x.shape = Envelope::Linear;
    auto* xs = new Envelope;
    xs->appendKey(x).postBehaviour = Envelope::Repeat;
    auto* ys = new Envelope;
    ys->preBehaviour = Envelope::Reset;
    auto* zs = new Envelope;
    zs->addKey(1, -3);
    node->set_position(new LW6KeyframeHandler(xs, ys, zs));
    EXPECT_EQ(written(*node), expected.bytes());
}

// A camera node: its three links, then the stored camera's eye, target and
// up, near, far, and the half-width before the half-height.
TEST(StoredForms, CameraNodeStoresItsCameraHalfWidthFirst)
{
    StoredBytes expected;
    expected.frame("class CameraNode").packed(1).packed(3).packed(4);
    expected.vec3(1, 2, 3).vec3(4, 5, -6).vec3(0, 1, 0.5f);
    expected.f32(0.25f).f32(900).f32(0.7f).f32(0.525f);

    std::unique_ptr<CameraNode> read = readAs<CameraNode>(expected.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->stored_links().parent, 1u);
    EXPECT_EQ(read->stored_links().next_sibling, 3u);
    EXPECT_EQ(read->stored_links().first_child, 4u);
    const Camera& camera = read->stored_camera();
    expectVector(camera.eye(), 1, 2, 3);
    expectVector(camera.target(), 4, 5, -6);
    expectVector(camera.up(), 0, 1, 0.5f);
    EXPECT_EQ(camera.nearDistance(), 0.25f);
    EXPECT_EQ(camera.farDistance(), 900.0f);
    EXPECT_EQ(camera.halfWidth(), 0.7f);
    EXPECT_EQ(camera.halfHeight(), 0.525f);

    auto* node = new CameraNode(Camera(Vector3f(1, 2, 3), Vector3f(4, 5, -6), Vector3f(0, 1, 0.5f), 0.25f, 900, 0.7f, 0.525f));
    NumberedNodes nodes(node);
    EXPECT_EQ(written(*node), expected.bytes());
}

// Every class a scene file may name, with the exact name its frames carry,
// and the factory list they are found in: each registration goes to the
// head, so the list runs from the last registered back to the first, the
// scene and texture factories of static storage behind them.
TEST(StoredForms, ClassNamesAreTheFileFormatsOwn)
{
    const char* const registered[] = {
        "class CameraNode", "class ShapeNode", "class TransformNode", "class ConstantKeyframeHandler",
        "class LW5KeyframeHandler", "class LW6KeyframeHandler", "class NMesh", "class UniSurfaceMesh_Point",
        "class UniSurfaceMesh_PointUV", "class UniSurfaceMesh_PointUV2", "class UniSurfaceMesh_PointNormal",
        "class Surface", "class TextureSurface", "class TexDifSurface", "class hlv::RobustMesh",
    };
    const char* const statics[] = {"class Scene", "class TextureImage"};
    register_factories();
    std::vector<std::string> all(std::begin(registered), std::end(registered));
    all.insert(all.end(), std::begin(statics), std::end(statics));
    for (const std::string& name : all) {
        std::unique_ptr<persistent> object(create_object(name.c_str()));
        ASSERT_TRUE(object) << name;
        EXPECT_EQ(std::string(object->class_name()), name);
        const std::vector<uint8_t> frame = written(*object);
        StoredBytes header;
        header.frame(name);
        ASSERT_GE(frame.size(), header.bytes().size()) << name;
        EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.begin() + header.bytes().size()), header.bytes()) << name;
    }
    EXPECT_EQ(create_object("class Camera"), nullptr);
    EXPECT_EQ(create_object("class cameranode"), nullptr);
    EXPECT_EQ(create_object("CameraNode"), nullptr);

    std::vector<std::string> order;
    for (dynamic::factory_list_ele* e = dynamic::factory_list(); e; e = e->next)
        for (const std::string& name : all) {
            std::unique_ptr<persistent> made(e->factory->create(name.c_str()));
            if (made)
                order.push_back(name);
        }
    std::vector<std::string> expected(std::rbegin(registered), std::rend(registered));
    ASSERT_EQ(order.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + expected.size()), expected);
    std::vector<std::string> tail(order.begin() + expected.size(), order.end());
    std::sort(tail.begin(), tail.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"class Scene", "class TextureImage"}));
}
