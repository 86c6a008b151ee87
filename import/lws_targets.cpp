#include "import/lws_targets.h"

#include <algorithm>
#include <cmath>

#include "import/importer_context.h"
#include "log/logger.h"
#include "math/envelope.h"
#include "math/matrix44.h"
#include "scene/keyframe_handlers.h"
#include "scene/transform_node.h"

namespace LW {

namespace {

// Keys baked for the whole scene: long scenes, or many targeted items, are
// sampled more sparsely rather than given millions of keys.
constexpr long kKeyBudget = 20000;
constexpr float kRadiansToDegrees = 57.2957795131f;

// The node's world matrix at `time`, from its chain of parents.
Matrix44 worldAt(SceneNode* node, float time)
{
    if (!node)
        return Matrix44();
    const Matrix44 parentWorld = worldAt(node->parent(), time);
    Matrix44 world;
    node->compute_world(time, parentWorld, world);
    return world;
}

// `v` in the frame whose 3x3 part is that of `m`: the inverse applied to a
// direction. A singular frame (a zero scale) gives `v` unchanged.
Vector3f intoFrame(const Matrix44& m, const Vector3f& v)
{
    auto a = [&](int r, int c) { return m.at(r, c); };
    const float c00 = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    const float c01 = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
    const float c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const float determinant = a(0, 0) * c00 + a(0, 1) * c01 + a(0, 2) * c02;
    if (!(std::fabs(determinant) > 1e-12f))
        return v;
    // The inverse is the transposed cofactor matrix over the determinant.
    const float inverse[3][3] = {
        {c00, a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2), a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1)},
        {c01, a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0), a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2)},
        {c02, a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1), a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)},
    };
    const float in[3] = {v.x, v.y, v.z};
    float out[3];
    for (int r = 0; r < 3; ++r)
        out[r] = (inverse[r][0] * in[0] + inverse[r][1] * in[1] + inverse[r][2] * in[2]) / determinant;
    return {out[0], out[1], out[2]};
}

Key linearKey(float time, float value)
{
    Key key;
    key.time = time;
    key.value = value;
    key.shape = Envelope::Linear;
    return key;
}

void bakeTarget(TransformNode& item, TransformNode& target, const Vector3f& targetPivot, const LwsScene& scene,
                long maxKeys)
{
    const float fps = scene.framesPerSecond > 0 && std::isfinite(scene.framesPerSecond) ? scene.framesPerSecond : 30.0f;
    const long first = scene.firstFrame;
    const long last = std::max<long>(scene.lastFrame, first);
    const long step = std::max<long>(1, (last - first) / std::max<long>(1, maxKeys - 1) + 1);
    auto* pitch = new Envelope;
    auto* heading = new Envelope;
    auto* bank = new Envelope;
    float previousHeading = 0;
    for (long frame = first;; frame += step) {
        frame = std::min(frame, last);
        const float time = float(frame) / fps;
        Vector3f own, position;
        item.rotation().evaluate(own, time);
        item.position().evaluate(position, time);
        const Matrix44 parentWorld = worldAt(item.parent(), time);
        // The item sits at its position in its parent's frame; its pivot is
        // what the position places.
        const Vector3f at = parentWorld.transformPoint(position);
        const Vector3f goal = worldAt(&target, time).transformPoint(targetPivot);
        const Vector3f d = intoFrame(parentWorld, goal - at);
        // LightWave's heading turns +Z towards +X and a positive pitch looks
        // down; the nodes turn heading the other way (see the conversion).
        float h = -std::atan2(d.x, d.z) * kRadiansToDegrees;
        const float p = std::atan2(-d.y, std::sqrt(d.x * d.x + d.z * d.z)) * kRadiansToDegrees;
        // Keep the heading continuous where atan2 jumps by a full turn.
        if (frame != first) {
            h += 360.0f * std::round((previousHeading - h) / 360.0f);
        }
        previousHeading = h;
        pitch->appendKey(linearKey(time, p));
        heading->appendKey(linearKey(time, h));
        bank->appendKey(linearKey(time, own.z));
        if (frame == last)
            break;
    }
    item.set_rotation(new LW6KeyframeHandler(pitch, heading, bank));
}

Vector3f pivotOf(const LwsScene::Object& item)
{
    const auto* object = dynamic_cast<const LwsScene::ObjectItem*>(&item);
    return object && object->hasPivot ? object->pivot : Vector3f(0, 0, 0);
}

} // namespace

void bakeTargets(const LwsScene& scene, const std::vector<TransformNode*>& transforms, const std::vector<int>& targets)
{
    const long targeted = long(std::count_if(targets.begin(), targets.end(), [](int t) { return t >= 0; }));
    const long maxKeys = std::max<long>(2, kKeyBudget / std::max<long>(1, targeted));
    for (size_t i = 0; i < transforms.size() && i < targets.size(); ++i) {
        if (targets[i] < 0)
            continue;
        if (size_t(targets[i]) == i) {
            hlv::log("\n%s** Warning: item %zu targets itself; its own rotation is kept", indent(), i + 1);
            continue;
        }
        hlv::log("\n%sItem %zu is turned towards item %d at every frame", indent(), i + 1, targets[i] + 1);
        bakeTarget(*transforms[i], *transforms[size_t(targets[i])], pivotOf(*scene.items[size_t(targets[i])]), scene,
                   maxKeys);
    }
}

} // namespace LW
