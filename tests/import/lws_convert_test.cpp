#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "import/content_directory.h"
#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "persist/factory.h"
#include "persist/pstream.h"
#include "render/texture_image.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "tests/geometry/capturing_logger.h"
#include "tools/writers/lwo2_writer.h"
#include "tools/writers/picture_writer.h"
#include "tests/import/lws_parse.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, with two objects and their pictures:
// "quad.lwo" (one plain surface) and "boxes.lwo" (two textured surfaces and
// one whose picture is missing).
struct SceneFolder {
    SceneFolder()
    {
        path = (fs::current_path() / ("lws_convert_" + std::string(
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()))).string();
        fs::remove_all(path);
        fs::create_directories(path);

        writers::Lwo2Surface plain;
        plain.name = "Plain";
        plain.colour[0] = 1;
        plain.colour[1] = 0.5f;
        plain.colour[2] = 0;
        plain.diffuse = 0.8f;
        writers::Lwo2Writer()
            .tags({"Plain"})
            .points({{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}})
            .polygons({{0, 1, 2, 3}})
            .surfaceTags({{0, 0}})
            .surface(plain)
            .save(path + "/quad.lwo");

        const uint8_t pixels[4 * 4 * 3] = {200};
        writers::writeJpeg(path + "/wall.jpg", pixels, 4, 4);
        writers::writeJpeg(path + "/detail.jpg", pixels, 4, 4);
        auto block = [](const char* channel, uint32_t clip) {
            writers::Lwo2ImageBlock b;
            b.channel = channel;
            b.clip = clip;
            return b;
        };
        writers::Lwo2Surface both{"Both", "", {1, 1, 1}, 1.0f, {block("COLR", 1), block("DIFF", 2)}};
        writers::Lwo2Surface again{"Again", "", {1, 1, 1}, 1.0f, {block("COLR", 3)}};
        writers::Lwo2Surface missing{"Missing", "", {0, 1, 0}, 1.0f, {block("COLR", 4)}};
        writers::Lwo2Writer()
            .tags({"Both", "Again", "Missing"})
            .clip(1, "images/wall.png")
            .clip(2, "detail.tga")
            .clip(3, "images/wall.png")
            .clip(4, "gone.png")
            .points({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 1}})
            .polygons({{0, 1, 2}, {0, 2, 3}, {0, 4, 5}})
            .surfaceTags({{0, 0}, {1, 1}, {2, 2}})
            .surface(both)
            .surface(again)
            .surface(missing)
            .save(path + "/boxes.lwo");
    }
    ~SceneFolder() { fs::remove_all(path); }

    // Parses and converts the scene text, textures kept without upload.
    std::unique_ptr<Scene> convert(const std::string& text)
    {
        return importLwsText(text, path, record);
    }

    std::string path;
    LW::LwsScene record;
    CapturingLogger log;
};

const char* const kHeader = "LWSC\n3\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n";

std::string channels(int count, const std::string& firstChannelKeys = "")
{
    std::string text = "NumChannels " + std::to_string(count) + "\n";
    for (int c = 0; c < count; ++c) {
        const bool moving = c == 0 && !firstChannelKeys.empty();
        const float value = c >= 6 ? 1.0f : float(c);
        text += "Channel " + std::to_string(c) + "\n{ Envelope\n  " + (moving ? "2" : "1") + "\n" +
                (moving ? firstChannelKeys : "  Key " + std::to_string(value) + " 0 0 0 0 0 0 0 0\n") +
                "  Behaviors 1 1\n}\n";
    }
    return text;
}

// Cameras each parented to the one before.
std::string deepChain(int count)
{
    std::string text = "AddCamera\n";
    for (int i = 1; i < count; ++i) {
        char parent[16];
        std::snprintf(parent, sizeof parent, "%X", 0x30000000 + i - 1);
        text += std::string("AddCamera\nParentItem ") + parent + "\n";
    }
    return text;
}

template <typename T>
const T* as(const void* node)
{
    return dynamic_cast<const T*>(static_cast<const SceneNode*>(node));
}

} // namespace

