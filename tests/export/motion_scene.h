#pragma once
// The export tests' LightWave scene: every span shape, all six behaviours,
// pivots, parents with scale, a targeted camera on a turning rig and a light, as
// LightWave 6 writes them (frames 0 to 120 at 30 per second).
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/export/lws_writer.h"

inline std::string motionSceneText()
{
    using lwsgen::Channel;
    using lwsgen::Item;
    using lwsgen::Key;
    auto keys = [](std::vector<Key> list, int pre = 1, int post = 1) {
        Channel c;
        c.keys = std::move(list);
        c.pre = pre;
        c.post = post;
        return c;
    };
    auto hex = [](unsigned type, unsigned number) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", type << 28 | number);
        return std::string(text);
    };
    std::vector<Item> items;

    Item box;  // uneven TCB keys with tension, continuity and bias, repeating; a pivot
    box.add = "LoadObjectLayer 1 Objects/Box.lwo";
    box.channels[0] = keys({{0, 0}, {10, 0.5f, 0, 0.3f, -0.2f, 0.4f}, {-5, 1.6f, 0, -0.5f, 0.6f, -0.3f}, {4, 2}}, 1, 2);
    box.channels[1] = keys({{0, 0, 1, 0, 0, 0, {0, 8}}, {6, 1.2f, 1, 0, 0, 0, {-3, 2}}, {1, 2, 1, 0, 0, 0, {4, 0}}}, 1, 3);
    box.channels[2] = keys({{5, 0.1f, 3}, {9, 1, 3}, {2, 1.9f, 3}}, 5, 5);
    box.channels[3] = keys({{0, 0}, {1.5f, 2}});
    box.after = "PivotPosition 1 0.5 -2\n";
    items.push_back(box);

    for (int b = 0; b < 6; ++b) {  // each behaviour before the first key and after the last
        Item null;
        null.add = "AddNullObject Behaviour" + std::to_string(b);
        null.channels[0] = keys({{0, 0.3f}, {5, 0.9f, 0, 0.2f}, {2, 1.5f}}, b, b);
        null.channels[1] = lwsgen::still(10.0f * float(b + 1));
        null.channels[2] = keys({{1, 0.6f, 3}, {-2, 1.2f, 3}}, b, b);
        items.push_back(null);
    }
    for (int s = 0; s < 6; ++s) {  // each span shape, keyed at different times per axis
        Item null;
        null.add = "AddNullObject Shape" + std::to_string(s);
        for (int c = 0; c < 3; ++c) {
            const float shift = 0.1f * float(c);
            Key a{float(c), 0.2f + shift, s, 0.1f, 0.2f, -0.1f, {0.5f, 3, 0.1f, 0.8f}};
            Key b{4.0f - c, 1.0f + shift, s, -0.3f, 0, 0.5f, {-2, 1, -0.2f, -1}};
            Key d{-1, 1.7f, s, 0, 0, 0, {1, 0, 0.1f, 0.5f}};
            null.channels[c] = keys({a, b, d});
        }
        null.channels[1].keys[0].value += -20.0f - 5.0f * float(s);
        items.push_back(null);
    }

    Item arm;  // turns about its pivot; the hand and finger follow, the hand growing
    arm.add = "AddNullObject Arm";
    arm.channels[1] = lwsgen::still(40);
    arm.channels[3] = keys({{0, 0, 3}, {3.14159f, 2, 3}});
    arm.after = "PivotPosition 2 0 0\n";
    items.push_back(arm);
    const size_t armNumber = items.size() - 1;
    Item hand;
    hand.add = "AddNullObject Hand";
    hand.channels[0] = lwsgen::still(5);
    hand.channels[6] = keys({{1, 0}, {2, 1.5f, 0, 0.5f}});
    hand.channels[7] = keys({{1, 0}, {0.5f, 1.5f}});
    hand.after = "ParentItem " + hex(1, unsigned(armNumber)) + "\n";
    items.push_back(hand);
    Item finger;
    finger.add = "AddNullObject Finger";
    finger.channels[0] = lwsgen::still(2);
    finger.channels[1] = lwsgen::still(1);
    finger.channels[2] = lwsgen::still(-1);
    finger.after = "ParentItem " + hex(1, unsigned(armNumber + 1)) + "\n";
    items.push_back(finger);

    Item rig;  // heading and pitch together: rotations sampled at the frame rate
    rig.add = "AddNullObject Rig";
    rig.channels[0] = keys({{0, 0}, {30, 3}});
    rig.channels[3] = keys({{0, 0}, {1.2f, 3}});
    rig.channels[4] = keys({{0.3f, 0}, {-0.4f, 3}});
    items.push_back(rig);
    Item camera;
    camera.add = "AddCamera";
    camera.motion = "CameraMotion";
    camera.channels[2] = lwsgen::still(-10);
    camera.channels[5] = keys({{0, 0}, {0.5f, 2}});
    // Kept pointed at the first shape null (object item 7) as it moves.
    camera.after = "CameraName Eye\nParentItem " + hex(1, unsigned(items.size() - 1)) + "\nTargetItem " + hex(1, 7) +
                   "\nZoomFactor 2.4\n";
    items.push_back(camera);
    Item light;
    light.add = "AddLight";
    light.motion = "LightMotion";
    light.channels[1] = keys({{10, 0}, {15, 4}});
    light.after = "LightName Sun\n";
    items.push_back(light);
    return lwsgen::sceneV3(items, 0, 120, 30);
}

