#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "render/gl_api.h"
#include "scene/scene_file.h"
#include "tests/scene/scene_builders.h"

namespace {

void append(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

std::vector<uint8_t> frame_header(const char* className)
{
    memory_pstream s;
    s.raw_write(className, 1, std::strlen(className) + 1);
    s.write(static_cast<short>(0));
    return s.bytes();
}

std::vector<uint8_t> packed(unsigned int value)
{
    memory_pstream s;
    s.write(value);
    return s.bytes();
}

// A node frame written by hand, so that its links can be anything.
std::vector<uint8_t> shape_frame(unsigned parent, unsigned next, unsigned child, unsigned primitive)
{
    std::vector<uint8_t> bytes = frame_header(ShapeNode::kClassName);
    for (unsigned value : {parent, next, child, primitive})
        append(bytes, packed(value));
    return bytes;
}

// A scene file assembled from frames: one plain surface "stone", one mesh
// with a part on it, the given node frames and root number.
std::vector<uint8_t> raw_scene(const std::vector<std::vector<uint8_t>>& nodes, unsigned root,
                               const persistent* surface = nullptr)
{
    Surface stone("stone", nullptr);
    std::unique_ptr<NMesh> mesh(one_part_mesh(textured_square(1), "stone"));
    std::vector<uint8_t> bytes = frame_header(Scene::kClassName);
    append(bytes, packed(1));
    append(bytes, written(surface ? *surface : stone));
    append(bytes, packed(0));
    append(bytes, packed(1));
    append(bytes, written(*mesh));
    append(bytes, packed(static_cast<unsigned>(nodes.size())));
    for (const auto& node : nodes)
        append(bytes, node);
    append(bytes, packed(root));
    bytes.resize(bytes.size() + 16 + 1 + 8 + 16, 0);
    return bytes;
}

void clear_gl_table()
{
    // Any OpenGL call from here on crashes the test.
    for (int i = 0; i < glEntryPointCount(); ++i)
        *glEntryPoints()[i].slot = nullptr;
}

} // namespace

TEST(SceneFile, SmallestFileIsAnEmptySceneThatDrawsNothing)
{
    std::vector<uint8_t> bytes = frame_header("class Scene");
    bytes.insert(bytes.end(), 5, 0x80);
    const float backdrop[4] = {0.25f, 0.5f, 0.75f, 1}, fogColour[4] = {0, 0, 0, 0};
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(backdrop);
    bytes.insert(bytes.end(), raw, raw + 16);
    bytes.insert(bytes.end(), 9, 0);
    raw = reinterpret_cast<const uint8_t*>(fogColour);
    bytes.insert(bytes.end(), raw, raw + 16);
    ASSERT_EQ(bytes.size(), 60u);

    ReadResult read = read_scene(bytes);
    ASSERT_TRUE(read.scene) << read.error;
    EXPECT_EQ(read.scene->root(), nullptr);
    EXPECT_EQ(read.scene->backdrop[2], 0.75f);
    clear_gl_table();
    read.scene->set_pending_camera(0);
    read.scene->evaluate(1.0f);
    read.scene->draw();
    EXPECT_EQ(read.scene->current_camera(), nullptr);

    Scene empty;
    std::memcpy(empty.backdrop, backdrop, sizeof backdrop);
    EXPECT_EQ(written(empty), bytes);
}

TEST(SceneFile, ShapeNodeWithoutPrimitiveIsStoredAsMinusOneAndDrawsNothing)
{
    Scene scene;
    ShapeNode* node = shape(scene, -1);
    scene.set_root(node);
    std::vector<uint8_t> bytes = written(scene);
    const std::vector<uint8_t> minusOne = {0x80, 0x80, 0x80, 0x7F, 0x7F, 0x7F, 0x7F, 0x8F};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), minusOne.begin(), minusOne.end()), bytes.end());

    ReadResult read = read_scene(bytes);
    ASSERT_TRUE(read.scene) << read.error;
    auto* back = dynamic_cast<ShapeNode*>(read.scene->root());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->primitive_index, -1);
    EXPECT_TRUE(back->world_box().empty);
}