TEST(LwsConvert, ObjectsSurfacesTexturesAndTheNodeTree)
{
    SceneFolder folder;
    const std::string text = std::string(kHeader) +
        "LoadObjectLayer 1 quad.lwo\nObjectMotion\n" + channels(9) + "PivotPoint 0 1 0\n" +
        "LoadObjectLayer 1 boxes.lwo\nObjectMotion\n" + channels(9, "  Key 0 0 0 0 0 0 0 0 0\n  Key 4 1 3 0 0 0 0 0 0\n") +
        "LoadObjectLayer 1 quad.lwo\nParentItem 10000001\n"
        "AddCamera\nCameraMotion\n" + channels(6) + "ParentItem 10000002\nZoomFactor 2\nNearClipDistance 0.5\n"
        "AddLight\n"
        "BackdropColor 0 0 1\nFogType 1\nFogMinDistance 5\nFogMaxDistance 50\nFogMinAmount 0.1\nFogMaxAmount 0.9\n";
    std::unique_ptr<Scene> scene = folder.convert(text);
    const std::string& log = folder.log.text;

    // Two mesh items share quad.lwo: one primitive.
    ASSERT_EQ(scene->primitives().size(), 2u) << log;
    const auto& quad = dynamic_cast<const NMesh&>(*scene->primitive(0));
    ASSERT_EQ(quad.elements.size(), 1u);
    EXPECT_EQ(quad.surface_names[0], "Plain");
    EXPECT_EQ(quad.elements[0]->triangle_count, 2u);
    EXPECT_NE(dynamic_cast<const UniSurfaceMesh_Point*>(quad.elements[0]), nullptr);

    // One part per surface, in the vertex format its textures need.
    const auto& boxes = dynamic_cast<const NMesh&>(*scene->primitive(1));
    ASSERT_EQ(boxes.surface_names, (std::vector<std::string>{"Both", "Again", "Missing"}));
    EXPECT_NE(dynamic_cast<const UniSurfaceMesh_PointUV2*>(boxes.elements[0]), nullptr);
    EXPECT_NE(dynamic_cast<const UniSurfaceMesh_PointUV*>(boxes.elements[1]), nullptr);

    // images/wall.png is loaded once, as wall.jpg found by its file name in
    // the search directory, and shared; gone.png is named as missing.
    ASSERT_EQ(scene->textures().size(), 2u) << log;
    EXPECT_EQ(scene->textures()[0]->name, "images/wall.jpg");
    EXPECT_EQ(scene->textures()[1]->name, "detail.jpg");
    EXPECT_TRUE(scene->textures()[0]->rgb && scene->textures()[0]->rgb->width == 4);
    EXPECT_NE(log.find(std::string(LW::kMissingFileWarning) + "'gone.png'"), std::string::npos) << log;
    ASSERT_EQ(scene->surfaces().size(), 4u);
    const auto* both = dynamic_cast<const TexDifSurface*>(scene->surfaces()[1]);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->texture_index, 0);
    EXPECT_EQ(both->detail_index, 1);
    const auto* again = dynamic_cast<const TextureSurface*>(scene->surfaces()[2]);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->texture_index, 0);
    EXPECT_EQ(scene->surfaces()[3]->kind, int(Surface::Plain));
    EXPECT_FLOAT_EQ(scene->surfaces()[0]->colour[1], 0.5f);
    EXPECT_FLOAT_EQ(scene->surfaces()[0]->colour_factor, 0.8f);

    // Per item a transform, a camera or shape under it. Numbered as its file
    // will be, by the walk from the root: an item, its own node, then its
    // children, in the order of the scene's lines.
    const auto& nodes = scene->nodes();
    ASSERT_EQ(nodes.size(), 1u + 1 + 5 + 3 + 1) << "null, root, 5 transforms, 3 shapes, 1 camera";
    const auto* root = as<TransformNode>(scene->root());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(nodes[1], root);
    const auto* quadItem = as<TransformNode>(nodes[2]);
    const auto* boxesItem = as<TransformNode>(nodes[4]);
    const auto* carrier = as<TransformNode>(nodes[6]);
    const auto* cameraItem = as<TransformNode>(nodes[8]);
    ASSERT_TRUE(quadItem && boxesItem && carrier && cameraItem);
    EXPECT_NE(as<ShapeNode>(nodes[3]), nullptr);
    EXPECT_NE(as<CameraNode>(nodes[9]), nullptr);
    EXPECT_EQ(as<TransformNode>(nodes[10])->parent(), root) << "the light";
    EXPECT_EQ(quadItem->parent(), root);
    EXPECT_EQ(carrier->parent(), boxesItem);
    EXPECT_EQ(cameraItem->parent(), carrier);
    EXPECT_TRUE(quadItem->has_pivot());
    EXPECT_FLOAT_EQ(quadItem->pivot().y, 1.0f);

    // Single keys become constants; keyed channels become envelopes. The
    // rotation is (pitch, heading, bank) in degrees from the file's radians,
    // heading and bank negated since the nodes' Y and Z rotations turn the
    // other way round than LightWave's.
    const auto* still = dynamic_cast<const ConstantKeyframeHandler*>(&quadItem->rotation());
    ASSERT_NE(still, nullptr);
    const float degrees = 180.0f / 3.14159265f;
    EXPECT_FLOAT_EQ(still->value.x, 4 * degrees);
    EXPECT_FLOAT_EQ(still->value.y, -3 * degrees);
    EXPECT_FLOAT_EQ(still->value.z, -5 * degrees);
    EXPECT_NE(dynamic_cast<const LW6KeyframeHandler*>(&boxesItem->position()), nullptr);
    Vector3f moved;
    boxesItem->position().evaluate(moved, 0.5f);
    EXPECT_FLOAT_EQ(moved.x, 2.0f);
    EXPECT_EQ(dynamic_cast<const ConstantKeyframeHandler&>(cameraItem->scale()).value, Vector3f(1, 1, 1));

    const CameraNode* camera = nullptr;
    for (const SceneNode* node : nodes)
        if (const auto* c = as<CameraNode>(node))
            camera = c;
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->parent(), cameraItem);
    EXPECT_FLOAT_EQ(camera->stored_camera().nearDistance(), 0.5f);
    EXPECT_FLOAT_EQ(camera->stored_camera().halfHeight(), 0.25f);  // near over zoom
    EXPECT_FLOAT_EQ(camera->stored_camera().farDistance(), 2500.0f);
    EXPECT_EQ(scene->cameras().size(), 1u);

    EXPECT_TRUE(scene->fog_enabled);
    EXPECT_FLOAT_EQ(scene->fog_end, 50.0f);
    EXPECT_FLOAT_EQ(scene->backdrop[2], 1.0f);
    EXPECT_NE(log.find("** Warning: Fog Min Amount is not taken into account"), std::string::npos);
    EXPECT_NE(log.find("** Warning: Fog Max Amount is not taken into account"), std::string::npos);
}

