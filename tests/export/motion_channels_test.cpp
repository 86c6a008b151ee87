// Exported motion against the player's own evaluation: translation and
// scale channels read back by glTF's formulas give the keyframe handlers'
// values for every span shape and behaviour, and a node's glTF transform
// (with its pivot child) places points where the node does.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "export/gltf_export.h"
#include "math/envelope.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "tests/export/gltf_sampler.h"

namespace {

using gltf_export::Channel;
using gltf_export::Document;

// Keys of one component with every span of `shape`; each component keys at
// its own times so that the exported channel must split spans.
Envelope* envelope(int shape, int behaviour, float offset)
{
    auto* e = new Envelope;
    const float times[] = {0.5f + offset, 1.1f + offset, 1.4f + offset, 2.0f + offset / 2};
    const float values[] = {1, 4, -2, 3};
    for (int k = 0; k < 4; ++k) {
        Key key;
        key.time = times[k];
        key.value = values[k] + offset;
        key.shape = k == 0 ? Envelope::TCB : shape;
        key.tension = 0.3f;
        key.continuity = -0.4f;
        key.bias = 0.2f;
        // Hermite and Bezier tangents; 2D Bezier handles (time, value).
        const float p[4] = {shape == Envelope::Bezier2D ? -0.1f : 2.5f, shape == Envelope::Bezier2D ? 0.8f : -1.5f,
                            0.15f, 1.2f};
        std::copy(p, p + 4, key.params);
        e->appendKey(key);
    }
    e->preBehaviour = behaviour;
    e->postBehaviour = behaviour;
    return e;
}

// The largest difference between the glTF reading of `channel` and the
// handler over [0, 6] s, leaving out the moments just before a jump that
// the channel spends in a short ramp.
struct Largest {
    double error = 0, time = 0;
};
std::ostream& operator<<(std::ostream& out, const Largest& l) { return out << l.error << " at " << l.time << " s"; }
bool operator<(const Largest& l, double tolerance) { return l.error < tolerance; }

Largest largestError(const TransformNode::KeyframeHandler& handler, const Channel& channel, double zSign)
{
    Largest worst;
    for (double t = 0; t <= 6; t += 0.00731) {
        bool nearKey = false;
        for (float key : channel.times)
            nearKey = nearKey || (key > t && key - t < 1e-3);
        if (nearKey)
            continue;
        Vector3f expected;
        handler.evaluate(expected, float(t));
        const std::vector<float> got = sampleChannel(channel, float(t));
        const double error = std::max({double(std::fabs(got[0] - expected.x)), double(std::fabs(got[1] - expected.y)),
                                       std::fabs(got[2] - zSign * expected.z)});
        if (error > worst.error)
            worst = {error, t};
    }
    return worst;
}

// p <- T R S p, the quaternion applied as v + 2w (r x v) + 2 r x (r x v).
void applyNode(const gltf_export::Node& n, double (&p)[3])
{
    for (int c = 0; c < 3; ++c)
        p[c] *= n.scale[c];
    const double qx = n.rotation[0], qy = n.rotation[1], qz = n.rotation[2], qw = n.rotation[3];
    const double c1[3] = {qy * p[2] - qz * p[1], qz * p[0] - qx * p[2], qx * p[1] - qy * p[0]};
    const double c2[3] = {qy * c1[2] - qz * c1[1], qz * c1[0] - qx * c1[2], qx * c1[1] - qy * c1[0]};
    for (int c = 0; c < 3; ++c)
        p[c] += 2 * (qw * c1[c] + c2[c]) + n.translation[c];
}

// The channels of one node's motion over [0, last] s.
Document motionOf(const TransformNode& node, float last)
{
    Document document;
    document.nodes.emplace_back();
    gltf_export::TimeRange range;
    range.last = last;
    gltf_export::addMotion(document, 0, node, range);
    return document;
}

const char* const kShapes[] = {"TCB", "Hermite", "Bezier", "linear", "stepped", "2D Bezier"};
const char* const kBehaviours[] = {"reset", "constant", "repeat", "oscillate", "offset", "linear"};

TEST(ExportMotion, TranslationCurvesOfEveryShapeAndBehaviour)
{
    for (int shape = 0; shape < 6; ++shape) {
        for (int behaviour = 0; behaviour < 6; ++behaviour) {
            TransformNode node;
            node.set_position(new LW6KeyframeHandler(envelope(shape, behaviour, 0), envelope(shape, behaviour, 0.2f),
                                                     envelope(shape, behaviour, 0.35f)));
            const Document document = motionOf(node, 6);
            ASSERT_EQ(document.channels.size(), 1u) << kShapes[shape] << ", " << kBehaviours[behaviour];
            const Channel& channel = document.channels[0];
            // A 2D Bezier span is no cubic of time; it is cut into cubic
            // pieces. The player finds its curve parameter only to 0.0001 s,
            // which at these slopes (up to 35 per second) is 0.0035.
            const double tolerance = shape == Envelope::Bezier2D ? 5e-3 : 2e-5;
            EXPECT_LT(largestError(node.position(), channel, -1), tolerance)
                << kShapes[shape] << " spans, " << kBehaviours[behaviour] << " behaviour";
            const Channel::Interpolation expected = shape == Envelope::Linear    ? Channel::Linear
                                                    : shape == Envelope::Stepped ? Channel::Step
                                                                                 : Channel::CubicSpline;
            if (behaviour == Envelope::Constant) {
                EXPECT_EQ(channel.interpolation, expected) << kShapes[shape];
            }
        }
    }
}

// Version-1 motion: one spline through vector points, repeating over its
// loop length, before its first point running on along its first span.
TEST(ExportMotion, Lw5SplinesWithLoopsAndLinearSpans)
{
    std::vector<HermiteInterpolator::Ctrl> points(4);
    const float times[] = {0.2f, 1.0f, 1.3f, 2.5f};
    for (int k = 0; k < 4; ++k) {
        points[size_t(k)].time = times[k];
        points[size_t(k)].value = {float(k * k), float(3 - k), k % 2 ? 1.5f : -0.5f};
        points[size_t(k)].tension = 0.2f * float(k) - 0.3f;
        points[size_t(k)].continuity = 0.1f;
        points[size_t(k)].bias = -0.25f;
        points[size_t(k)].linear = k == 2;
    }
    for (float loop : {0.0f, 2.5f, 3.0f}) {
        TransformNode node;
        node.set_scale(new LW5KeyframeHandler(points, loop));
        const Document document = motionOf(node, 6);
        ASSERT_EQ(document.channels.size(), 1u);
        EXPECT_EQ(document.channels[0].path, Channel::Scale);
        EXPECT_LT(largestError(node.scale(), document.channels[0], 1), 2e-5) << "loop " << loop;
    }
}

// Kochanek-Bartels by hand: keys (0 s, 0), (1 s, 10; tension 0.5,
// continuity -0.5, bias 0.25), (3 s, 4), (3.5 s, 6).
// At 0.25 s (first span, w = 0.25): the first key's tangent is the chord,
// 10; the second key's incoming tangent is ((4 - 10) 0.1875 + 10 0.9375) / 3
// = 2.75; Hermite: 0.15625 * 10 + 0.140625 * 10 - 0.046875 * 2.75 = 2.83984375.
// At 2 s (w = 0.5): outgoing (10 0.3125 - 6 0.5625) 2/3 = -1/6, incoming
// (2 - 6) 2/2.5 = -3.2; 0.5 * 10 + 0.5 * 4 + 0.125 (-1/6) - 0.125 (-3.2) = 7.3791667.
TEST(ExportMotion, Lw5KeysWithTensionContinuityBiasByHand)
{
    std::vector<HermiteInterpolator::Ctrl> points(4);
    const float times[] = {0, 1, 3, 3.5f}, values[] = {0, 10, 4, 6};
    for (size_t k = 0; k < 4; ++k) {
        points[k].time = times[k];
        points[k].value = {values[k], 0, 0};
    }
    points[1].tension = 0.5f;
    points[1].continuity = -0.5f;
    points[1].bias = 0.25f;
    const HermiteInterpolator spline(points, 0);
    EXPECT_NEAR(spline.evaluate(0.25f).x, 2.83984375, 1e-5);
    EXPECT_NEAR(spline.evaluate(2.0f).x, 7.3791667, 1e-5);

    TransformNode node;
    node.set_position(new LW5KeyframeHandler(points, 0));
    const Document document = motionOf(node, 4);
    ASSERT_EQ(document.channels.size(), 1u);
    EXPECT_NEAR(sampleChannel(document.channels[0], 0.25f)[0], 2.83984375, 1e-5);
    EXPECT_NEAR(sampleChannel(document.channels[0], 2.0f)[0], 7.3791667, 1e-5);
}

// A point through T · RotY(h) · RotX(p) · RotZ(b) · S · (q - pivot), the
// rotations written out here as the nodes define them, against the node
// and against the exported node with its pivot child (in glTF axes).
TEST(ExportMotion, TransformCompositionOrderWithEveryPartNonZero)
{
    const Vector3f t(1, -2, 3), s(2, 0.5f, 1.5f), pivot(0.4f, -0.3f, 0.7f), q(0.9f, 1.3f, -0.6f);
    const float pitch = 20, heading = 35, bank = -50;  // node degrees
    TransformNode node;
    node.set_position(new ConstantKeyframeHandler(t));
    node.set_rotation(new ConstantKeyframeHandler({pitch, heading, bank}));
    node.set_scale(new ConstantKeyframeHandler(s));
    node.set_pivot(pivot);

    const double d = M_PI / 180;
    Vector3f v((q.x - pivot.x) * s.x, (q.y - pivot.y) * s.y, (q.z - pivot.z) * s.z);
    auto turn = [](double a, double& u, double& w) {  // (u, w) -> (u cos a - w sin a, u sin a + w cos a)
        const double nu = u * std::cos(a) - w * std::sin(a), nw = u * std::sin(a) + w * std::cos(a);
        u = nu;
        w = nw;
    };
    double x = v.x, y = v.y, z = v.z;
    turn(-bank * d, x, y);    // RotZ: rows (c s; -s c) on (x, y)
    turn(pitch * d, y, z);    // RotX: rows (c -s; s c) on (y, z)
    turn(heading * d, x, z);  // RotY: rows (c -s; s c) on (x, z)
    const Vector3f expected(float(x + t.x), float(y + t.y), float(z + t.z));

    Matrix44 world;
    node.compute_world(0, Matrix44(), world);
    const Vector3f placed = world.transformPoint(q);
    EXPECT_NEAR(placed.x, expected.x, 1e-5);
    EXPECT_NEAR(placed.y, expected.y, 1e-5);
    EXPECT_NEAR(placed.z, expected.z, 1e-5);

    // glTF: the node made for it and its pivot child, composed as glTF does.
    Scene scene;
    auto* root = new TransformNode;
    scene.add_node(root);
    scene.set_root(root);
    auto* item = new TransformNode;
    item->set_position(new ConstantKeyframeHandler(t));
    item->set_rotation(new ConstantKeyframeHandler({pitch, heading, bank}));
    item->set_scale(new ConstantKeyframeHandler(s));
    item->set_pivot(pivot);
    scene.add_node(item);
    item->attach(root);
    Document document;
    gltf_export::addSceneNodes(document, scene, {}, {}, nullptr);
    ASSERT_EQ(document.nodes.size(), 3u);  // the root, the item, its pivot
    EXPECT_TRUE(document.channels.empty());
    EXPECT_EQ(document.nodes[2].parent, 1);
    double r[3] = {q.x, q.y, -q.z};
    for (int k = 2; k >= 0; --k)
        applyNode(document.nodes[size_t(k)], r);
    EXPECT_NEAR(r[0], expected.x, 1e-5);
    EXPECT_NEAR(r[1], expected.y, 1e-5);
    EXPECT_NEAR(r[2], -expected.z, 1e-5);
}

} // namespace
