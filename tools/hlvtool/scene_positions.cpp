#include "tools/hlvtool/scene_positions.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "math/camera.h"
#include "scene/scene_file.h"
#include "scene/camera_node.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "scene/transform_node.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/json_object.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/render_frame.h"

namespace hlvtool {

namespace {

std::string itemLabel(const LW::LwsScene::Object& item)
{
    using Kind = LW::LwsScene::ItemKind;
    switch (item.kind) {
    case Kind::Mesh: return "object " + static_cast<const LW::LwsScene::Mesh&>(item).path;
    case Kind::Null: return "null " + item.name;
    // LightWave's own names where the file gives none.
    case Kind::Light: return "light " + (item.name.empty() ? std::string("Light") : item.name);
    case Kind::Camera: return "camera " + (item.name.empty() ? std::string("Camera") : item.name);
    }
    return "";
}

const char* kindOf(const SceneNode& node)
{
    if (dynamic_cast<const TransformNode*>(&node))
        return "transform";
    if (dynamic_cast<const ShapeNode*>(&node))
        return "shape";
    if (dynamic_cast<const CameraNode*>(&node))
        return "camera";
    return node.class_name();
}

std::vector<double> list(const Vector3f& v) { return {v.x, v.y, v.z}; }

std::string text(const Vector3f& v)
{
    char out[96];
    std::snprintf(out, sizeof out, "(%g %g %g)", v.x, v.y, v.z);
    return out;
}

} // namespace

ItemLabels itemLabels(const LW::LwsScene& record)
{
    ItemLabels labels;
    for (size_t i = 0; i < record.itemNodes.size() && i < record.items.size(); ++i)
        labels[record.itemNodes[i]] = itemLabel(*record.items[i]);
    return labels;
}

std::string describePositions(Scene& scene, const ItemLabels& labels, float seconds, bool json)
{
    scene.evaluate(seconds);
    std::vector<JsonObject> nodes;
    char heading[64];
    std::snprintf(heading, sizeof heading, "scene at %g s\n", seconds);
    std::string out = heading;
    for (size_t k = 1; k < scene.nodes().size(); ++k) {
        SceneNode& node = *scene.nodes()[k];
        const int parent = scene.node_number(node.parent());
        const Vector3f position = node.world().transformPoint({0, 0, 0});
        auto label = labels.find(&node);
        JsonObject entry;
        entry.add("number", k).add("kind", kindOf(node)).add("parent", parent).add("world_position", list(position));
        out += "  #" + std::to_string(k) + " " + kindOf(node);
        if (parent > 0)
            out += ", parent #" + std::to_string(parent);
        if (label != labels.end()) {
            entry.add("item", label->second);
            out += ", " + label->second;
        }
        out += " at " + text(position);
        if (auto* camera = dynamic_cast<CameraNode*>(&node)) {
            const Camera& working = camera->working_camera();
            entry.add("eye", list(working.eye())).add("view_direction", list(working.forward()));
            out += ", eye " + text(working.eye()) + " looking " + text(working.forward());
        }
        out += "\n";
        nodes.push_back(entry);
    }
    if (!json)
        return out;
    JsonObject object;
    object.add("kind", "scene").add("time", double(seconds)).add("nodes", nodes);
    return object.text() + "\n";
}

bool describeFileAtTime(const std::string& path, bool lightWave, const std::string& search, float seconds,
                        bool json, std::string& text, std::string& error)
{
    if (lightWave)
        return guardedImport(path, [&] {
            LW::LwsScene record;
            std::unique_ptr<Scene> scene = importLightWaveScene(path, search, record);
            text = describePositions(*scene, itemLabels(record), seconds, json);
        }, error);
    // Reading a scene file uploads its textures: it needs the window.
    if (!openHiddenWindow()) {
        error = noWindowMessage("reading " + path);
        return false;
    }
    return guardedImport(path, [&] {
        std::unique_ptr<Scene> scene(load_scene(path));
        text = describePositions(*scene, {}, seconds, json);
    }, error);
}

} // namespace hlvtool
