// The generated scene files read back through the show's own reader with
// the cameras the show draws through, and every camera shows a lit,
// structured picture at the times the show uses it.
#include <gtest/gtest.h>

#include <memory>

#include "geometry/robust_mesh.h"
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