// Version 1 (LightWave 5): keys with tension, continuity and bias at uneven
// frames, one item repeating, one stopping, one child.
inline std::string version1SceneText()
{
    using lwsgen::Lw5Key;
    auto key = [](int frame, float x, float y, float heading, float t, float c, float b, bool linear = false) {
        Lw5Key k;
        k.frame = frame;
        k.values[0] = x;
        k.values[1] = y;
        k.values[3] = heading;
        k.tension = t;
        k.continuity = c;
        k.bias = b;
        k.linear = linear;
        return k;
    };
    std::string text = "LWSC\n1\n\nFirstFrame 1\nLastFrame 120\nFrameStep 1\nFramesPerSecond 30\n\n";
    text += "AddNullObject Spinner\nShowObject 6 3\n" +
            lwsgen::lw5Motion("ObjectMotion", {key(0, 0, 0, 0, 0, 0, 0), key(7, 4, 1, 40, 0.5f, -0.5f, 0.25f),
                                               key(25, -3, 2, 120, -0.3f, 0.4f, 0), key(32, 1, 0, 200, 0, 0, 0.6f, true)},
                              2);
    text += "\nAddNullObject Rider\nShowObject 6 3\n" +
            lwsgen::lw5Motion("ObjectMotion", {key(0, 3, 0, 0, 0, 0, 0), key(12, 3, 2, 0, 0.2f, 0.2f, -0.2f)}, 1) +
            "ParentObject 1\n";
    text += "\nAddNullObject Drifter\nShowObject 6 3\n" +
            lwsgen::lw5Motion("ObjectMotion", {key(5, 0, 0, 0, 0, 0, 0), key(40, 10, -4, 90, 0.7f, 0, 0),
                                               key(50, 12, -5, 100, 0, 0, 0)},
                              1);
    text += "\nShowCamera 1 2\n" +
            lwsgen::lw5Motion("CameraMotion", {key(0, 0, 0, 0, 0, 0, 0), key(60, 10, 5, 45, 0, 0, 0)}, 1) +
            "ZoomFactor 3.2\n";
    return text;
}