// A scene file numbers its cameras by the walk from the root. The imported
// scene has its file's numbers from the start: cameras side by side keep the
// order of the scene's lines, a camera under an object comes with it.
TEST(LwsConvert, CamerasAreNumberedAsTheirSceneFileNumbersThem)
{
    SceneFolder folder;
    const std::string text = std::string(kHeader) +
        "LoadObjectLayer 1 quad.lwo\n" + channels(9) +
        "AddCamera\nCameraMotion\n" + channels(6) + "NearClipDistance 0.25\n"
        "AddCamera\nCameraMotion\n" + channels(6) + "ParentItem 10000000\nNearClipDistance 0.5\n"
        "AddCamera\nCameraMotion\n" + channels(6) + "NearClipDistance 0.75\n";
    std::unique_ptr<Scene> scene = folder.convert(text);
    auto nears = [](const Scene& s) {
        std::vector<float> values;
        for (const Camera* camera : s.cameras())
            values.push_back(camera->nearDistance());
        return values;
    };
    const std::vector<float> inFileOrder = {0.5f, 0.25f, 0.75f};
    ASSERT_EQ(nears(*scene), inFileOrder) << folder.log.text;

    register_factories();
    memory_pstream out;
    write_object(out, *scene);
    EXPECT_EQ(nears(*scene), inFileOrder) << "writing keeps the cameras' indices";
    memory_pstream in(out.bytes().data(), out.bytes().size());
    std::unique_ptr<persistent> read(read_object(in));
    const auto* written = dynamic_cast<const Scene*>(read.get());
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(nears(*written), inFileOrder);
}

TEST(LwsConvert, BadParentsFailWithAMessage)
{
    struct Case {
        std::string body;
        bool thrown;
        const char* message;
    };
    const Case cases[] = {
        {"AddCamera\nParentItem 10000000\n", true, "ParentItem 10000000 names no item."},
        {"AddCamera\nParentItem 30000001\n", true, "names no item"},
        {"AddCamera\nParentItem 30000001\nAddCamera\nParentItem 30000000\n", true, "form a loop"},
        {"AddCamera\nParentItem 30000000\n", true, "form a loop"},
        {deepChain(300), true, "parented more than 256 levels deep"},
    };
    for (const Case& c : cases) {
        SceneFolder folder;
        bool thrown = !c.thrown;
        try {
            folder.convert(std::string(kHeader) + c.body);
            ADD_FAILURE() << c.body;
        } catch (bool value) {
            thrown = value;
        }
        EXPECT_EQ(thrown, c.thrown) << c.body;
        EXPECT_NE(folder.log.text.find(c.message), std::string::npos) << c.body << folder.log.text;
    }
}

