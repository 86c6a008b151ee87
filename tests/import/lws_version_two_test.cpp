// LightWave 5.6 scenes (version 2): one motion written as LightWave 5.6,
// LightWave 6 (version 3) and LightWave 9 (version 5) write it must put the
// object, the light and the camera in the same places, and the fog of
// LightWave 5 scenes keeps its distances.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "scene/scene.h"
#include "scene/transform_node.h"
#include "tests/geometry/capturing_logger.h"
#include "tests/import/lightwave_scene_folder.h"
#include "tests/import/lws_parse.h"

namespace {

struct Key {
    float value, seconds, tension, continuity, bias;
};
using Channel = std::vector<Key>;

struct Item {
    std::vector<Channel> channels;  // nine, or six for the camera
    int pre, post;                  // LightWave's behaviour numbers
};

const float kDegree = std::acos(-1.0f) / 180;

std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool isAngle(size_t channel) { return channel >= 3 && channel < 6; }

// Version 2: the channel count, each channel's key count and one line per
// key (value, seconds, span 2, tension, continuity, bias), then one line of
// pre and post behaviours for every channel. Angles in degrees.
std::string versionTwoMotion(const Item& item)
{
    std::string text = "  " + std::to_string(item.channels.size()) + "\n";
    std::string behaviours = "Pre/PostBehavior";
    for (const Channel& channel : item.channels) {
        text += "  " + std::to_string(channel.size()) + "\n";
        for (const Key& k : channel)
            text += "  " + number(k.value) + " " + number(k.seconds) + " 2 " + number(k.tension) + " " +
                    number(k.continuity) + " " + number(k.bias) + "\n";
        behaviours += " " + std::to_string(item.pre) + " " + std::to_string(item.post);
    }
    return text + behaviours + "\n";
}

// Versions 3 to 5: "NumChannels", then a TCB envelope per channel. Angles in
// radians.
std::string envelopeMotion(const Item& item)
{
    std::string text = "NumChannels " + std::to_string(item.channels.size()) + "\n";
    for (size_t c = 0; c < item.channels.size(); ++c) {
        text += "Channel " + std::to_string(c) + "\n{ Envelope\n  " + std::to_string(item.channels[c].size()) + "\n";
        for (const Key& k : item.channels[c])
            text += "  Key " + number(isAngle(c) ? k.value * kDegree : k.value) + " " + number(k.seconds) + " 0 " +
                    number(k.tension) + " " + number(k.continuity) + " " + number(k.bias) + " 0 0 0\n";
        text += "  Behaviors " + std::to_string(item.pre) + " " + std::to_string(item.post) + "\n}\n";
    }
    return text;
}

// The scene with an object, a light and the camera, laid out as the version
// writes it.
std::string sceneText(int version, const Item& object, const Item& light, const Item& camera)
{
    const bool old = version <= 2;
    const auto motion = [&](const Item& item) { return old ? versionTwoMotion(item) : envelopeMotion(item); };
    std::string text = "LWSC\n" + std::to_string(version) + "\n\nFirstFrame 1\nLastFrame 120\nFrameStep 1\n";
    text += old ? "PreviewFirstFrame 1\nPreviewLastFrame 120\nPreviewFrameStep 1\nFramesPerSecond 30.000000\n\n"
                : "FramesPerSecond 30\n\n";
    text += version >= 4 ? "LoadObjectLayer 1 10000000 Objects/Box.lwo\n" : "LoadObject Objects/Box.lwo\n";
    text += "ShowObject 6 2\nObjectMotion" + std::string(old ? " (unnamed)" : "") + "\n" + motion(object);
    text += "ShadowOptions 7\n\nAmbientColor " + std::string(old ? "255 255 255" : "1 1 1") +
            "\nAmbIntensity 0.25\n\n";
    text += version >= 4 ? "AddLight 20000000\n" : old ? "AddLight\n" : "AddLight\n";
    text += "LightName Light\nShowLight 1 7\nLightMotion" + std::string(old ? " (unnamed)" : "") + "\n" +
            motion(light);
    text += std::string("LightColor ") + (old ? "255 255 255" : "1 1 1") + "\nLgtIntensity 1\nLightType 1\n\n";
    if (!old)
        text += version >= 4 ? "AddCamera 30000000\nCameraName Camera\n" : "AddCamera\nCameraName Camera\n";
    text += "ShowCamera 1 7\nCameraMotion" + std::string(old ? " (unnamed)" : "") + "\n" + motion(camera);
    text += "ZoomFactor 3.2\nResolution 1\n\nSolidBackdrop 1\nBackdropColor 0 0 0\n";
    return text;
}

Item held(size_t channels, float x, float y, float z)
{
    Item item{std::vector<Channel>(channels), 1, 1};
    const float values[9] = {x, y, z, 0, 0, 0, 1, 1, 1};
    for (size_t c = 0; c < channels; ++c)
        item.channels[c] = {{values[c], 0, 0, 0, 0}};
    return item;
}

struct Imported {
    Imported(const LightWaveSceneFolder& folder, const std::string& text)
    {
        record.searchDirectories = {folder.path};
        LW::parseLwsText(text, record);
        scene = convertWithoutUpload(record);
    }
    // Where a point one unit in front of the item is at `seconds`: its
    // place and its heading and pitch together.
    Vector3f front(size_t item, float seconds)
    {
        scene->evaluate(seconds);
        return record.itemNodes.at(item)->world().transformPoint({0, 0, 1});
    }
    CapturingLogger log;
    LW::LwsScene record;
    std::unique_ptr<Scene> scene;
};

} // namespace

