#pragma once
// What a LightWave scene file describes, as the scene importer reads it:
// the frame range, the items with their motion, backdrop and fog. Objects
// read for it add their surfaces to the same record. Values are kept in the
// file's own units (rotations in degrees up to version 2, in radians from
// version 3); the conversion turns them into the scene nodes' units.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "import/lw_scene.h"
#include "math/envelope.h"
#include "scene/hermite_spline.h"

class TransformNode;

namespace LW {

struct LwsScene : Scene {
    enum class ItemKind { Mesh, Null, Camera, Light };

    // Version-1 and 2 "EndBehavior": what the motion does after its last key.
    enum EndBehaviour { EndReset = 0, EndStop = 1, EndRepeat = 2 };

    // One item of the scene; its motion channels are position (0-2),
    // heading, pitch, bank (3-5) and scale (6-8), as many as the item kind has.
    struct Object {
        explicit Object(ItemKind kind) : kind(kind) {}
        virtual ~Object() = default;
        ItemKind kind;
        std::string name;  // "CameraName", "LightName", the null's name; empty when the file gives none
        // Versions 4 and 5 give each item its id where they add it.
        bool hasId = false;
        unsigned itemId = 0;
        // "ParentItem": the item type in the top four bits (1 object,
        // 2 light, 3 camera, 4 bone; 0 any item) and its number in the low 16.
        bool hasParent = false;
        unsigned parentItem = 0;
        // "TargetItem": the item it keeps pointed at, numbered as parentItem.
        bool hasTarget = false;
        unsigned targetItem = 0;
        // The lines of those keywords, for the conversion's messages.
        int parentLine = 0, targetLine = 0;
        std::vector<Envelope> channels;
        // Versions 1 and 2: one control point per key, all channels at once;
        // the rotation points hold (heading, pitch, bank).
        std::vector<HermiteInterpolator::Ctrl> lw5Position, lw5Rotation, lw5Scale;
        bool lw5Motion = false;
        int lw5EndBehaviour = EndStop;
    };
    // An object of the scene: a layer of an object file, or a null.
    struct ObjectItem : Object {
        explicit ObjectItem(ItemKind kind) : Object(kind) {}
        Vector3f pivot{0, 0, 0};  // "PivotPoint", later "PivotPosition"
        bool hasPivot = false;
        Vector3f pivotRotation{0, 0, 0};  // "PivotRotation": heading, pitch, bank
        // "ObjectDissolve": 0 drawn whole, 1 gone, an envelope over time.
        Envelope dissolve{0.0f};
    };
    struct Mesh : ObjectItem {
        Mesh() : ObjectItem(ItemKind::Mesh) {}
        std::string path;
        uint32_t layer = 0;  // "LoadObjectLayer" counts from 1; 0 is the whole object ("LoadObject")
        // "SubPatchLevel display render": how often its SubPatch polygons
        // are subdivided when rendered (LightWave's default 3).
        uint32_t subdivisionLevel = 3;
    };
    struct Null : ObjectItem {
        Null() : ObjectItem(ItemKind::Null) {}
    };
    struct Camera : Object {
        Camera() : Object(ItemKind::Camera) {}
        float zoomFactor = 1.0f;
        float nearClip = 1.0f;
        float farClip = 2500.0f;
    };
    struct Light : Object {
        Light() : Object(ItemKind::Light) {}
        // "LightType" as LightWave numbers it; 3 and 4 from LightWave 6 on.
        enum Type { Distant = 0, Point = 1, Spot = 2, Linear = 3, Area = 4 };
        // A light that gives no type is LightWave's first light: distant.
        int type = Distant;
        float colour[3] = {1, 1, 1};  // "LightColor", 0 to 1
        float intensity = 1;          // "LightIntensity" ("LgtIntensity" up to version 2), 1 is 100%
        float coneAngle = 30;         // "ConeAngle", degrees from the axis to the cone's edge
        float edgeAngle = 5;          // "EdgeAngle", degrees of soft edge inside the cone
    };

    // A file the scene needs, as the scene names it, and where it was found
    // (empty when it was not).
    struct FileUse {
        std::string written;
        std::string neededBy;
        std::string found;
        std::string problem;  // why a file found cannot be used ("cannot be decoded"); empty when it can
    };

    int version = 3;
    // The folder of the scene file: the content directory is it or one above it.
    std::string sceneFolder;
    // A file not found fails the import instead of being warned about.
    bool strict = false;
    std::vector<FileUse> files;
    std::vector<std::string> convertedObjects;
    int firstFrame = 0;
    int lastFrame = 0;
    float framesPerSecond = 30.0f;
    float backdrop[3] = {0, 0, 0};
    bool fogEnabled = false;
    float fogMinDistance = 0, fogMaxDistance = 0;
    float fogMinAmount = 0, fogMaxAmount = 0;
    float fogColour[3] = {0, 0, 0};
    bool fogTakesBackdrop = false;  // "BackdropFog": the fog is the backdrop's colour
    float ambientColour[3] = {1, 1, 1};  // "AmbientColor"
    float ambientIntensity = 0.05f;      // "AmbientIntensity" ("AmbIntensity" up to version 2)
    // The rendered frame: "FrameSize" (or "CustomSize") in pixels, and the
    // pixels' width over their height ("PixelAspect"; up to version 2 a
    // "PixelAspectRatio" preset, or "CustomPixelRatio").
    int frameWidth = 640, frameHeight = 480;
    float pixelAspect = 1;
    // The frame's width over its height, as it is shown.
    float frameAspect() const
    {
        return frameWidth > 0 && frameHeight > 0 && pixelAspect > 0
                   ? float(frameWidth) * pixelAspect / float(frameHeight)
                   : 4.0f / 3.0f;
    }
    std::vector<std::unique_ptr<Object>> items;
    // Filled by the conversion: the transform node made for each item, in
    // item order (owned by the converted scene).
    std::vector<const TransformNode*> itemNodes;
};

} // namespace LW