// The edges of a timeline (LightWave 6): frames from -15 (half a second
// before 0), a propeller turning 20 times a second (240 degrees a frame),
// a value reached by a stepped key on the last frame, and one held only at
// the instant of a stepped key that a reset follows.
inline std::string timelineEdgesSceneText()
{
    using lwsgen::Channel;
    using lwsgen::Item;
    using lwsgen::Key;
    auto keys = [](std::vector<Key> list, int post = 1) {
        Channel c;
        c.keys = std::move(list);
        c.post = post;
        return c;
    };
    const int kLinear = 3, kStepped = 4, kReset = 0;
    std::vector<Item> items;
    Item early;  // keyed from before 0
    early.add = "AddNullObject Early";
    early.channels[0] = keys({{-4, -0.5f}, {3, 0.8f}, {1, 2}});
    items.push_back(early);
    Item propeller;
    propeller.add = "AddNullObject Propeller";
    propeller.channels[3] = keys({{0, -0.5f}, {float(2.5 * 20 * 2 * M_PI), 2, kLinear}});
    items.push_back(propeller);
    Item blade;
    blade.add = "AddNullObject Blade";
    blade.channels[0] = lwsgen::still(2);
    blade.after = "ParentItem 10000001\n";
    items.push_back(blade);
    Item last;  // reaches 5 only on the last frame
    last.add = "AddNullObject Last";
    last.channels[0] = keys({{0, 0}, {5, 2, kStepped}});
    items.push_back(last);
    Item flash;  // at 3 only at 1 s
    flash.add = "AddNullObject Flash";
    flash.channels[1] = keys({{0, 0}, {3, 1, kStepped}}, kReset);
    items.push_back(flash);
    return lwsgen::sceneV3(items, -15, 60, 30);
}

// LightWave 5.6 (version 2): per channel its key count and one line per key
// (value, seconds, span 2, tension, continuity, bias), then the channels'
// pre and post behaviours on one line; the camera has six channels, angles
// in degrees. The box drifts, the camera follows and turns towards it.
inline std::string version2SceneText()
{
    struct Key {
        float value, seconds, tension;
    };
    auto motion = [](const std::vector<std::vector<Key>>& channels) {
        std::ostringstream out;
        out << "  " << channels.size() << "\n";
        std::string behaviours = "Pre/PostBehavior";
        for (const auto& channel : channels) {
            out << "  " << channel.size() << "\n";
            for (const Key& k : channel)
                out << "  " << k.value << " " << k.seconds << " 2 " << k.tension << " 0 0\n";
            behaviours += " 1 1";
        }
        return out.str() + behaviours + "\n";
    };
    const std::vector<Key> still0 = {{0, 0, 0}}, still1 = {{1, 0, 0}};
    std::string text = "LWSC\n2\n\nFirstFrame 1\nLastFrame 90\nFrameStep 1\nPreviewFirstFrame 1\n"
                       "PreviewLastFrame 90\nPreviewFrameStep 1\nFramesPerSecond 30.000000\n\n";
    text += "LoadObject Objects/Box.lwo\nShowObject 6 2\nObjectMotion (unnamed)\n" +
            motion({{{0, 0, 0}, {6, 1.5f, 0.3f}, {2, 3, 0}}, {{0, 0, 0}, {3, 3, 0}}, still0, still0, still0, still0, still1,
                    still1, still1});
    text += "\nAmbientColor 255 255 255\nAmbIntensity 0.25\n\nAddLight\nLightName Light\nShowLight 1 7\n"
            "LightMotion (unnamed)\n" +
            motion({still0, {{10, 0, 0}}, {{-10, 0, 0}}, still0, still0, still0, still1, still1, still1});
    text += "LightColor 255 255 255\nLgtIntensity 1\nLightType 1\n\n";
    text += "ShowCamera 1 7\nCameraMotion (unnamed)\n" +
            motion({{{0, 0, 0}, {4, 3, 0}}, {{2, 0, 0}}, {{-12, 0, 0}, {-8, 3, -0.2f}}, {{0, 0, 0}, {20, 3, 0}},
                    {{5, 0, 0}, {-5, 3, 0}}, still0});
    text += "ZoomFactor 3.2\nResolution 1\n\nSolidBackdrop 1\nBackdropColor 0 0 0\n";
    return text;
}
