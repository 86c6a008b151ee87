// The shadow section composed from the pack with the show's own layers: the
// intro sky behind, the sun emblem and its flying casters throwing stencil
// shadows, and the front frame multiplying the whole picture.
#include <gtest/gtest.h>

#include "render/mat_lit.h"
#include "resources/bitmap_manager.h"
#include "geometry/surface.h"
#include "resources/mesh_manager.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tests/tools/assetgen_pack.h"
#include "tests/tools/assetgen_view.h"
#include "timeline/bitmap_brush.h"
#include "timeline/brush_alpha_to_stencil.h"
#include "timeline/brush_backdrop.h"
#include "timeline/brush_frontdrop.h"
#include "timeline/brush_ombres.h"

namespace {

class AssetSectionView : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        enterPack();
    }
};

hlv::Mat_Lit* material(float r, float g, float b)
{
    auto* m = new hlv::Mat_Lit;
    const float diffuse[4] = {r, g, b, 0}, specular[4] = {1, 1, 1, 0};
    std::copy(diffuse, diffuse + 4, m->diffuse);
    std::copy(specular, specular + 4, m->specular);
    m->shininess = 0.9f;
    return m;
}

} // namespace

TEST_F(AssetSectionView, ShadowSectionFramesTheEmblemInTheDawnSky)
{
    BitmapManager::instance().loadPadded("demo\\backs\\1.jpg");
    BitmapManager::instance().loadPadded("demo\\frontdrop.jpg");
    const char* meshes[4] = {"demo\\ombres\\hlv.lwo", "demo\\ombres\\1.lwo", "demo\\ombres\\2.lwo", "demo\\ombres\\3.lwo"};
    for (const char* name : meshes)
        meshManager.load(name, nullptr)->build(3);
    hlv::BrushBackdrop sky;
    sky.bitmapName = "demo\\backs\\1.jpg";
    hlv::BrushFrontdrop frame;
    frame.bitmapName = "demo\\frontdrop.jpg";
    hlv::BrushOmbres shadows;
    shadows.receiverName = meshes[0];
    std::unique_ptr<hlv::Mat_Lit> layer[2] = {std::unique_ptr<hlv::Mat_Lit>(material(175 / 255.f, 225 / 255.f, 157 / 255.f)),
                                               std::unique_ptr<hlv::Mat_Lit>(material(62 / 255.f, 163 / 255.f, 174 / 255.f))};
    std::unique_ptr<hlv::Mat_Lit> pool[3] = {std::unique_ptr<hlv::Mat_Lit>(material(1, 0.91f, 0.78f)),
                                              std::unique_ptr<hlv::Mat_Lit>(material(0.78f, 1, 0.91f)),
                                              std::unique_ptr<hlv::Mat_Lit>(material(0.78f, 0.78f, 1))};
    shadows.materials = {layer[0].get(), layer[1].get()};
    shadows.objectMaterials = {pool[0].get(), pool[1].get(), pool[2].get()};
    shadows.casterNames = {meshes[1], meshes[2], meshes[3]};
    for (int c : {2, 3})
        shadows.channels[c].addKey(0, 1);
    Scene empty;
    for (float t : {6.0f, 20.0f}) {
        glViewport(0, 0, 800, 600);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CW);
        sky.render(t);
        shadows.render(t);
        frame.render(t);
        FrameStats stats = frameStats(empty, "shadows-t" + std::to_string(int(t)));
        EXPECT_GT(stats.mean, 40.0) << t;
        EXPECT_GT(stats.deviation, 20.0) << t;
    }
    for (const char* name : meshes)
        meshManager.release(name);
    BitmapManager::instance().release("demo\\backs\\1.jpg");
    BitmapManager::instance().release("demo\\frontdrop.jpg");
}

TEST_F(AssetSectionView, BalloonAndGreetingsSitBesideEachOtherOverTheBlobs)
{
    BitmapManager::instance().loadWithAlpha("demo\\pupic.jpg", "demo\\pupic_a.jpg");
    BitmapManager::instance().loadAlpha("demo\\greetings.jpg");
    std::unique_ptr<Scene> blobs(load_scene("demo\\metaballs.hlv"));
    hlv::BitmapBrush balloon;
    balloon.bitmapName = "demo\\pupic.jpg";
    balloon.channels[0].addKey(0, -1);
    balloon.channels[1].addKey(0, -1.07f);
    hlv::BitmapBrush greetings;
    greetings.bitmapName = "demo\\greetings.jpg";
    greetings.channels[0].addKey(0, -0.25f);
    greetings.channels[1].addKey(0, -0.75f);
    clearFrame();
    drawSceneView(*blobs, 0, 14.0f, SceneView());
    EndFrame();
    balloon.render(14.0f);
    greetings.render(14.0f);
    FrameStats stats = frameStats(*blobs, "metaballs-section");
    EXPECT_GT(stats.deviation, 20.0);
    // The balloon's middle covers the left of the screen; the greetings' text
    // is light over whatever lies behind it on the right.
    Rgba envelope = readPixel(100, 380);
    EXPECT_GT(int(envelope.r) + envelope.g + envelope.b, 150);
    BitmapManager::instance().release("demo\\pupic.jpg");
    BitmapManager::instance().release("demo\\greetings.jpg");
}

TEST_F(AssetSectionView, LandscapeSecondViewShowsAboveTheSkylineOnly)
{
    BitmapManager::instance().loadAlpha("demo\\cite-alpha.png");
    std::unique_ptr<Scene> land(load_scene("demo\\Davudare.hlv"));
    hlv::BrushAlphaToStencil city;
    city.bitmapName = "demo\\cite-alpha.png";
    city.channels[0].addKey(0, -1);
    city.channels[1].addKey(0, -1);
    clearFrame();
    city.render(5.0f);
    drawSceneView(*land, 0, 5.0f, SceneView());
    SceneView lowerLeft;
    lowerLeft.width = 400;
    lowerLeft.height = 300;
    lowerLeft.fillBackdrop = false;
    lowerLeft.stencilZeroOnly = true;
    drawSceneView(*land, 1, 5.0f, lowerLeft);
    EndFrame();
    FrameStats stats = frameStats(*land, "landscape-section");
    EXPECT_GT(stats.deviation, 20.0);
    BitmapManager::instance().release("demo\\cite-alpha.png");
}
