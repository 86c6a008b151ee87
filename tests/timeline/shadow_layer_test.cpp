#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "render/mat_lit.h"
#include "tests/timeline/mesh_layer_shapes.h"
#include "timeline/brush_mesh_object.h"
#include "timeline/brush_ombres.h"
#include "timeline/shadow_caster.h"
#include "timeline/shadow_scene.h"
#include "timeline/shadow_volume.h"

namespace {

class ShadowLayerTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        beginShowFrame(0, 0, 0);
    }
    void TearDown() override
    {
        meshManager.release("receiver");
        meshManager.release("caster");
    }
};

// True when the segment from a to b passes through the box lo..hi (slabs).
bool segmentHitsBox(const Vector3f& a, const Vector3f& b, const Vector3f& lo, const Vector3f& hi)
{
    float enter = 0, leave = 1;
    const float from[3] = {a.x, a.y, a.z}, to[3] = {b.x, b.y, b.z};
    const float low[3] = {lo.x, lo.y, lo.z}, high[3] = {hi.x, hi.y, hi.z};
    for (int axis = 0; axis < 3; ++axis) {
        const float d = to[axis] - from[axis];
        if (d == 0) {
            if (from[axis] < low[axis] || from[axis] > high[axis])
                return false;
            continue;
        }
        float t0 = (low[axis] - from[axis]) / d, t1 = (high[axis] - from[axis]) / d;
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave;
}

uint8_t stencilAt(int x, int y)
{
    uint8_t value = 0;
    glReadPixels(x, y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &value);
    return value;
}

} // namespace

TEST_F(ShadowLayerTest, StencilCountsExactlyWhereTheCasterShadowsTheReceiver)
{
    // A plate (top at z = 0) under a small cube, lit from above and aside,
    // seen from straight above.
    const Vector3f plateLo(-4, -4, -0.5f), plateHi(4, 4, 0), cubeLo(-0.5f, -0.5f, 2), cubeHi(0.5f, 0.5f, 3);
    const Vector3f light(3, 1, 10);
    auto plate = boxMesh(plateLo, plateHi);
    auto cube = boxMesh(cubeLo, cubeHi);
    const Camera camera(Vector3f(0, 0, 10), Vector3f(0, 0, 0), Vector3f(0, 1, 0), 1, 100, 1, 0.75f);
    hlv::loadCameraMatrices(camera);

    hlv::Mat_Lit material;
    for (const hlv::MeshPart& part : plate->parts())
        material.render(&camera, &part);
    for (const hlv::MeshPart& part : cube->parts())
        material.render(&camera, &part);
    for (hlv::RobustMesh* mesh : {plate.get(), cube.get()}) {
        hlv::ShadowCaster caster(mesh);
        caster.prepare();
        caster.computeSilhouette(light);
        hlv::ShadowVolume volume;
        volume.build(caster, light);
        volume.render();
    }

    // Walk the plate's top: a point is in shadow when the way to the light
    // crosses the cube. Points the cube hides from the eye, and points so
    // near the shadow's edge that a neighbour differs, are left out.
    auto shadowed = [&](float x, float y) { return segmentHitsBox({x, y, 0}, light, cubeLo, cubeHi); };
    int inShadow = 0, inLight = 0;
    for (float y = -3.5f; y <= 3.5f; y += 0.25f) {
        for (float x = -3.5f; x <= 3.5f; x += 0.25f) {
            const Vector3f p(x, y, 0);
            if (segmentHitsBox(p, camera.eye(), cubeLo, cubeHi))
                continue;
            const bool expected = shadowed(x, y);
            const float m = 0.08f;
            if (shadowed(x - m, y) != expected || shadowed(x + m, y) != expected || shadowed(x, y - m) != expected ||
                shadowed(x, y + m) != expected)
                continue;
            int px, py;
            pixelOf(camera, p, px, py);
            EXPECT_EQ(stencilAt(px, py) != 0, expected) << "plate point (" << x << ", " << y << ")";
            (expected ? inShadow : inLight)++;
        }
    }
    EXPECT_GT(inShadow, 10);
    EXPECT_GT(inLight, 100);
    int px, py;
    pixelOf(camera, {0, 0, 3}, px, py);
    EXPECT_EQ(stencilAt(px, py), 0) << "the cube's own lit top";
}

TEST_F(ShadowLayerTest, FlyingObjectsComeOutFromFourSeconds)
{
    holdMesh("receiver", boxMesh({-1, -1, -1}, {1, 1, 1}));
    holdMesh("caster", boxMesh({-1, -1, -1}, {1, 1, 1}));
    std::vector<PartDraw> draws;
    RecordingMaterial layerMaterial(0, draws), objectMaterial(1, draws);
    hlv::BrushOmbres brush;
    brush.receiverName = "receiver";
    brush.casterNames = {"caster"};
    brush.materials = {&layerMaterial};
    brush.objectMaterials = {&objectMaterial};

    auto objectDraws = [&] {
        int count = 0;
        for (const PartDraw& draw : draws)
            count += draw.material == 1;
        return count;
    };
    brush.render(4.3f);
    EXPECT_EQ(draws.size(), 2u) << "the receiver, unlit then lit";
    EXPECT_EQ(objectDraws(), 0);
    draws.clear();
    brush.render(4.4f);
    EXPECT_EQ(draws.size(), 4u) << "and object 0, unlit in the layer material, lit in its own";
    EXPECT_EQ(objectDraws(), 1);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(ShadowLayerTest, MissingMeshSkipsTheLayerUntilItIsLoaded)
{
    std::vector<PartDraw> draws;
    RecordingMaterial material(0, draws);
    hlv::BrushOmbres brush;
    brush.receiverName = "receiver";
    brush.casterNames = {"caster"};
    brush.materials = {&material};
    brush.objectMaterials = {&material};
    holdMesh("receiver", boxMesh({-1, -1, -1}, {1, 1, 1}));

    std::srand(7);
    const int firstDraw = std::rand();
    std::srand(7);
    brush.render(10);  // the caster is missing
    EXPECT_EQ(brush.shadowScene(), nullptr);
    EXPECT_TRUE(draws.empty());
    EXPECT_EQ(std::rand(), firstDraw) << "no random draw spent on a failed set-up";

    holdMesh("caster", boxMesh({-1, -1, -1}, {1, 1, 1}));
    brush.render(10);
    EXPECT_NE(brush.shadowScene(), nullptr);
    EXPECT_FALSE(draws.empty());

    draws.clear();
    meshManager.release("caster");
    brush.render(10.1f);
    EXPECT_TRUE(draws.empty()) << "a released mesh is not drawn from a stale pointer";
}
