#include "tools/hlvtool/clip_distances.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "math/camera.h"
#include "geometry/primitive.h"
#include "scene/scene.h"
#include "scene/shape_node.h"

namespace hlvtool {

namespace {

// Depth precision: a 24-bit depth buffer keeps near and far this far apart
// without the surfaces of a model fighting.
constexpr float kDepthRange = 1.0e5f;

// Every item's box corners in the world, one group of eight per item.
std::vector<std::vector<Vector3f>> worldCorners(const Scene& scene)
{
    std::vector<std::vector<Vector3f>> items;
    for (const SceneNode* node : scene.nodes()) {
        const auto* shape = dynamic_cast<const ShapeNode*>(node);
        if (!shape || shape->primitive_index < 0 || size_t(shape->primitive_index) >= scene.primitives().size())
            continue;
        const BoundingBox& box = scene.primitives()[size_t(shape->primitive_index)]->box;
        if (box.empty)
            continue;
        std::vector<Vector3f> corners;
        for (int i = 0; i < 8; ++i)
            corners.push_back(node->world().transformPoint(
                {i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y, i & 4 ? box.max.z : box.min.z}));
        items.push_back(std::move(corners));
    }
    return items;
}

} // namespace

ClipSettings clipSettingsOf(const std::string& lightWaveScenePath)
{
    ClipSettings settings;
    std::ifstream file(lightWaveScenePath);
    for (std::string word; file >> word;) {
        settings.nearSet |= word == "NearClipDistance";
        settings.farSet |= word == "HL_FarClipDistance";
    }
    return settings;
}

std::string fitClipDistances(Scene& scene, int cameraIndex, float seconds, const ClipSettings& settings)
{
    if (cameraIndex < 0 || size_t(cameraIndex) >= scene.cameras().size())
        return {};
    scene.evaluate(seconds);
    Camera& camera = *scene.cameras()[size_t(cameraIndex)];
    const std::vector<std::vector<Vector3f>> items = worldCorners(scene);
    if (items.empty())
        return {};
    float nearest = -1, farthest = 0;
    for (const std::vector<Vector3f>& corners : items) {
        float itemNear = 0, itemFar = 0;
        bool first = true;
        for (const Vector3f& corner : corners) {
            const float depth = dot(corner - camera.eye(), camera.forward());
            itemNear = first ? depth : std::min(itemNear, depth);
            itemFar = first ? depth : std::max(itemFar, depth);
            first = false;
        }
        if (itemFar <= 0)
            continue;  // behind the camera
        farthest = std::max(farthest, itemFar);
        const float front = std::max(itemNear, 0.0f);
        nearest = nearest < 0 ? front : std::min(nearest, front);
    }
    if (farthest > 0) {
        float far = settings.farSet ? camera.farDistance() : farthest * 1.05f;
        if (!settings.nearSet) {
            // Half the nearest item's distance, no nearer than the depth
            // buffer allows for the farthest.
            const float near = std::max(nearest * 0.5f, far / kDepthRange);
            const float scale = near / camera.nearDistance();
            camera.setHalfWidth(camera.halfWidth() * scale);
            camera.setHalfHeight(camera.halfHeight() * scale);
            camera.setNear(near);
        }
        if (!settings.farSet)
            camera.setFar(std::max(far, camera.nearDistance() * 2));
    }
    for (const std::vector<Vector3f>& corners : items)
        if (!camera.clipVolume().ArePointsOutside(corners))
            return {};
    char text[128];
    std::snprintf(text, sizeof text, "every item lies outside camera %d's view at %g s: the picture shows none",
                  cameraIndex, double(seconds));
    return text;
}

} // namespace hlvtool
