#pragma once
// What a LightWave scene file describes, as the scene importer reads it:
// the frame range, the items with their motion, backdrop and fog. Objects
// read for it add their surfaces to the same record.

#include <memory>
#include <string>
#include <vector>

#include "import/lw_scene.h"
#include "math/envelope.h"
#include "scene/hermite_spline.h"

namespace LW {

struct LwsScene : Scene {
    enum class ItemKind { Mesh, Camera, Light };

    // One item of the scene; its motion channels are position (0-2),
    // heading, pitch, bank (3-5) and scale (6-8), as many as the item kind has.
    struct Object {
        explicit Object(ItemKind kind) : kind(kind) {}
        virtual ~Object() = default;
        ItemKind kind;
        // "ParentItem": the item type in the top four bits (1 object,
        // 2 light, 3 camera; 0 any item) and its number in the low 16.
        bool hasParent = false;
        unsigned parentItem = 0;
        std::vector<Envelope> channels;
        // Version-1 motion: one control point per key, all channels at once.
        std::vector<HermiteInterpolator::Ctrl> lw5Position, lw5Rotation, lw5Scale;
        bool lw5Motion = false;
        bool lw5Repeat = false;  // "EndBehavior 2": the motion loops
    };
    struct Mesh : Object {
        Mesh() : Object(ItemKind::Mesh) {}
        std::string path;
        Vector3f pivot{0, 0, 0};
        bool hasPivot = false;
    };
    struct Camera : Object {
        Camera() : Object(ItemKind::Camera) {}
        float zoomFactor = 1.0f;
        float nearClip = 1.0f;
        float farClip = 2500.0f;
    };
    struct Light : Object {
        Light() : Object(ItemKind::Light) {}
    };

    int version = 3;
    std::vector<std::string> convertedObjects;
    int firstFrame = 0;
    int lastFrame = 0;
    float framesPerSecond = 30.0f;
    float backdrop[3] = {0, 0, 0};
    bool fogEnabled = false;
    float fogMinDistance = 0, fogMaxDistance = 0;
    float fogMinAmount = 0, fogMaxAmount = 0;
    float fogColour[3] = {0, 0, 0};
    std::vector<std::unique_ptr<Object>> items;
};

} // namespace LW
