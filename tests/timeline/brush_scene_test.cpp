#include <gtest/gtest.h>

#include <array>

#include "render/gl_api.h"
#include "resources/bitmap_manager.h"
#include "resources/scene_manager.h"
#include "tests/render/image_test_files.h"
#include "tests/render/material_frame.h"
#include "tests/resources/scene_samples.h"
#include "tests/resources/scene_thread_checks.h"
#include "timeline/brush_alpha_to_stencil.h"
#include "timeline/brush_envelope_zoom_factor.h"
#include "timeline/brush_scene.h"
#include "timeline/scene_events.h"
#include "tools/writers/picture_writer.h"

namespace {

const char* const kSceneName = "demo\\square.hlv";

class BrushSceneTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        auto* scene = new Scene;
        build_orange_square_scene(*scene);
        scene->post_load();
        auto* entry = new SceneEntry;
        entry->scene = scene;
        sceneManager.add(kSceneName, entry);
        brush.sceneName = kSceneName;
    }
    void TearDown() override { sceneManager.release(kSceneName); }

    void place(float left, float top, float width, float height)
    {
        brush.channels[0] = Envelope(left);
        brush.channels[1] = Envelope(top);
        brush.channels[2] = Envelope(width);
        brush.channels[3] = Envelope(height);
    }

    hlv::BrushScene brush;
};

std::array<GLint, 4> viewport()
{
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_VIEWPORT, box.data());
    return box;
}

const std::array<GLint, 4> kFullScreen{0, 0, 800, 600};

bool is_black(Rgba p) { return p.r < 10 && p.g < 10 && p.b < 10; }

float depthAt(int x, int y)
{
    float depth = -1;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

} // namespace

TEST_F(BrushSceneTest, ChannelsPlaceTheViewportFromTheTopLeft)
{
    beginShowFrame(0, 0, 0);
    place(0, 0, 1, 1);
    brush.render(0);
    EXPECT_TRUE(is_orange(readPixel(400, 300)));
    for (auto [x, y] : {std::pair{0, 0}, std::pair{799, 0}, std::pair{0, 599}, std::pair{799, 599}})
        EXPECT_TRUE(is_blue(readPixel(x, y))) << x << "," << y;
    EXPECT_EQ(viewport(), kFullScreen);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));

    // The upper right quarter: viewport (400, 300, 400, 300).
    beginShowFrame(0, 0, 0);
    place(0.5f, 0, 0.5f, 0.5f);
    brush.render(0);
    for (auto [x, y] : {std::pair{400, 300}, std::pair{799, 300}, std::pair{400, 599}, std::pair{799, 599}})
        EXPECT_TRUE(is_blue(readPixel(x, y))) << x << "," << y;
    for (auto [x, y] : {std::pair{399, 300}, std::pair{400, 299}, std::pair{200, 450}, std::pair{600, 150}})
        EXPECT_TRUE(is_black(readPixel(x, y))) << x << "," << y;
    EXPECT_TRUE(is_orange(readPixel(600, 450)));  // the square in the quarter's middle
    EXPECT_EQ(viewport(), kFullScreen);
}

TEST_F(BrushSceneTest, DrawsNothingWhenHiddenOrWithoutItsScene)
{
    beginShowFrame(0, 0, 0);
    place(0, 0, 1, 1);
    glViewport(10, 20, 30, 40);
    brush.visible = false;
    brush.render(0);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{10, 20, 30, 40}));
    glViewport(0, 0, 800, 600);
    EXPECT_TRUE(is_black(readPixel(400, 300)));
    EXPECT_TRUE(is_black(readPixel(20, 30)));

    // No entry of that name, then an entry whose load never finishes.
    brush.visible = true;
    brush.sceneName = "demo\\absent.hlv";
    glViewport(10, 20, 30, 40);
    brush.render(0);
    EXPECT_EQ(viewport(), kFullScreen);
    auto* loading = new SceneEntry;
    loading->loaded = platform::createEvent();
    sceneManager.add("demo\\absent.hlv", loading);
    sceneLoadWaitMilliseconds = 20;
    glViewport(10, 20, 30, 40);
    brush.render(0);
    sceneLoadWaitMilliseconds = 10000;
    EXPECT_EQ(viewport(), kFullScreen);
    sceneManager.release("demo\\absent.hlv");
    EXPECT_TRUE(is_black(readPixel(400, 300)));
    EXPECT_TRUE(is_black(readPixel(20, 30)));
}

