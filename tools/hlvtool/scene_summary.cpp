#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <map>

#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "math/camera.h"
#include "math/envelope.h"
#include "render/texture_image.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "tools/hlvtool/json_object.h"
#include "tools/hlvtool/summaries.h"

namespace hlvtool {

namespace {

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...)
{
    char text[1024];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

std::string boxText(const BoundingBox& box)
{
    if (box.empty)
        return "empty";
    return format("(%g %g %g) - (%g %g %g)", box.min.x, box.min.y, box.min.z, box.max.x, box.max.y, box.max.z);
}

size_t triangleCount(const Primitive& primitive)
{
    size_t count = 0;
    if (const auto* mesh = dynamic_cast<const NMesh*>(&primitive))
        for (const UniSurfaceMesh* element : mesh->elements)
            count += element->triangle_count;
    return count;
}

// The time of the last key of any motion in the scene.
float lastKeyTime(const TransformNode::KeyframeHandler& handler)
{
    float last = 0;
    if (const auto* lw6 = dynamic_cast<const LW6KeyframeHandler*>(&handler)) {
        for (int c = 0; c < 3; ++c)
            if (const Key* key = lw6->envelope(c).lastKey())
                last = std::max(last, key->time);
    } else if (const auto* lw5 = dynamic_cast<const LW5KeyframeHandler*>(&handler)) {
        if (!lw5->spline.interpolator.points.empty())
            last = std::max(last, lw5->spline.interpolator.points.back().time);
    }
    return last;
}

float animationLength(const Scene& scene)
{
    float length = 0;
    for (const SceneNode* node : scene.nodes())
        if (const auto* transform = dynamic_cast<const TransformNode*>(node))
            length = std::max({length, lastKeyTime(transform->position()), lastKeyTime(transform->rotation()),
                               lastKeyTime(transform->scale())});
    return length;
}

const char* motionKind(const TransformNode::KeyframeHandler& handler)
{
    if (dynamic_cast<const LW6KeyframeHandler*>(&handler))
        return "envelopes";
    if (dynamic_cast<const LW5KeyframeHandler*>(&handler))
        return "spline";
    return "constant";
}

std::string nodeLine(const Scene& scene, const SceneNode& node)
{
    const int number = scene.node_number(&node);
    if (const auto* transform = dynamic_cast<const TransformNode*>(&node))
        return format("#%d transform (position %s, rotation %s, scale %s%s)", number, motionKind(transform->position()),
                      motionKind(transform->rotation()), motionKind(transform->scale()),
                      transform->has_pivot() ? ", pivot" : "");
    if (const auto* camera = dynamic_cast<const CameraNode*>(&node)) {
        const Camera& c = camera->stored_camera();
        return format("#%d camera (near %g, far %g, half-size %g x %g)", number, c.nearDistance(), c.farDistance(),
                      c.halfWidth(), c.halfHeight());
    }
    if (const auto* shape = dynamic_cast<const ShapeNode*>(&node))
        return format("#%d shape (primitive %d)", number, shape->primitive_index);
    return format("#%d %s", number, node.class_name());
}

void appendTree(const Scene& scene, const SceneNode* node, int depth, std::string& out)
{
    for (; node; node = node->next_sibling()) {
        out += std::string(size_t(2 + 2 * depth), ' ') + nodeLine(scene, *node) + "\n";
        // A tree deeper than this is shown cut rather than exhausting the stack.
        if (depth < 200)
            appendTree(scene, node->first_child(), depth + 1, out);
    }
}

std::string surfaceLine(const Scene& scene, const Surface& surface)
{
    auto textureName = [&](int index) {
        const TextureImage* texture = scene.texture(index);
        return texture ? format("%d '%s'", index, texture->name.c_str()) : format("%d (missing)", index);
    };
    std::string line = format("'%s' %s colour (%g %g %g) x %g", surface.name.c_str(), surface.class_name(),
                              surface.colour[0], surface.colour[1], surface.colour[2], surface.colour_factor);
    if (const auto* dif = dynamic_cast<const TexDifSurface*>(&surface))
        line += ", texture " + textureName(dif->texture_index) + ", detail " + textureName(dif->detail_index);
    else if (const auto* textured = dynamic_cast<const TextureSurface*>(&surface))
        line += ", texture " + textureName(textured->texture_index);
    return line;
}

std::vector<JsonObject> fileList(const std::vector<LW::LwsScene::FileUse>& files)
{
    std::vector<JsonObject> list;
    for (const LW::LwsScene::FileUse& file : files) {
        JsonObject entry;
        entry.add("file", file.written).add("needed_by", file.neededBy).add("found", file.found);
        if (!file.problem.empty())
            entry.add("problem", file.problem);
        list.push_back(entry);
    }
    return list;
}

} // namespace

std::string describeScene(Scene& scene, const FrameRange& frames, bool json, const std::vector<LW::LwsScene::FileUse>& files)
{
    scene.evaluate(0);
    size_t triangles = 0;
    for (const Primitive* primitive : scene.primitives())
        triangles += triangleCount(*primitive);
    const size_t nodes = scene.nodes().empty() ? 0 : scene.nodes().size() - 1;
    if (json) {
        JsonObject object;
        object.add("kind", "scene")
            .add("surfaces", scene.surfaces().size())
            .add("textures", scene.textures().size())
            .add("primitives", scene.primitives().size())
            .add("nodes", nodes)
            .add("cameras", scene.cameras().size())
            .add("triangles", triangles)
            .add("animation_seconds", double(animationLength(scene)))
            .add("fog", scene.fog_enabled);
        if (frames.known)
            object.add("first_frame", frames.first).add("last_frame", frames.last)
                .add("frames_per_second", double(frames.framesPerSecond));
        if (!files.empty())
            object.add("files", fileList(files));
        return object.text() + "\n";
    }
    std::string out = "scene\n";
    out += format("  %zu surfaces, %zu textures, %zu primitives, %zu nodes, %zu cameras, %zu triangles\n",
                  scene.surfaces().size(), scene.textures().size(), scene.primitives().size(), nodes,
                  scene.cameras().size(), triangles);
    if (frames.known)
        out += format("  frames %d to %d at %g frames/second\n", frames.first, frames.last, frames.framesPerSecond);
    out += format("  animation: %g seconds of keyed motion\n", animationLength(scene));
    out += format("  backdrop (%g %g %g)", scene.backdrop[0], scene.backdrop[1], scene.backdrop[2]);
    if (scene.fog_enabled)
        out += format(", fog %g to %g colour (%g %g %g)", scene.fog_start, scene.fog_end, scene.fog_colour[0],
                      scene.fog_colour[1], scene.fog_colour[2]);
    if (!files.empty())
        out += "\nfiles";
    for (const LW::LwsScene::FileUse& file : files)
        out += format("\n  '%s' (%s): %s", file.written.c_str(), file.neededBy.c_str(),
                      file.found.empty()           ? "not found"
                      : !file.problem.empty()      ? (file.found + " " + file.problem).c_str()
                                                   : ("found at " + file.found).c_str());
    out += "\ntextures\n";
    for (size_t i = 0; i < scene.textures().size(); ++i) {
        const TextureImage* texture = scene.textures()[i];
        const PixelImage* image = texture->currentImage();
        if (!image)
            image = texture->rgb ? static_cast<const PixelImage*>(texture->rgb.get()) : texture->gray.get();
        out += format("  %zu '%s' %ux%u\n", i, texture->name.c_str(), image ? image->width : 0u,
                      image ? image->height : 0u);
    }
    out += "surfaces\n";
    for (const Surface* surface : scene.surfaces())
        out += "  " + surfaceLine(scene, *surface) + "\n";
    out += "primitives\n";
    for (size_t i = 0; i < scene.primitives().size(); ++i) {
        const Primitive& primitive = *scene.primitives()[i];
        out += format("  %zu %s: %zu parts, %zu triangles, box %s\n", i, primitive.class_name(), primitive.parts.size(),
                      triangleCount(primitive), boxText(primitive.box).c_str());
        for (size_t p = 0; p < primitive.surface_names.size(); ++p)
            out += format("    part %zu: surface '%s'\n", p, primitive.surface_names[p].c_str());
    }
    out += "cameras\n";
    for (size_t i = 0; i < scene.cameras().size(); ++i) {
        const Camera& camera = *scene.cameras()[i];
        out += format("  %zu eye (%g %g %g) looking (%g %g %g)\n", i, camera.eye().x, camera.eye().y, camera.eye().z,
                      camera.forward().x, camera.forward().y, camera.forward().z);
    }
    out += "nodes\n";
    appendTree(scene, scene.root(), 0, out);
    return out;
}

} // namespace hlvtool
