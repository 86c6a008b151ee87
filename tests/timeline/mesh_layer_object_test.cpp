#include <gtest/gtest.h>

#include "render/mat_lit.h"
#include "tests/timeline/mesh_layer_shapes.h"
#include "timeline/brush_mesh_object.h"

using hlv::BrushMeshObject;

namespace {

class MeshObjectTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        beginShowFrame(0, 0, 1);
        brush.meshName = "object";
        fullScreen();
    }
    void TearDown() override { meshManager.release("object"); }

    void fullScreen() { place(0, 0, 1, 1); }
    void place(float cx, float cy, float w, float h)
    {
        const float values[4] = {cx, cy, w, h};
        for (int i = 0; i < 4; ++i) {
            brush.channels[i].clearKeys();
            brush.channels[i].addKey(0, values[i]);
        }
    }
    void recordWith(int materialCount)
    {
        for (int i = 0; i < materialCount; ++i)
            brush.materials.push_back(new RecordingMaterial(i, draws));
    }

    BrushMeshObject brush;
    std::vector<PartDraw> draws;
};

} // namespace

TEST_F(MeshObjectTest, DrawsThroughTheFittedCamera)
{
    // The box (-2, -1, -1)..(1, 3, 1) gives M = 3: eye (0, 0, 6), near 3, far 15.
    holdMesh("object", boxMesh({-2, -1, -1}, {1, 3, 1}, 0));
    recordWith(1);
    brush.render(0);
    ASSERT_EQ(draws.size(), 1u);
    // Near 3 over half-width 1.5; far 15.
    const float* p = draws[0].projection;
    EXPECT_FLOAT_EQ(p[0], 2.0f);
    EXPECT_FLOAT_EQ(p[5], 2.0f);
    EXPECT_FLOAT_EQ(p[10], -18.0f / 12.0f);
    EXPECT_FLOAT_EQ(p[14], -2.0f * 15 * 3 / 12);
    // Eye at (0, 0, 6): the origin lands 6 in front; X is mirrored.
    const float* v = draws[0].modelview;
    EXPECT_FLOAT_EQ(v[14], -6.0f);
    EXPECT_FLOAT_EQ(v[0], -1.0f);
}

TEST_F(MeshObjectTest, CyclesItsMaterialsOverTheParts)
{
    std::vector<Vector3f> points;
    std::vector<Tri> triangles;
    for (uint32_t part = 0; part < 5; ++part) {
        const float x = float(part);
        points.insert(points.end(), {{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}});
        triangles.push_back({3 * part, 3 * part + 1, 3 * part + 2, part});
    }
    holdMesh("object", builtMesh(points, triangles, 0));
    recordWith(2);
    brush.render(0);
    ASSERT_EQ(draws.size(), 5u);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(draws[i].part, i);
        EXPECT_EQ(draws[i].material, int(i % 2)) << "part " << i;
    }
}

TEST_F(MeshObjectTest, DrawsInItsRectangleAndRestoresTheScreen)
{
    EXPECT_EQ(hlv::layerRectangle(0, 0, 1, 1, 800, 600), (hlv::LayerRect{0, 0, 800, 600}));
    EXPECT_EQ(hlv::layerRectangle(0.5f, 0.5f, 0.5f, 0.5f, 800, 600), (hlv::LayerRect{400, 300, 400, 300}));

    holdMesh("object", boxMesh({-1, -1, -1}, {1, 1, 1}, 0));
    recordWith(1);
    place(0.5f, 0.5f, 0.5f, 0.5f);
    brush.render(0);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(std::vector<GLint>(draws[0].viewport, draws[0].viewport + 4), (std::vector<GLint>{400, 300, 400, 300}));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 800, 600}));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(MeshObjectTest, DepthResetLetsTheObjectOverEarlierGeometry)
{
    // Its front face (z = 0.5) lies behind the near plane (z = 1), so its
    // depth is above the nearest value.
    holdMesh("object", boxMesh({-1, -1, -1}, {1, 1, 0.5f}, 0));
    brush.render(0);  // no materials: state only, nothing drawn
    EXPECT_EQ(readPixel(400, 300).b, 255);

    brush.materials.push_back(new hlv::Mat_Lit);
    // Depth cleared to the nearest value stands for geometry drawn earlier.
    glClearDepth(0);
    glClear(GL_DEPTH_BUFFER_BIT);
    brush.depthReset = 0;
    brush.render(0);
    EXPECT_EQ(readPixel(400, 300).b, 255) << "occluded by the earlier depth";

    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1);
    brush.depthReset = 1;
    brush.render(0);
    const Rgba seen = readPixel(400, 300);
    EXPECT_GT(seen.r, 20);
    EXPECT_EQ(seen.r, seen.b) << "grey object over the blue clear";
}

TEST_F(MeshObjectTest, SkipsTheFrameWhileTheMeshIsNotLoaded)
{
    recordWith(1);
    glViewport(1, 2, 3, 4);
    brush.render(0);
    EXPECT_TRUE(draws.empty());
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 3);
}

// Zoom z moves the fitted camera to (z + 1)M with near zM, and the projection
// is scaled by 1/z; the object turns about X first, then Y, then Z.
TEST_F(MeshObjectTest, ZoomFitsTheCameraAndTheAnglesTurnXThenYThenZ)
{
    holdMesh("object", boxMesh({-2, -1, -1}, {1, 3, 1}, 0));  // M = 3
    recordWith(1);
    brush.zoom.addKey(0, 0.5f);
    brush.angles[0].addKey(0, 90);
    brush.angles[1].addKey(0, 90);
    brush.angles[2].addKey(0, 180);
    brush.render(0);
    ASSERT_EQ(draws.size(), 1u);

    // Near 1.5, far 15, half extents 1.5: near / half-width is 1, times 1/z.
    const float* p = draws[0].projection;
    EXPECT_FLOAT_EQ(p[0], 2.0f);
    EXPECT_FLOAT_EQ(p[5], 2.0f);
    EXPECT_FLOAT_EQ(p[10], -(15 + 1.5f) / (15 - 1.5f));
    EXPECT_FLOAT_EQ(p[11], -1.0f);
    EXPECT_FLOAT_EQ(p[14], -2 * 15 * 1.5f / (15 - 1.5f));

    // The view (X mirrored, the origin 4.5 ahead) times RotZ(180), RotY(90),
    // RotX(90), each turning the right-handed way: X goes by X, then to -Z,
    // stays, and is seen at -Z; Y goes to Z, then X, then -X, seen at X;
    // Z goes to -Y, stays, then Y, seen at Y.
    const float expected[16] = {0, 0, -1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -4.5f, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(draws[0].modelview[i], expected[i], 1e-5f) << "modelview element " << i;
}
