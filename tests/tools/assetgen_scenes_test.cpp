// The generated scene files read back through the show's own reader with
// the cameras the show draws through, and every camera shows a lit,
// structured picture at the times the show uses it.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "geometry/nmesh.h"
#include "geometry/robust_mesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "math/camera.h"
#include "scene/transform_node.h"
#include "tests/support/run_program.h"
#include "import/lwo2_loader.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tests/tools/assetgen_pack.h"
#include "tests/tools/assetgen_view.h"

namespace {

class AssetScenes : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        enterPack();
    }
};

struct SceneUse {
    const char* name;
    size_t cameras;           // cameras the show draws through
    std::vector<float> times;  // local times to look at
};

const std::vector<SceneUse>& sceneUses()
{
    static const std::vector<SceneUse> uses = {
        {"demo\\mosquee.hlv", 1, {0.5f, 8.0f, 15.0f, 24.0f, 32.0f}},
        {"demo\\cubes.hlv", 1, {0.4f, 6.0f, 12.0f, 18.0f}},
        {"demo\\metaballs.hlv", 1, {1.0f, 9.0f, 20.0f, 31.0f}},
        {"demo\\Davudare.hlv", 2, {0.5f, 12.0f, 25.0f, 38.0f}},
        // The end scene runs as long as the show does.
        {"demo\\fin2.hlv", 4, {0.0f, 30.0f, 75.0f, 500.0f}},
    };
    return uses;
}

std::string fileStem(const char* resource)
{
    std::string name = resource;
    name = name.substr(name.rfind('\\') + 1);
    return name.substr(0, name.find('.'));
}

} // namespace

TEST_F(AssetScenes, EveryCameraShowsAStructuredPicture)
{
    std::vector<std::unique_ptr<hlv::RobustMesh>> shafts;
    std::vector<hlv::RobustMesh*> shaftPointers;
    for (const char* name : {"demo\\Mosquee\\volum1OK2.lwo", "demo\\Mosquee\\volum1OK2sym.lwo", "demo\\Mosquee\\volum2OK.lwo",
                             "demo\\Mosquee\\volum2OKsym.lwo", "demo\\Mosquee\\volum3OK.lwo", "demo\\Mosquee\\volum3OKsym.lwo",
                             "demo\\Mosquee\\volumPlaf.lwo", "demo\\Mosquee\\volumPlaf-sym.lwo"}) {
        shafts.emplace_back(loadLWO2(name, nullptr));
        shafts.back()->build(0);
        shaftPointers.push_back(shafts.back().get());
    }
    for (const SceneUse& use : sceneUses()) {
        std::unique_ptr<Scene> scene(load_scene(use.name));
        ASSERT_GE(scene->cameras().size(), use.cameras) << use.name;
        bool hall = std::string(use.name) == "demo\\mosquee.hlv";
        for (size_t camera = 0; camera < use.cameras; ++camera)
            for (float t : use.times) {
                drawSceneFrame(*scene, int(camera), t, hall ? shaftPointers : std::vector<hlv::RobustMesh*>{});
                std::string label = fileStem(use.name) + "-cam" + std::to_string(camera) + "-t" + std::to_string(int(t * 10));
                FrameStats stats = frameStats(*scene, label);
                EXPECT_GT(stats.mean, 12.0) << label << " is nearly black";
                EXPECT_LT(stats.mean, 235.0) << label << " is washed out";
                EXPECT_GT(stats.deviation, 10.0) << label << " is flat";
                EXPECT_LT(stats.backdropShare, 0.6) << label << " shows mostly backdrop";
            }
    }
}

TEST_F(AssetScenes, TogetherTheScenesUseEveryStoredForm)
{
    std::set<int> surfaceKinds;
    std::set<std::string> elementClasses, handlerClasses;
    bool fog = false;
    size_t textures = 0, embeddedFiles = 0;
    for (const SceneUse& use : sceneUses()) {
        std::unique_ptr<Scene> scene(load_scene(use.name));
        for (const Surface* surface : scene->surfaces())
            surfaceKinds.insert(surface->kind);
        for (const Primitive* primitive : scene->primitives())
            if (const auto* mesh = dynamic_cast<const NMesh*>(primitive))
                for (const UniSurfaceMesh* element : mesh->elements)
                    elementClasses.insert(element->class_name());
        for (const SceneNode* node : scene->nodes())
            if (const auto* transform = dynamic_cast<const TransformNode*>(node))
                for (const TransformNode::KeyframeHandler* handler : {&transform->rotation(), &transform->scale(), &transform->position()})
                    handlerClasses.insert(handler->class_name());
        fog = fog || scene->fog_enabled;
        EXPECT_FALSE(scene->backdrop[0] == 0 && scene->backdrop[1] == 0 && scene->backdrop[2] == 0) << use.name;
        textures += scene->textures().size();
        // A texture stored as its picture file keeps the file's name and its JPEG bytes.
        const std::string bytes = readWholeFile(use.name == std::string("demo\\mosquee.hlv") ? "demo/mosquee.hlv" : "");
        for (size_t at = bytes.find(".jpg"); at != std::string::npos; at = bytes.find(".jpg", at + 1))
            embeddedFiles += bytes.find("\xFF\xD8\xFF", at) < at + 16 ? 1 : 0;
    }
    EXPECT_EQ(surfaceKinds, (std::set<int>{Surface::Plain, Surface::Textured, Surface::TexturedDetail}));
    EXPECT_EQ(elementClasses, (std::set<std::string>{"class UniSurfaceMesh_Point", "class UniSurfaceMesh_PointUV",
                                                     "class UniSurfaceMesh_PointUV2", "class UniSurfaceMesh_PointNormal"}));
    EXPECT_EQ(handlerClasses, (std::set<std::string>{"class ConstantKeyframeHandler", "class LW5KeyframeHandler",
                                                     "class LW6KeyframeHandler"}));
    EXPECT_TRUE(fog);
    EXPECT_GE(embeddedFiles, 1u);
    EXPECT_GT(textures, embeddedFiles);  // the rest are stored as raw pixels
}

TEST_F(AssetScenes, CamerasAreTheOnesTheShowExpectsAndTheEndNeverStops)
{
    // The landscape's camera 0 is the flight down the valley (it starts far
    // out on -X); camera 1 stands low near the lake.
    std::unique_ptr<Scene> land(load_scene("demo\\Davudare.hlv"));
    land->evaluate(0);
    EXPECT_LT(land->cameras()[0]->eye().x, -60.0f);
    EXPECT_LT(land->cameras()[1]->eye().y, 20.0f);
    // The end scene still moves long after its keys, every camera on its own path.
    std::unique_ptr<Scene> end(load_scene("demo\\fin2.hlv"));
    std::vector<Vector3f> at500, at507;
    end->evaluate(500);
    for (const Camera* camera : end->cameras())
        at500.push_back(camera->eye());
    end->evaluate(507);
    for (const Camera* camera : end->cameras())
        at507.push_back(camera->eye());
    for (size_t i = 0; i < at500.size(); ++i) {
        EXPECT_GT((at507[i] - at500[i]).length(), 1.0f) << "camera " << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_GT((at500[i] - at500[j]).length(), 5.0f) << "cameras " << i << " and " << j;
    }
}