TEST_F(BrushSceneTest, StencilLimitsTheDepthResetAndTheSceneToMarkedPixels)
{
    ScratchDirectory scratch;
    // The left half of a 512 x 512 picture is opaque: screen x 0..255, y 0..511.
    std::vector<uint8_t> colour = solidPixels(512, 512, {255, 255, 255});
    std::vector<uint8_t> alpha;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            alpha.push_back(x < 256 ? 255 : 0);
    ASSERT_TRUE(writers::writePng("shape.png", colour.data(), 512, 512));
    ASSERT_TRUE(writers::writePng("shape_a.png", alpha.data(), 512, 512, 1));
    BitmapManager::instance().loadWithAlpha("shape.png", "shape_a.png");

    beginShowFrame(0.2f, 0.4f, 0.6f);
    hlv::BrushAlphaToStencil marker;
    marker.bitmapName = "shape.png";
    marker.channels[0] = Envelope(-1.0f);
    marker.channels[1] = Envelope(-1.0f);
    marker.render(0);
    // Depth at the near plane everywhere, so that only reset pixels can be drawn on.
    glClearDepth(0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1);

    place(0, 0, 1, 1);
    brush.backdropFill = false;
    brush.stencilFunction = GL_EQUAL;
    brush.stencilReference = 1;
    brush.render(0);

    const Rgba cleared{51, 102, 153, 0};
    auto isCleared = [&](Rgba p) { return std::abs(p.r - cleared.r) < 3 && std::abs(p.g - cleared.g) < 3 && std::abs(p.b - cleared.b) < 3; };
    EXPECT_TRUE(is_orange(readPixel(230, 300)));  // marked, under the square
    EXPECT_TRUE(isCleared(readPixel(300, 300)));  // under the square, not marked
    EXPECT_TRUE(isCleared(readPixel(100, 300)));  // marked: depth reset, colour kept
    EXPECT_FLOAT_EQ(depthAt(100, 300), 1.0f);
    EXPECT_FLOAT_EQ(depthAt(300, 300), 0.0f);
    EXPECT_FLOAT_EQ(depthAt(600, 550), 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(viewport(), kFullScreen);
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    // Tests later in the run load a picture of their own under this name.
    BitmapManager::instance().release("shape.png");
}

TEST_F(BrushSceneTest, WaitsForTheSceneItsEventLoadsInTheBackground)
{
    ScratchDirectory scratch;
    save_orange_square_scene("demo\\loaded.hlv");
    hlv::TimeLine& timeline = hlv::TimeLine::instance();
    timeline.clear();
    new hlv::EvtLoadScene(1, "demo\\loaded.hlv");
    new hlv::EvtUnloadScene(2, "demo\\loaded.hlv");
    timeline.rewind();

    timeline.advance(1);
    ASSERT_NE(sceneManager.find("demo\\loaded.hlv"), nullptr);
    beginShowFrame(0, 0, 0);
    brush.sceneName = "demo\\loaded.hlv";
    place(0, 0, 1, 1);
    brush.render(0);  // the first draw waits for the loader
    EXPECT_TRUE(is_orange(readPixel(400, 300)));
    EXPECT_TRUE(is_blue(readPixel(10, 10)));

    timeline.advance(2);
    EXPECT_EQ(sceneManager.find("demo\\loaded.hlv"), nullptr);
}

// A zoom brush on a lower layer writes camera 0's near distance before the
// scene brush evaluates and draws the scene: the value holds, and the
// square, which fills the middle half of the view at near 1, shrinks to the
// middle quarter at near 0.5 (half-width 1 at the near distance).
TEST_F(BrushSceneTest, AZoomWrittenBeforeTheDrawNarrowsOrWidensTheView)
{
    hlv::BrushEnvelopeZoomFactor zoom;
    zoom.sceneName = kSceneName;
    zoom.cameraIndex = 0;
    zoom.zoom.addKey(0, 1).addKey(1, 0.5f).setLinear();
    place(0, 0, 1, 1);
    Camera& camera = *sceneManager.find(kSceneName)->scene.load()->cameras()[0];

    beginShowFrame(0, 0, 0);
    zoom.render(0);
    brush.render(0);
    EXPECT_TRUE(is_orange(readPixel(250, 300)));
    EXPECT_TRUE(is_orange(readPixel(550, 200)));

    // Then a frame with the zoom brush gone: the camera keeps the last value.
    for (bool zoomed : {true, false}) {
        beginShowFrame(0, 0, 0);
        if (zoomed)
            zoom.render(1);
        brush.render(1);
        EXPECT_EQ(camera.nearDistance(), 0.5f);
        EXPECT_TRUE(is_orange(readPixel(400, 300)));
        EXPECT_TRUE(is_orange(readPixel(320, 240)));
        EXPECT_TRUE(is_blue(readPixel(250, 300)));
        EXPECT_TRUE(is_blue(readPixel(550, 200)));
    }
}
