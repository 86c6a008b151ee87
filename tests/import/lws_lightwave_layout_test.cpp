// LightWave scenes as LightWave itself writes them, versions 1 to 5: what is
// read from them and where their items end up.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "geometry/primitive.h"
#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "math/camera.h"
#include "persist/factory.h"
#include "persist/pstream.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "tests/geometry/capturing_logger.h"
#include "tests/import/lws_parse.h"
#include "tests/import/lightwave_scene_folder.h"

namespace {

constexpr float kQuarterTurn = 1.5707963f;  // as the files write 90 degrees
const float kPi = std::acos(-1.0f);

std::string hex(unsigned id)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", id);
    return text;
}

// One line per item: kind, name or path, layer, id, parent.
std::string describe(const LW::LwsScene::Object& item)
{
    using Kind = LW::LwsScene::ItemKind;
    std::string text;
    switch (item.kind) {
    case Kind::Mesh: {
        const auto& mesh = static_cast<const LW::LwsScene::Mesh&>(item);
        text = "object " + mesh.path + " layer " + std::to_string(mesh.layer);
        break;
    }
    case Kind::Null: text = "null " + item.name; break;
    case Kind::Light: text = "light " + item.name; break;
    case Kind::Camera: text = "camera " + item.name; break;
    }
    if (item.hasId)
        text += " id " + hex(item.itemId);
    if (item.hasParent)
        text += " parent " + hex(item.parentItem);
    return text;
}

// A scene file of tests/import/scenes, read and converted.
struct Imported {
    Imported(const LightWaveSceneFolder& folder, const std::string& file)
    {
        record.searchDirectories = {folder.path};
        LW::parseLwsFile(folder.scene(file).c_str(), record);
        scene = convertWithoutUpload(record);
    }

    size_t item(const std::string& name) const
    {
        for (size_t i = 0; i < record.items.size(); ++i)
            if (record.items[i]->name == name)
                return i;
        ADD_FAILURE() << "no item " << name;
        return 0;
    }
    // Where the item's node is at `seconds`.
    Vector3f at(size_t item, float seconds)
    {
        scene->evaluate(seconds);
        return record.itemNodes.at(item)->world().transformPoint({0, 0, 0});
    }
    const Camera& camera(float seconds)
    {
        scene->evaluate(seconds);
        return *scene->cameras().at(0);
    }

    CapturingLogger log;
    LW::LwsScene record;
    std::unique_ptr<Scene> scene;
};

void expectNear(const Vector3f& actual, const Vector3f& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-3f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-3f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-3f) << what;
}

std::string channels(int count, const std::vector<std::string>& keyed = {})
{
    std::string text = "NumChannels " + std::to_string(count) + "\n";
    for (int c = 0; c < count; ++c) {
        const std::string keys = size_t(c) < keyed.size() && !keyed[size_t(c)].empty()
                                     ? keyed[size_t(c)]
                                     : "  Key " + std::string(c >= 6 ? "1" : "0") + " 0 0 0 0 0 0 0 0\n";
        const int keyCount = int(std::count(keys.begin(), keys.end(), '\n'));
        text += "Channel " + std::to_string(c) + "\n{ Envelope\n  " + std::to_string(keyCount) + "\n" + keys +
                "  Behaviors 1 1\n}\n";
    }
    return text;
}

} // namespace