TEST(SceneFile, BadFilesAreRefused)
{
    const std::vector<uint8_t> valid = raw_scene({shape_frame(0, 0, 0, 0)}, 1);
    ReadResult ok = read_scene(valid);  // the assembler itself makes good files
    ASSERT_TRUE(ok.scene) << ok.error;

    // Cut short anywhere.
    for (size_t size = 0; size < valid.size(); ++size)
        EXPECT_NE(read_scene(std::vector<uint8_t>(valid.begin(), valid.begin() + size)).error, 0) << size;

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    TextureSurface textured("t", nullptr, 0);
    TransformNode wrongKind;
    std::vector<std::vector<uint8_t>> deep;
    for (unsigned k = 1; k <= 1002; ++k)
        deep.push_back(shape_frame(k - 1, 0, k < 1002 ? k + 1 : 0, 0xFFFFFFFFu));
    std::vector<uint8_t> hugeCount = frame_header(Scene::kClassName);
    append(hugeCount, packed(0x0FFFFFFF));
    hugeCount.resize(hugeCount.size() + 64, 0);
    std::vector<uint8_t> surfaceAsNode = raw_scene({written(Surface("n", nullptr))}, 0);

    const Case cases[] = {
        {"primitive index past the table", raw_scene({shape_frame(0, 0, 0, 1)}, 1)},
        {"parent number past the nodes", raw_scene({shape_frame(2, 0, 0, 0)}, 1)},
        {"sibling number past the nodes", raw_scene({shape_frame(0, 5, 0, 0)}, 1)},
        {"root number past the nodes", raw_scene({shape_frame(0, 0, 0, 0)}, 2)},
        {"a node that is its own child", raw_scene({shape_frame(0, 0, 1, 0)}, 1)},
        {"siblings in a ring", raw_scene({shape_frame(0, 0, 2, 0), shape_frame(1, 3, 0, 0), shape_frame(1, 2, 0, 0)}, 1)},
        {"a tree deeper than any scene", raw_scene(deep, 1)},
        {"a surface in the node table", surfaceAsNode},
        {"a node in the surface table", raw_scene({}, 0, &wrongKind)},
        {"a texture index past the table", raw_scene({}, 0, &textured)},
        {"a count larger than the file", hugeCount},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read_scene(c.bytes).error, persistent::bad_data) << c.what;
}

TEST(SceneFile, CameraIndexPastTheTableDrawsNothing)
{
    Scene scene;
    TransformNode* root = placed(scene, Vector3f(), nullptr);
    scene.set_root(root);
    camera_on_z(scene, 5, root);
    scene.post_load();
    ASSERT_EQ(scene.cameras().size(), 1u);
    clear_gl_table();
    scene.set_pending_camera(1);
    scene.draw();
    EXPECT_EQ(scene.current_camera(), nullptr);
}

TEST(SceneFile, PartWithoutMatchingSurfaceIsNeverQueued)
{
    Scene scene;
    scene.add_surface(new Surface("stone", &scene));
    int matched = scene.add_primitive(one_part_mesh(textured_square(1), "stone"));
    int unmatched = scene.add_primitive(one_part_mesh(textured_square(1), "grass"));
    TransformNode* root = placed(scene, Vector3f(), shape(scene, matched));
    shape(scene, unmatched)->attach(root);
    camera_on_z(scene, 5, root);
    scene.set_root(root);
    scene.post_load();
    EXPECT_EQ(scene.primitives()[1]->surface_indices, (std::vector<unsigned int>{1}));

    root->draw(*scene.cameras()[0]);
    ASSERT_EQ(scene.render_queue()->buckets.size(), 1u);
    ASSERT_EQ(scene.render_queue()->buckets[0].size(), 1u);
    EXPECT_EQ(scene.render_queue()->buckets[0][0].element, dynamic_cast<NMesh*>(scene.primitives()[0])->elements[0]);
}