namespace {

// A LightWave 5 layered object (FORM LWLO): LAYR with number, flags and
// name, then the layer's points, surface names and polygons.
std::vector<uint8_t> layeredObject()
{
    writers::Lwo2Bytes layer, points, surfaces, polygons;
    layer.u2(1).u2(0).s0("Hull");
    points.f4(0).f4(0).f4(0).f4(1).f4(0).f4(0).f4(0).f4(1).f4(0);
    surfaces.s0("Default");
    polygons.u2(3).u2(0).u2(1).u2(2).u2(1);
    return writers::Lwo2Writer()
        .chunk("LAYR", layer.data())
        .chunk("PNTS", points.data())
        .chunk("SRFS", surfaces.data())
        .chunk("POLS", polygons.data())
        .bytes("LWLO");
}

// A motion that holds the item at (x, 0, 0), unturned.
std::string heldAt(float x)
{
    std::string text = "NumChannels 9\n";
    for (int c = 0; c < 9; ++c)
        text += "Channel " + std::to_string(c) + "\n{ Envelope\n  1\n  Key " +
                std::to_string(c == 0 ? x : c >= 6 ? 1.0f : 0.0f) + " 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    return text;
}

} // namespace

// An object that is found but cannot be read leaves its item empty, with a
// warning naming it and why: the item still moves and its child keeps its
// place. A strict import fails on it.
TEST(LwsConvert, AnUnreadableObjectLeavesItsItemEmptyWithAWarning)
{
    const std::vector<uint8_t> quad = writers::Lwo2Writer()
                                          .tags({"Plain"})
                                          .layer(0)
                                          .points({{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}})
                                          .polygons({{0, 1, 2, 3}})
                                          .surfaceTags({{0, 0}})
                                          .bytes();
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int layer;
        const char* why;
    } cases[] = {
        {"damaged", std::vector<uint8_t>(quad.begin(), quad.end() - 10), 1, "Corrupted IFF length."},
        {"LightWave 5 layers", layeredObject(), 1, "Unsupported object format (LWLO)."},
        {"a picture", writers::Lwo2Writer().chunk("BMHD", {0, 4, 0, 4}).bytes("ILBM"), 1,
         "Unsupported object format (ILBM)."},
        {"a layer it lacks", quad, 3, "The object has no layer 3 (it has only layer 1)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The object at x = 4 with a null child one further along, and a
        // readable quad beside them.
        const std::string text = std::string(kHeader) + "LoadObjectLayer " + std::to_string(c.layer) +
                                 " Objects/ship.lwo\nObjectMotion\n" + heldAt(4) + "AddNullObject Flag\nObjectMotion\n" +
                                 heldAt(1) + "ParentItem 10000000\nLoadObjectLayer 1 quad.lwo\nObjectMotion\n" +
                                 heldAt(0);
        for (const bool strict : {false, true}) {
            SceneFolder folder;
            fs::create_directories(folder.path + "/Objects");
            std::ofstream(folder.path + "/Objects/ship.lwo", std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()), std::streamsize(c.bytes.size()));
            folder.record.strict = strict;
            std::unique_ptr<Scene> scene;
            try {
                scene = folder.convert(text);
            } catch (bool) {
            }
            EXPECT_NE(folder.log.text.find(c.why), std::string::npos) << folder.log.text;
            if (strict) {
                EXPECT_EQ(scene, nullptr) << "a strict import fails";
                continue;
            }
            ASSERT_NE(scene, nullptr) << folder.log.text;
            const std::string warning = std::string(LW::kUnreadableObjectWarning) + "'Objects/ship.lwo' (layer " +
                                        std::to_string(c.layer) + ", needed by object item 1) cannot be read: " + c.why;
            EXPECT_NE(folder.log.text.find(warning), std::string::npos) << folder.log.text;
            EXPECT_EQ(scene->primitives().size(), 1u) << "only the quad";
            ASSERT_EQ(folder.record.itemNodes.size(), 3u);
            scene->evaluate(0.5f);
            EXPECT_NEAR(folder.record.itemNodes[1]->world().transformPoint({0, 0, 0}).x, 5, 1e-5f);
        }
    }
}
