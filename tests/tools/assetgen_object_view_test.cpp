// The title aeroplane drawn by the show's rotating-object layer with the
// intro's material, as the intro shows it: the object fills its rectangle,
// lit, at every turn.
#include <gtest/gtest.h>

#include "render/mat_lit.h"
#include "resources/mesh_manager.h"
#include "scene/scene.h"
#include "tests/tools/assetgen_pack.h"
#include "tests/tools/assetgen_view.h"
#include "timeline/brush_mesh_object.h"

namespace {

class AssetObjectView : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        enterPack();
    }
};

} // namespace

TEST_F(AssetObjectView, TitleCraftFillsItsRectangleLitAtEveryTurn)
{
    const char* name = "demo\\intro\\objet\\pilot.lwo";
    meshManager.load(name, nullptr)->build(hlv::RobustMesh::ComputeNormals);
    hlv::BrushMeshObject brush;
    brush.meshName = name;
    auto* m1 = new hlv::Mat_Lit;
    const float diffuse[4] = {0, 0.3f, 0.7f, 1}, specular[4] = {0.6f, 1, 1, 1};
    std::copy(diffuse, diffuse + 4, m1->diffuse);
    std::copy(specular, specular + 4, m1->specular);
    m1->shininess = 1.0f;
    brush.materials.push_back(m1);
    for (int c : {2, 3})
        brush.channels[c].addKey(0, 1);
    brush.angles[0].addKey(0, 0).addKey(2, 110).addKey(4, 493);
    brush.angles[1].addKey(0, 0).addKey(2, 124).addKey(4, 561);
    Scene empty;  // only for the frame statistics' backdrop colour
    for (float t : {0.0f, 1.0f, 2.5f}) {
        glViewport(0, 0, 800, 600);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        brush.render(t);
        FrameStats stats = frameStats(empty, "pilot-t" + std::to_string(int(t * 10)));
        EXPECT_LT(stats.backdropShare, 0.95) << "the craft covers part of the screen at " << t;
        EXPECT_GT(stats.backdropShare, 0.3) << "the craft stays inside the screen at " << t;
    }
    meshManager.release(name);
}