TEST(SceneFile, SavedFilesLoadAndErrorsNameTheFile)
{
    Scene scene;
    scene.add_surface(new Surface("stone", &scene));
    int mesh = scene.add_primitive(one_part_mesh(textured_square(2), "stone"));
    TransformNode* root = placed(scene, Vector3f(0, 1, 0), shape(scene, mesh));
    scene.set_root(root);
    const std::string path = testing::TempDir() + "saved.hlv";
    save_scene(scene, path);

    std::unique_ptr<Scene> back(load_scene(path));
    ASSERT_TRUE(back->root());
    EXPECT_EQ(back->surfaces().size(), 1u);
    EXPECT_EQ(back->root()->first_child()->world_box().max, Vector3f(2, 3, 0));

    try {
        load_scene(path + ".missing");
        ADD_FAILURE();
    } catch (const SceneFileError& e) {
        EXPECT_NE(std::string(e.what()).find("saved.hlv.missing"), std::string::npos);
    }
    std::vector<uint8_t> bytes = written(scene);
    FILE* half = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size() / 2, half);
    std::fclose(half);
    try {
        delete load_scene(path);
        ADD_FAILURE();
    } catch (const SceneFileError& e) {
        EXPECT_NE(std::string(e.what()).find("saved.hlv: "), std::string::npos) << e.what();
    }
}

TEST(SceneFile, CameraNodePlacesItsStoredCameraInTheWorld)
{
    Scene scene;
    TransformNode* root = placed(scene, Vector3f(0, 2, 5), nullptr);
    scene.set_root(root);
    auto* node = new CameraNode(Camera(Vector3f(0, 0, 10), Vector3f(0, 0, 0), Vector3f(0, 1, 0), 2, 50, 0.5f, 0.25f));
    scene.add_node(node);
    node->attach(root);

    ReadResult read = read_scene(written(scene));
    ASSERT_TRUE(read.scene) << read.error;
    ASSERT_EQ(read.scene->cameras().size(), 1u);
    const Camera& working = *read.scene->cameras()[0];
    EXPECT_EQ(working.eye(), Vector3f(0, 2, 15));
    EXPECT_EQ(working.target(), Vector3f(0, 2, 5));
    EXPECT_EQ(working.nearDistance(), 2.0f);
    EXPECT_EQ(working.farDistance(), 50.0f);
    EXPECT_EQ(working.halfWidth(), 0.5f);
    EXPECT_EQ(working.halfHeight(), 0.25f);

    // The lens is taken once, when the node is read: a near distance written
    // since (a zoom) outlives the evaluation, which places only the camera.
    Camera& zoomed = *read.scene->cameras()[0];
    zoomed.setNear(0.5f);
    auto* readRoot = dynamic_cast<TransformNode*>(read.scene->root());
    ASSERT_NE(readRoot, nullptr);
    readRoot->set_position(new ConstantKeyframeHandler(Vector3f(1, 2, 5)));
    read.scene->evaluate(3.0f);
    EXPECT_EQ(zoomed.nearDistance(), 0.5f);
    EXPECT_EQ(zoomed.farDistance(), 50.0f);
    EXPECT_EQ(zoomed.eye(), Vector3f(1, 2, 15));
    EXPECT_EQ(zoomed.target(), Vector3f(1, 2, 5));
    EXPECT_FLOAT_EQ(zoomed.projectionMatrix().m[0], 0.5f / 0.5f);
}

TEST(SceneFile, WritingNumbersEveryLinkedNode)
{
    Scene scene;
    scene.set_root(placed(scene, Vector3f(), nullptr));
    auto* loose = new TransformNode;  // under no root, held by no table
    shape(scene, -1)->attach(loose);
    ReadResult read = read_scene(written(scene));
    ASSERT_TRUE(read.scene) << read.error;
    ASSERT_EQ(read.scene->nodes().size(), 4u);
    EXPECT_EQ(read.scene->nodes()[2]->parent(), read.scene->nodes()[3]);
}
