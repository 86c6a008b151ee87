#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "resources/scene_manager.h"
#include "scene/scene.h"
#include "tests/geometry/capturing_logger.h"
#include "tests/render/image_test_files.h"
#include "tests/render/material_frame.h"
#include "tests/resources/scene_samples.h"

// A scene read in the background must not make its textures on the loader's
// context: the driver's texture lock would stall the frame being drawn for
// as long as the upload and its mipmaps take. The main thread makes them, a
// few per frame, and only then is the scene drawn.

namespace {

constexpr const char* kScene = "demo\\paced.hlv";

// The orange square's scene with `extra` more textures (unused by its
// surface), each a little picture of its own.
void saveSceneWithTextures(int extra)
{
    Scene scene;
    build_orange_square_scene(scene);
    for (int i = 0; i < extra; ++i) {
        auto* pixels = new ImageRGB;
        pixels->width = pixels->height = 8;
        pixels->pixels.assign(8 * 8 * 3, uint8_t(40 * i));
        scene.add_texture(new TextureImage(pixels, 0));
    }
    save_scene(scene, kScene);
}

// The threads that called glTexImage2D while the recorder was in place.
std::mutex g_recordLock;
std::vector<std::thread::id> g_uploadThreads;
decltype(slot_glTexImage2D) g_realTexImage2D = nullptr;

void recordingTexImage2D(GLenum target, GLint level, GLint internal, GLsizei width, GLsizei height, GLint border,
                         GLenum format, GLenum type, const void* pixels)
{
    {
        std::lock_guard<std::mutex> hold(g_recordLock);
        g_uploadThreads.push_back(std::this_thread::get_id());
    }
    g_realTexImage2D(target, level, internal, width, height, border, format, type, pixels);
}

class SceneUploadPacingTest : public GLWindowTest {
protected:
    void TearDown() override
    {
        sceneManager.release(kScene);
        if (g_realTexImage2D)
            slot_glTexImage2D = g_realTexImage2D;
    }

    // The middle of the frame after drawing the scene through camera 0.
    static Rgba middleOf(Scene& scene)
    {
        beginShowFrame(0, 0, 0);
        scene.set_pending_camera(0);
        scene.evaluate(0);
        scene.draw();
        EndFrame();
        return readPixel(400, 300);
    }

    ScratchDirectory scratch;
    CapturingLogger log;
};

} // namespace

TEST_F(SceneUploadPacingTest, EveryTextureIsMadeOnTheMainThread)
{
    saveSceneWithTextures(2);
    g_realTexImage2D = slot_glTexImage2D;
    slot_glTexImage2D = recordingTexImage2D;
    SceneEntry* entry = sceneManager.load(kScene, true);
    ASSERT_NE(entry, nullptr);
    Scene* scene = waitForScene(*entry);
    ASSERT_NE(scene, nullptr) << log.text;
    EXPECT_TRUE(is_orange(middleOf(*scene)));
    std::lock_guard<std::mutex> hold(g_recordLock);
    EXPECT_EQ(g_uploadThreads.size(), 3u);
    for (std::thread::id thread : g_uploadThreads)
        EXPECT_EQ(thread, std::this_thread::get_id());
}

// Frames (finishBackgroundLoads calls) until the scene is drawn, by the
// scene's texture count and the budget per frame: at least one texture a
// frame, however small the budget; all of them at once with time to spare.
TEST_F(SceneUploadPacingTest, TheSceneAppearsOnceTheFramesHaveMadeAllItsTextures)
{
    struct Case {
        int textures;
        double budgetMilliseconds;
        int frames;
    };
    const Case cases[] = {{1, 0.0, 1}, {3, 0.0, 3}, {5, 0.0, 5}, {5, 1000.0, 1}};
    for (const Case& c : cases) {
        saveSceneWithTextures(c.textures - 1);
        SceneEntry* entry = sceneManager.load(kScene, true);
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(platform::waitEvent(entry->loaded, 10000));
        // Read, yet not drawn before its textures are made.
        EXPECT_EQ(entry->scene.load(), nullptr) << c.textures << " textures";
        int frames = 0;
        while (!entry->scene.load() && frames < 100) {
            sceneManager.finishBackgroundLoads(c.budgetMilliseconds);
            ++frames;
        }
        EXPECT_EQ(frames, c.frames) << c.textures << " textures, budget " << c.budgetMilliseconds;
        ASSERT_NE(entry->scene.load(), nullptr);
        EXPECT_TRUE(is_orange(middleOf(*entry->scene.load()))) << c.textures << " textures";
        sceneManager.release(kScene);
    }
    EXPECT_TRUE(log.text.empty()) << log.text;
}

// A scene needed before the frames have made its textures, or released
// with textures still waiting.
TEST_F(SceneUploadPacingTest, ASceneNeededOrReleasedEarlyIsWholeOrGone)
{
    for (bool needed : {true, false}) {
        saveSceneWithTextures(3);
        SceneEntry* entry = sceneManager.load(kScene, true);
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(platform::waitEvent(entry->loaded, 10000));
        sceneManager.finishBackgroundLoads(0.0);
        ASSERT_EQ(entry->scene.load(), nullptr);
        if (needed) {
            Scene* scene = waitForScene(*entry);
            ASSERT_NE(scene, nullptr);
            EXPECT_TRUE(is_orange(middleOf(*scene)));
        }
        sceneManager.release(kScene);
        // The main context goes on drawing the same scene loaded at once.
        SceneEntry* again = sceneManager.load(kScene, false);
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(is_orange(middleOf(*again->scene.load()))) << (needed ? "needed" : "released");
        sceneManager.release(kScene);
    }
    EXPECT_TRUE(log.text.empty()) << log.text;
}