TEST(LightWaveLayout, EveryVersionGivesItsItemsAsLightWaveWroteThem)
{
    LightWaveSceneFolder folder("lws_layout_items");
    const std::vector<std::string> lightWave5 = {
        "object Objects/Box.lwo layer 0", "null Turntable", "object Objects/Box.lwo layer 0 parent 10000001",
        "null Stopping", "null Repeating", "null Spline", "light Light", "camera "};
    const std::vector<std::string> behaviours = {"null Reset", "null Constant", "null Repeat",
                                                 "null Oscillate", "null Offset Repeat", "null Linear"};
    const std::vector<std::string> spans = {"null TCB",         "null Hermite", "null Bezier",
                                            "null Linear Span", "null Stepped", "null 2D Bezier"};
    std::vector<std::string> lightWave7 = {"object Objects/Box.lwo layer 1", "null Turntable",
                                           "object Objects/Box.lwo layer 1 parent 10000001"};
    lightWave7.insert(lightWave7.end(), behaviours.begin(), behaviours.end());
    lightWave7.insert(lightWave7.end(), spans.begin(), spans.end());
    lightWave7.insert(lightWave7.end(), {"light Light", "camera Camera"});
    const struct {
        const char* file;
        int version, firstFrame;
        std::vector<std::string> items;
    } cases[] = {
        {"lightwave5.lws", 1, 1, lightWave5},
        {"version2.lws", 2, 1, lightWave5},
        {"lightwave7.lws", 3, 0, lightWave7},
        {"lightwave8.lws", 4, 1,
         {"object Objects/Box.lwo layer 1 id 10000000", "null Dolly id 10000001", "null Turntable id 10000002",
          "object Objects/Box.lwo layer 1 id 10000003 parent 10000002", "light Light id 20000000 parent 30000000",
          "camera Camera id 30000000 parent 10000001"}},
        {"lightwave9.lws", 5, 1,
         {"object Objects/Layers.lwo layer 2 id 10000000", "object Objects/Layers.lwo layer 1 id 10000001",
          "null Turntable id 10000002", "object Objects/Box.lwo layer 1 id 10000003 parent 10000002",
          "light Light id 20000000", "camera Camera id 30000000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Imported imported(folder, c.file);
        const LW::LwsScene& record = imported.record;
        EXPECT_EQ(record.version, c.version);
        EXPECT_EQ(record.firstFrame, c.firstFrame);
        EXPECT_EQ(record.lastFrame, 60);
        EXPECT_FLOAT_EQ(record.framesPerSecond, 30.0f);
        std::vector<std::string> items;
        for (const auto& item : record.items)
            items.push_back(describe(*item));
        EXPECT_EQ(items, c.items);
        // A camera has six channels from version 3 on, every other item nine.
        for (const auto& item : record.items) {
            if (!item->lw5Motion) {
                EXPECT_EQ(item->channels.size(), item->kind == LW::LwsScene::ItemKind::Camera ? 6u : 9u)
                    << describe(*item);
            }
        }
        // Blue backdrop: 0 0 128 of 255 up to version 2, 0 0 0.5 later.
        EXPECT_NEAR(record.backdrop[2], 0.5f, 0.01f);
        EXPECT_EQ(imported.scene->cameras().size(), 1u);
    }
}

TEST(LightWaveLayout, KeywordsPluginsAndBlocksTheImporterDoesNotUseAreSkipped)
{
    // Frame keywords among others, in LightWave 7's order.
    Parse header("LWSC\n3\n\nRenderRangeType 0\nFirstFrame 5\nFrameStep 2\nLastFrame 70\nRenderRangeArbitrary 5-70\n"
                 "PreviewFirstFrame 0\nCurrentFrame 3\nFramesPerSecond 25\nChangeScene 0\nAddCamera\n");
    ASSERT_EQ(header.thrown, "") << header.log.text;
    EXPECT_EQ(header.scene.firstFrame, 5);
    EXPECT_EQ(header.scene.lastFrame, 70);
    EXPECT_FLOAT_EQ(header.scene.framesPerSecond, 25.0f);
    EXPECT_TRUE(header.log.contains("70 keyframes.") && header.log.contains("25 frames/second.")) << header.log.text;
    EXPECT_EQ(header.scene.items.size(), 1u);

    // Without a frame rate, LightWave's own 30 holds.
    Parse noRate("LWSC\n4\nFirstFrame 0\nLastFrame 10\nAddCamera 30000000\n");
    ASSERT_EQ(noRate.thrown, "") << noRate.log.text;
    EXPECT_FLOAT_EQ(noRate.scene.framesPerSecond, 30.0f);
    EXPECT_EQ(noRate.scene.items.size(), 1u);

    // The frame keywords' own errors still name what was found.
    const struct {
        std::string text;
        const char* thrown;
        const char* message;
    } errors[] = {
        {"LWSC\n3\nRenderRangeType 0\nLastFrame 60\nFirstFrame 1\n", "true",
         "Incoherency, expecting 'FirstFrame', found 'LastFrame'"},
        {"LWSC\n3\nAddCamera\nFirstFrame 1\n", "true", "Incoherency, expecting 'FirstFrame', found 'AddCamera'"},
        {"LWSC\n3\nFirstFrame 1\nFramesPerSecond 30\nLastFrame 60\n", "true",
         "Incoherency, expecting 'LastFrame', found 'FramesPerSecond'"},
        {"LWSC\n5\nRenderRangeType 0\nFirstFrame 1.2.3\n", "false", "Too many decimalsigns!!"},
        {"LWSC\n3\nRenderRangeType 0\n", "true", "Unexpected end of file."},
        {"LWSC\n3\nFirstFrame 1\nLastFrame 2\nPlugin MasterHandler 1 Notes\nAddLight\n", "true",
         "Unexpected end of file in the block that starts on line 5."},
        {"LWSC\n3\nFirstFrame 1\nLastFrame 2\nGraphEditorData\n{ Curves\n  { Curve\n  }\n", "true",
         "Unexpected end of file in the block that starts on line 6."},
    };
    for (const auto& e : errors) {
        Parse parse(e.text);
        EXPECT_EQ(parse.thrown, e.thrown) << e.text;
        EXPECT_TRUE(parse.log.contains(e.message)) << e.text << "\n--- log:\n" << parse.log.text;
    }

    // Whatever plugins and blocks hold, even keyword lines, is not read;
    // channel modifiers between the channels are passed over too, and the
    // lines of a bone do not reach the object it belongs to.
    const std::string body =
        "Plugin MasterHandler 1 Notes\nAddLight\nEndPlugin\n"
        "LoadObjectLayer 1 box.lwo\nObjectMotion\n" + channels(9).substr(0, channels(9).find("Channel 1")) +
        "Plugin ChannelHandler 1 NoisyChannel\n{ Noise\nAddCamera\n}\nEndPlugin\n" +
        channels(9).substr(channels(9).find("Channel 1")) +
        "Plugin DisplacementHandler 1 LW_Wave\nPlugin Nested 1 Inner\nAddCamera\nEndPlugin\nParentItem 10000009\n"
        "EndPlugin\n"
        "AddBone\nBoneMotion\n" + channels(9) + "ParentItem 10000007\n"
        "GraphEditorData\n{ Curves\n  { Curve\n    AddLight\n  }\n}\n"
        "LightIntensity (envelope)\n{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n"
        "BackdropColor 0.25 0.5 1\n";
    Parse skipped("LWSC\n3\nFirstFrame 1\nLastFrame 2\nFramesPerSecond 30\n" + body);
    ASSERT_EQ(skipped.thrown, "") << skipped.log.text;
    ASSERT_EQ(skipped.scene.items.size(), 1u);
    EXPECT_EQ(skipped.scene.items[0]->channels.size(), 9u);
    EXPECT_FALSE(skipped.scene.items[0]->hasParent);
    EXPECT_FLOAT_EQ(skipped.scene.backdrop[1], 0.5f);
}

// A heading of 90 degrees (radians from version 3 on) turns what hangs on
// the turntable from ahead of it (+Z) to its right (+X), as LightWave does.
TEST(LightWaveLayout, NinetyDegreeHeadingTurnsAChildByNinetyDegreesInEveryVersion)
{
    LightWaveSceneFolder folder("lws_layout_heading");
    for (const char* file : {"lightwave5.lws", "version2.lws", "lightwave7.lws", "lightwave8.lws", "lightwave9.lws"}) {
        SCOPED_TRACE(file);
        Imported imported(folder, file);
        const size_t turntable = imported.item("Turntable");
        const size_t rider = turntable + 1;  // the box parented to it
        ASSERT_TRUE(imported.record.items[rider]->hasParent);
        const float s = std::sin(kPi / 4) * 10;
        expectNear(imported.at(turntable, 0.5f), {0, 50, 0}, "the turntable stays where it is");
        expectNear(imported.at(rider, 0), {0, 50, 10}, "ahead at 0 s");
        expectNear(imported.at(rider, 0.5f), {s, 50, s}, "half way round at 0.5 s");
        expectNear(imported.at(rider, 1), {10, 50, 0}, "a quarter round at 1 s");
        expectNear(imported.at(rider, 3), {10, 50, 0}, "held after the last key");
    }
    // The camera turns with its heading too: at 2 s it looks along +X at the box.
    for (const char* file : {"lightwave5.lws", "lightwave7.lws", "lightwave8.lws"}) {
        SCOPED_TRACE(file);
        Imported imported(folder, file);
        const Camera& camera = imported.camera(2);
        expectNear(camera.eye(), {-20, 0, 0}, "eye at 2 s");
        expectNear(camera.forward(), {1, 0, 0}, "looking at 2 s");
        expectNear(imported.camera(0).forward(), {0, 0, 1}, "looking at 0 s");
    }
}

// Every span shape from 0 at 0 s to 10 at 1 s (the behaviours are checked
// through hlvtool info --time, in tests/tools).
TEST(LightWaveLayout, EverySpanShapePutsItsItemWhereItsKeysSay)
{
    LightWaveSceneFolder folder("lws_layout_spans");
    Imported imported(folder, "lightwave7.lws");
    // The Hermite basis at the middle of a span: value = (v0 + v1) / 2 +
    // (out - in) / 8 for the tangents out of the first key and into the second.
    auto middle = [](float v0, float v1, float out, float in) { return (v0 + v1) / 2 + (out - in) / 8; };
    const struct {
        const char* item;
        float middle;
    } spans[] = {
        // Kochanek-Bartels with tension, continuity and bias 0 over 0, 10, 0:
        // out of the first key 10, into the second (0 - 0) / 2.
        {"TCB", middle(0, 10, 10, 0)},
        {"Hermite", middle(0, 10, 20, 0)},
        {"Bezier", middle(0, 10, 0, 20)},
        {"Linear Span", 5},
        {"Stepped", 0},
        // Each key's handles on its own line (incoming time and value, then
        // outgoing): a third of the span in time (time is then the curve
        // parameter), 0 + 8 and 10 + 0 in value: (0 + 3·8 + 3·10 + 10) / 8.
        {"2D Bezier", (0 + 3 * 8.0f + 3 * 10.0f + 10) / 8},
    };
    for (const auto& s : spans) {
        const size_t item = imported.item(s.item);
        EXPECT_NEAR(imported.at(item, 0).x, 0, 1e-4f) << s.item;
        EXPECT_NEAR(imported.at(item, 0.5f).x, s.middle, 1e-3f) << s.item;
        EXPECT_NEAR(imported.at(item, 1).x, 10, 1e-4f) << s.item;
    }
}

TEST(LightWaveLayout, VersionOneAndTwoMotionAndSettings)
{
    LightWaveSceneFolder folder("lws_layout_version1");
    for (const char* file : {"lightwave5.lws", "version2.lws"}) {
        SCOPED_TRACE(file);
        Imported imported(folder, file);
        // Keys 0, 10, 5 at frames 0, 30, 60 (30 a second), straight spans.
        EXPECT_NEAR(imported.at(imported.item("Stopping"), 1.5f).x, 7.5f, 1e-4f);
        // The LightWave 5 spline over 0, 10, 0 with tension, continuity and
        // bias 0: tangents 10 out of the first key and 0 into the second.
        EXPECT_NEAR(imported.at(imported.item("Spline"), 0.5f).x, 5 + 10.0f / 8, 1e-4f);
        // The one camera, added by its motion, with its zoom.
        const auto& camera = dynamic_cast<const LW::LwsScene::Camera&>(*imported.record.items.back());
        EXPECT_FLOAT_EQ(camera.zoomFactor, 3.2f);
        EXPECT_NEAR(imported.record.backdrop[2], 128.0f / 255, 1e-6f);
    }

    // An end behaviour of reset is held as a stop: the spline of scene
    // files cannot drop back, and the log says so.
    Parse reset("LWSC\n1\nFirstFrame 1\nLastFrame 30\nAddNullObject N\nObjectMotion (unnamed)\n  9\n  2\n"
                "  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n  4 0 0 0 0 0 1 1 1\n  30 1 0 0 0\nEndBehavior 0\n"
                "FogColor 255 51 0\n");
    ASSERT_EQ(reset.thrown, "") << reset.log.text;
    EXPECT_FLOAT_EQ(reset.scene.fogColour[1], 0.2f);
    CapturingLogger log;
    std::unique_ptr<Scene> scene(LW::convertLwsScene(reset.scene, LW::ConvertOptions{false}));
    scene->evaluate(2);
    EXPECT_NEAR(reset.scene.itemNodes[0]->world().transformPoint({0, 0, 0}).x, 4, 1e-4f);
    EXPECT_TRUE(log.contains("EndBehavior 0 (reset) is played as 1 (stop)")) << log.text;
}

TEST(LightWaveLayout, ParentsByItemIdCarryCamerasAndLights)
{
    LightWaveSceneFolder folder("lws_layout_ids");
    Imported imported(folder, "lightwave8.lws");
    // The light hangs on the camera, the camera on the dolly.
    expectNear(imported.at(imported.item("Light"), 2), {-20, 0, 0}, "the light rides with the camera");
    expectNear(imported.at(imported.item("Dolly"), 1), {-10, 0, -10}, "the dolly half way");

    // A bone as parent stands for its object; ids name items in any order.
    Parse bone("LWSC\n5\nFirstFrame 1\nLastFrame 2\nAddCamera 30000000\nParentItem 40020001\n"
               "AddNullObject 10000000 First\nAddNullObject 10000001 Second\n");
    ASSERT_EQ(bone.thrown, "") << bone.log.text;
    CapturingLogger log;
    std::unique_ptr<Scene> scene(LW::convertLwsScene(bone.scene, LW::ConvertOptions{false}));
    EXPECT_EQ(bone.scene.itemNodes[0]->parent(), bone.scene.itemNodes[2]);
    EXPECT_TRUE(log.contains("ParentItem 40020001 is a bone")) << log.text;

    Parse missing("LWSC\n4\nFirstFrame 1\nLastFrame 2\nAddNullObject 10000000 Only\nAddCamera 30000000\n"
                  "ParentItem 10000001\n");
    ASSERT_EQ(missing.thrown, "");
    EXPECT_THROW(LW::convertLwsScene(missing.scene, LW::ConvertOptions{false}), bool);
    EXPECT_TRUE(missing.log.contains("ParentItem 10000001 names no item.")) << missing.log.text;
}

namespace {

// Where the object point `point` of the scene's one shape lies at 0 s, the
// scene's objects looked for in `folder`.
Vector3f shapePointAtZero(const std::string& folder, const std::string& sceneText, const Vector3f& point)
{
    Parse parse(sceneText);
    EXPECT_EQ(parse.thrown, "") << parse.log.text;
    parse.scene.searchDirectories = {folder};
    std::unique_ptr<Scene> scene(LW::convertLwsScene(parse.scene, LW::ConvertOptions{false}));
    scene->evaluate(0);
    const ShapeNode* shape = nullptr;
    for (const SceneNode* node : scene->nodes())
        if (const auto* found = dynamic_cast<const ShapeNode*>(node))
            shape = found;
    return shape ? shape->world().transformPoint(point) : Vector3f(-1, -1, -1);
}

} // namespace

// The pivot rotation turns the axes that the item's rotation turns about,
// not the item: keyed to the same heading, the geometry is not turned.
TEST(LightWaveLayout, PivotRotationTurnsTheAxesNotTheGeometry)
{
    LightWaveSceneFolder folder("lws_layout_pivot");
    auto geometryPoint = [&](const std::string& heading, const std::string& pivotHeading) {
        // The object's point (0, 0, 12) is 10 ahead of the pivot.
        return shapePointAtZero(folder.path,
                                "LWSC\n3\nFirstFrame 0\nLastFrame 30\n"
                                "LoadObjectLayer 1 Objects/Box.lwo\nObjectMotion\n" +
                                    channels(9, {"  Key 1 0 0 0 0 0 0 0 0\n", "", "",
                                                 "  Key " + heading + " 0 0 0 0 0 0 0 0\n"}) +
                                    "PivotPosition 0 0 2\nPivotRotation " + pivotHeading + " 0 0\n",
                                {0, 0, 12});
    };
    const std::string quarter = std::to_string(kQuarterTurn);
    expectNear(geometryPoint("0", "0"), {1, 0, 10}, "no rotation: the pivot sits at the item's position");
    expectNear(geometryPoint(quarter, "0"), {11, 0, 0}, "heading 90 about the pivot");
    expectNear(geometryPoint(quarter, quarter), {1, 0, 10}, "the pivot turned as far as the item");
    expectNear(geometryPoint("0", quarter), {-9, 0, 0}, "the pivot turned alone");
}

// A scene that names no pivot gives the item its layer's pivot from the
// object file, as Layout does when it loads the layer; one the scene names
// wins, even at the origin.
TEST(LightWaveLayout, AnItemWithoutAPivotTakesItsLayersPivot)
{
    LightWaveSceneFolder folder("lws_layout_layer_pivot");
    const auto square = lightwave_objects::bothSides({{0, 1, 2, 3}});
    writers::Lwo2Writer()
        .tags({"Plate"})
        .layer(0, "Plate", {0, 0, 2})
        .points({{-1, -1, 12}, {-1, 1, 12}, {1, 1, 12}, {1, -1, 12}})
        .polygons(square)
        .surfaceTags(lightwave_objects::allTagged(square.size(), 0))
        .surface(lightwave_objects::surface("Plate", 1, 1, 1))
        .save(folder.path + "/Objects/Plate.lwo");
    const std::string quarter = std::to_string(kQuarterTurn);
    auto geometryPoint = [&](const std::string& load, const std::string& pivotLine) {
        return shapePointAtZero(folder.path,
                                "LWSC\n3\nFirstFrame 0\nLastFrame 30\n" + load + " Objects/Plate.lwo\nObjectMotion\n" +
                                    channels(9, {"  Key 1 0 0 0 0 0 0 0 0\n", "", "",
                                                 "  Key " + quarter + " 0 0 0 0 0 0 0 0\n"}) +
                                    pivotLine,
                                {0, 0, 12});
    };
    expectNear(geometryPoint("LoadObjectLayer 1", ""), {11, 0, 0}, "heading 90 about the layer's pivot");
    expectNear(geometryPoint("LoadObject", ""), {11, 0, 0}, "the whole object of one layer");
    expectNear(geometryPoint("LoadObjectLayer 1", "PivotPosition 0 0 0\n"), {13, 0, 0}, "the scene's own pivot");
}

// A scene in the strict layout (the keywords the importer uses, in order)
// writes the scene file that the conversion steps describe: a root, one
// transform per item with constants for single keys and envelopes
// otherwise, the camera under its item. Rotations become the nodes'
// degrees, heading and bank turned round. The same scene in LightWave's own
// layout writes the same bytes.
TEST(LightWaveLayout, StrictVersionThreeLayoutWritesTheSceneFileTheConversionDescribes)
{
    const std::string cameraKeys = "  Key -4 0 3 0 0 0 0 0 0\n  Key 6 2 3 0 0 0 0 0 0\n";
    const std::string lightKeys = "  Key 1 0 0 0.5 0 0 0 0 0\n  Key 3 1 0 0 0 0 0 0 0\n  Key 2 2 0 0 0 0 0 0 0\n";
    const std::string camera = "AddCamera\nCameraMotion\n" +
                               channels(6, {cameraKeys, "  Key 2 0 0 0 0 0 0 0 0\n", "", "  Key 0.5 0 0 0 0 0 0 0 0\n",
                                            "  Key -0.25 0 0 0 0 0 0 0 0\n", "  Key 0.125 0 0 0 0 0 0 0 0\n"});
    const std::string light = "AddLight\nLightMotion\n" + channels(9, {"", lightKeys});
    const std::string strict = "LWSC\n3\nFirstFrame 0\nLastFrame 60\nFramesPerSecond 30\n" + camera +
                               "ParentItem 20000000\nZoomFactor 2\nNearClipDistance 0.5\nHL_FarClipDistance 900\n" +
                               light + "BackdropColor 0.1 0.2 0.3\nFogType 1\nFogMinDistance 10\nFogMaxDistance 90\n"
                               "FogColor 0.4 0.5 0.6\n";
    const std::string lightWave =
        "LWSC\n3\n\nRenderRangeType 0\nFirstFrame 0\nLastFrame 60\nFrameStep 1\nPreviewFirstFrame 0\n"
        "CurrentFrame 0\nFramesPerSecond 30\n\nPlugin MasterHandler 1 Notes\nAddLight\nEndPlugin\n\n"
        "AmbientColor 1 1 1\n\n" + camera.substr(0, camera.find('\n') + 1) + "CameraName Camera\nShowCamera 1 7\n" +
        camera.substr(camera.find('\n') + 1) +
        "ParentItem 20000000\nZoomFactor 2\nResolutionMultiplier 1.0\nNearClipDistance 0.5\nHL_FarClipDistance 900\n"
        "Plugin CameraHandler 1 Perspective\nEndPlugin\n\n" + light +
        "LightColor 1 1 1\nLightIntensity (envelope)\n{ Envelope\n  1\n  Key 1 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n"
        "\nSolidBackdrop 1\nBackdropColor 0.1 0.2 0.3\nZenithColor 0 0 0\nFogType 1\nFogMinDistance 10\n"
        "FogMaxDistance 90\nFogColor 0.4 0.5 0.6\nDitherIntensity 1\n\nViewZoomFactor 3.2\n";

    auto written = [](const Scene& scene) {
        memory_pstream out;
        write_object(out, scene);
        return out.bytes();
    };
    auto converted = [&](const std::string& text) {
        Parse parse(text);
        EXPECT_EQ(parse.thrown, "") << parse.log.text;
        std::unique_ptr<Scene> scene(LW::convertLwsScene(parse.scene, LW::ConvertOptions{false}));
        return written(*scene);
    };

    // By hand, step by step.
    auto envelope = [](const std::vector<std::array<float, 4>>& keys, float factor = 1) {
        auto* e = new Envelope;
        for (const auto& k : keys) {
            Key key;
            key.value = k[0] * factor + 0.0f;
            key.time = k[1];
            key.shape = int(k[2]);
            key.tension = k[3];
            e->appendKey(key);
        }
        return e;
    };
    const float degrees = float(180 / std::acos(-1.0));  // degrees per radian, to float precision
    Scene expected;
    auto* root = new TransformNode;
    expected.add_node(root);
    expected.set_root(root);
    auto* cameraItem = new TransformNode;
    cameraItem->set_position(new LW6KeyframeHandler(envelope({{-4, 0, 3, 0}, {6, 2, 3, 0}}), envelope({{2, 0, 0, 0}}),
                                                    envelope({{0, 0, 0, 0}})));
    cameraItem->set_rotation(new ConstantKeyframeHandler({-0.25f * degrees, -0.5f * degrees, -0.125f * degrees}));
    auto* lightItem = new TransformNode;
    lightItem->set_position(new LW6KeyframeHandler(envelope({{0, 0, 0, 0}}),
                                                   envelope({{1, 0, 0, 0.5f}, {3, 1, 0, 0}, {2, 2, 0, 0}}),
                                                   envelope({{0, 0, 0, 0}})));
    expected.add_node(cameraItem);
    expected.add_node(lightItem);
    cameraItem->attach(lightItem);
    auto* cameraNode = new CameraNode(::Camera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 0.5f, 900, 0.25f * 4 / 3, 0.25f));
    expected.add_node(cameraNode);
    cameraNode->attach(cameraItem);
    lightItem->attach(root);
    const float backdrop[3] = {0.1f, 0.2f, 0.3f}, fog[3] = {0.4f, 0.5f, 0.6f};
    for (int i = 0; i < 3; ++i) {
        expected.backdrop[i] = backdrop[i];
        expected.fog_colour[i] = fog[i];
    }
    expected.fog_enabled = true;
    expected.fog_start = 10;
    expected.fog_end = 90;

    const std::vector<uint8_t> file = converted(strict);
    EXPECT_EQ(file, written(expected));
    EXPECT_EQ(converted(lightWave), file);
}

// "LoadObjectLayer 2" takes the file's second layer only; the same file's
// first layer is a primitive of its own, and items of the same layer share one.
TEST(LightWaveLayout, ObjectLayersTakeTheirLayerOfTheFile)
{
    LightWaveSceneFolder folder("lws_layout_layers");
    Imported imported(folder, "lightwave9.lws");
    const Scene& scene = *imported.scene;
    ASSERT_EQ(scene.primitives().size(), 3u) << "layer 2 and layer 1 of Layers.lwo, layer 1 of Box.lwo";
    auto primitiveOf = [&](size_t item) -> const Primitive& {
        const SceneNode* child = imported.record.itemNodes.at(item)->first_child();
        const auto* shape = dynamic_cast<const ShapeNode*>(child);
        EXPECT_NE(shape, nullptr);
        return *scene.primitive(shape ? shape->primitive_index : 0);
    };
    const Primitive& back = primitiveOf(0);
    const Primitive& front = primitiveOf(1);
    EXPECT_EQ(back.surface_names, std::vector<std::string>{"Back"});
    EXPECT_EQ(front.surface_names, std::vector<std::string>{"Front"});
    EXPECT_FLOAT_EQ(back.box.min.z, 0);
    EXPECT_FLOAT_EQ(front.box.max.z, -5);

    Parse twice("LWSC\n3\nFirstFrame 0\nLastFrame 1\nLoadObjectLayer 2 Objects/Layers.lwo\n"
                "LoadObjectLayer 2 Objects/Layers.lwo\nLoadObjectLayer 1 Objects/Layers.lwo\n");
    twice.scene.searchDirectories = {folder.path};
    std::unique_ptr<Scene> shared(LW::convertLwsScene(twice.scene, LW::ConvertOptions{false}));
    EXPECT_EQ(shared->primitives().size(), 2u);

    // A layer the file lacks leaves its item empty, with a warning; a strict
    // import fails.
    Parse missing("LWSC\n3\nFirstFrame 0\nLastFrame 1\nLoadObjectLayer 3 Objects/Layers.lwo\n");
    missing.scene.searchDirectories = {folder.path};
    std::unique_ptr<Scene> empty(LW::convertLwsScene(missing.scene, LW::ConvertOptions{false}));
    EXPECT_EQ(empty->primitives().size(), 0u);
    EXPECT_TRUE(missing.log.contains("cannot be read: The object has no layer 3 (it has layers 1 and 2).")) << missing.log.text;
    missing.scene.strict = true;
    EXPECT_THROW(LW::convertLwsScene(missing.scene, LW::ConvertOptions{false}), bool);
}
