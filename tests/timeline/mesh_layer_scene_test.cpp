#include <gtest/gtest.h>

#include "resources/scene_manager.h"
#include "scene/scene.h"
#include "tests/timeline/mesh_layer_shapes.h"
#include "timeline/brush_mesh_in_scene.h"

namespace {

class MeshInSceneTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        beginShowFrame(0, 0, 0);
        brush.sceneName = "demo\\mosquee.hlv";
        brush.meshName = "demo\\Mosquee\\volum2OK.lwo";
    }
    void TearDown() override
    {
        sceneManager.release(brush.sceneName.c_str());
        meshManager.release(brush.meshName.c_str());
    }

    // A held scene whose current camera is `camera` (or none when null).
    void holdScene(Camera* sceneCamera)
    {
        auto* scene = new Scene;
        if (sceneCamera) {
            scene->add_camera(sceneCamera);
            scene->set_pending_camera(0);
            scene->draw();  // takes the pending camera; there is nothing else to draw
        }
        auto* entry = new SceneEntry;
        entry->scene = scene;
        sceneManager.add(brush.sceneName.c_str(), entry);
    }

    // Five parts: one triangle per surface id.
    void holdFivePartMesh()
    {
        std::vector<Vector3f> points;
        std::vector<Tri> triangles;
        for (uint32_t part = 0; part < 5; ++part) {
            points.insert(points.end(), {{float(part), 0, 0}, {part + 1.0f, 0, 0}, {float(part), 1, 0}});
            triangles.push_back({3 * part, 3 * part + 1, 3 * part + 2, part});
        }
        holdMesh(brush.meshName.c_str(), builtMesh(points, triangles, 0));
    }

    hlv::BrushMeshInScene brush;
    std::vector<PartDraw> draws;
    Camera camera{Vector3f(1, 2, 9), Vector3f(0, 1, 0), Vector3f(0, 1, 0), 0.5f, 50, 0.4f, 0.3f};
};

} // namespace

TEST_F(MeshInSceneTest, DrawsEveryPartThroughTheSceneCameraCyclingMaterials)
{
    holdScene(&camera);
    holdFivePartMesh();
    brush.materials = {new RecordingMaterial(0, draws), new RecordingMaterial(1, draws)};
    glDisable(GL_CULL_FACE);
    brush.render(3);

    ASSERT_EQ(draws.size(), 5u);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(draws[i].part, i);
        EXPECT_EQ(draws[i].material, int(i % 2));
    }
    for (int k = 0; k < 16; ++k) {
        EXPECT_FLOAT_EQ(draws[0].projection[k], camera.projectionMatrix().m[k]) << k;
        EXPECT_FLOAT_EQ(draws[0].modelview[k], camera.viewMatrix().m[k]) << k;
    }
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(MeshInSceneTest, WithoutMaterialsSetsItsStateAndDrawsNothing)
{
    holdScene(&camera);
    holdFivePartMesh();
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_ALWAYS);
    brush.render(0);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
}

TEST_F(MeshInSceneTest, SkipsTheFrameWithoutSceneCameraOrMesh)
{
    brush.materials = {new RecordingMaterial(0, draws)};
    holdFivePartMesh();
    brush.render(0);  // no scene
    holdScene(nullptr);
    brush.render(0);  // a scene without a current camera
    EXPECT_TRUE(draws.empty());

    sceneManager.release(brush.sceneName.c_str());
    holdScene(&camera);
    meshManager.release(brush.meshName.c_str());
    brush.render(0);  // no mesh
    EXPECT_TRUE(draws.empty());
}