TEST(LwsVersionTwo, OneMotionWrittenByThreeLightWavesPutsEveryItemInTheSamePlace)
{
    LightWaveSceneFolder folder("lws_version_two");
    // Curved keys: TCB spans with tension, continuity and bias, the object
    // repeating its motion after the last key.
    Item object = held(9, 0, 0, 0);
    object.channels[0] = {{0, 0, 0, 0, 0}, {10, 1, 0.5f, 0, 0}, {-4, 2, 0, -0.5f, 0.3f}, {6, 3, 0, 0, 0}};
    object.channels[3] = {{0, 0, 0, 0, 0}, {60, 1, 0, 0, 0}, {30, 3, 0, 0, 0}};
    object.post = 2;
    Item light = held(9, -5, 8, 0);
    light.channels[1] = {{8, 0, 0, 0, 0}, {2, 1, -0.4f, 0, 0}, {9, 2, 0, 0, 0}};
    // The camera of LightWave 5.6 has six channels: no scale.
    Item camera = held(6, 0, 2, -20);
    camera.channels[2] = {{-20, 0, 0, 0, 0}, {-5, 2, 0, 0, 0.8f}, {-12, 3, 0, 0, 0}};
    camera.channels[4] = {{0, 0, 0, 0, 0}, {20, 2, 0, 0, 0}, {10, 3, 0, 0, 0}};

    Imported two(folder, sceneText(2, object, light, camera));
    ASSERT_EQ(two.record.items.size(), 3u) << two.log.text;
    for (int version : {3, 5}) {
        SCOPED_TRACE("version " + std::to_string(version));
        Imported later(folder, sceneText(version, object, light, camera));
        ASSERT_EQ(later.record.items.size(), 3u) << later.log.text;
        for (size_t item = 0; item < 3; ++item) {
            for (float seconds : {0.0f, 0.4f, 1.0f, 1.3f, 2.5f, 3.0f, 3.6f, 4.5f}) {
                const Vector3f a = two.front(item, seconds), b = later.front(item, seconds);
                EXPECT_NEAR(a.x, b.x, 1e-3f) << "item " << item << " at " << seconds;
                EXPECT_NEAR(a.y, b.y, 1e-3f) << "item " << item << " at " << seconds;
                EXPECT_NEAR(a.z, b.z, 1e-3f) << "item " << item << " at " << seconds;
            }
        }
    }
    // Each item passes through its keys where LightWave shows them; the
    // object starts over after its last key, at 3 s.
    const struct {
        size_t item;
        float seconds;
        Vector3f at;
    } keys[] = {
        {0, 1, {10 + std::sin(60 * kDegree), 0, std::cos(60 * kDegree)}},
        {0, 4, {10 + std::sin(60 * kDegree), 0, std::cos(60 * kDegree)}},
        {1, 1, {-5, 2, 1}},
        {2, 2, {0, 2 - std::sin(20 * kDegree), -5 + std::cos(20 * kDegree)}},
    };
    for (const auto& k : keys) {
        const Vector3f at = two.front(k.item, k.seconds);
        EXPECT_NEAR(at.x, k.at.x, 0.02f) << "item " << k.item << " at " << k.seconds;
        EXPECT_NEAR(at.y, k.at.y, 0.02f) << "item " << k.item << " at " << k.seconds;
        EXPECT_NEAR(at.z, k.at.z, 0.02f) << "item " << k.item << " at " << k.seconds;
    }
}

TEST(LwsVersionTwo, LightWaveFiveFogKeepsItsDistances)
{
    const struct {
        const char* name;
        std::string settings;
    } cases[] = {
        {"version 1", "LWSC\n1\n\nFirstFrame 1\nLastFrame 60\nFogType 1\nFogMinDist 12.5\nFogMaxDist 400\n"
                      "FogColor 128 128 128\n"},
        {"version 2", "LWSC\n2\n\nFirstFrame 1\nLastFrame 60\nFogType 2\nFogMinDist 12.5\nFogMaxDist 400\n"
                      "FogColor 128 128 128\n"},
        {"version 3", "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFogType 1\nFogMinDistance 12.5\n"
                      "FogMaxDistance 400\nFogColor 0.5 0.5 0.5\n"},
    };
    for (const auto& c : cases) {
        Parse parse(c.settings);
        ASSERT_EQ(parse.thrown, "") << c.name << parse.log.text;
        std::unique_ptr<Scene> scene = convertWithoutUpload(parse.scene);
        EXPECT_TRUE(scene->fog_enabled) << c.name;
        EXPECT_FLOAT_EQ(scene->fog_start, 12.5f) << c.name;
        EXPECT_FLOAT_EQ(scene->fog_end, 400) << c.name;
    }
}
