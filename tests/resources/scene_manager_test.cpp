#include <gtest/gtest.h>

#include <fstream>

#include "geometry/surface.h"
#include "resources/scene_manager.h"
#include "tests/geometry/capturing_logger.h"
#include "tests/render/image_test_files.h"
#include "tests/render/material_frame.h"
#include "tests/resources/scene_samples.h"
#include "tests/resources/scene_thread_checks.h"

namespace {

class SceneManagerTest : public GLWindowTest {
protected:
    void TearDown() override
    {
        for (const char* name : {"demo\\a.hlv", "demo\\b.hlv", "demo\\c.hlv", "demo\\missing.hlv"})
            sceneManager.release(name);
    }

    // The whole frame after drawing the scene through camera 0 on black.
    static std::vector<Rgba> drawn(Scene& scene)
    {
        beginShowFrame(0, 0, 0);
        scene.set_pending_camera(0);
        scene.evaluate(0);
        scene.draw();
        EndFrame();
        return readPixels(0, 0, 800, 600);
    }

    ScratchDirectory scratch;
    CapturingLogger log;
};

bool sameFrame(const std::vector<Rgba>& a, const std::vector<Rgba>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Rgba p, Rgba q) {
               return p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a;
           });
}

} // namespace

TEST_F(SceneManagerTest, BackgroundLoadDrawsLikeALoadDoneAtOnce)
{
    save_orange_square_scene("demo\\a.hlv");
    SceneEntry* now = sceneManager.load("demo\\a.hlv", false);
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->loaded, nullptr);
    EXPECT_EQ(now->context, nullptr);
    std::vector<Rgba> atOnce = drawn(*now->scene.load());
    ASSERT_TRUE(is_orange(atOnce[300 * 800 + 400]));
    sceneManager.release("demo\\a.hlv");

    // Two loads at once, each with its own context and event.
    save_orange_square_scene("demo\\c.hlv");
    SceneEntry* entry = sceneManager.load("demo\\a.hlv", true);
    SceneEntry* other = sceneManager.load("demo\\c.hlv", true);
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(entry->context, other->context);
    EXPECT_NE(entry->loaded, other->loaded);
    EXPECT_EQ(sceneManager.find("demo\\a.hlv"), entry);  // registered at once, still empty or not
    EXPECT_EQ(entry->path, "demo\\a.hlv");
    Scene* scene = waitForScene(*entry);
    ASSERT_NE(scene, nullptr) << log.text;
    EXPECT_TRUE(platform::waitEvent(entry->loaded, 0));
    // The texture was uploaded on the loader's context and draws here.
    std::vector<Rgba> background = drawn(*scene);
    EXPECT_TRUE(is_orange(background[300 * 800 + 400]));
    EXPECT_TRUE(sameFrame(atOnce, background));
    ASSERT_NE(waitForScene(*other), nullptr) << log.text;
    EXPECT_TRUE(sameFrame(atOnce, drawn(*other->scene.load())));
    // Asking again keeps the entry and reads nothing.
    EXPECT_EQ(sceneManager.load("demo\\a.hlv", true), entry);
    EXPECT_EQ(sceneManager.load("demo\\a.hlv", false), entry);
}

TEST_F(SceneManagerTest, FilesThatCannotBeReadLeaveNoSceneAndAreLoggedByName)
{
    // A background load of a missing file: the entry stays, empty, and its event is set.
    SceneEntry* entry = sceneManager.load("demo\\missing.hlv", true);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(platform::waitEvent(entry->loaded, 10000));
    EXPECT_EQ(entry->scene.load(), nullptr);
    EXPECT_EQ(sceneManager.find("demo\\missing.hlv"), entry);
    EXPECT_TRUE(log.contains("demo\\missing.hlv")) << log.text;

    // At once, nothing is added, whether the file is missing or not a scene.
    log.text.clear();
    EXPECT_EQ(sceneManager.load("demo\\absent.hlv", false), nullptr);
    EXPECT_EQ(sceneManager.find("demo\\absent.hlv"), nullptr);
    EXPECT_TRUE(log.contains("demo\\absent.hlv")) << log.text;
    std::ofstream("demo/b.hlv", std::ios::binary) << "not a scene file at all";
    EXPECT_EQ(sceneManager.load("demo\\b.hlv", false), nullptr);
    EXPECT_EQ(sceneManager.size(), 1u);
    EXPECT_TRUE(log.contains("demo\\b.hlv")) << log.text;

    // In the background, a file that is not a scene ends like a missing one.
    SceneEntry* bad = sceneManager.load("demo\\b.hlv", true);
    EXPECT_TRUE(platform::waitEvent(bad->loaded, 10000));
    EXPECT_EQ(bad->scene.load(), nullptr);
}

TEST_F(SceneManagerTest, ReleasingDuringABackgroundLoadWaitsForIt)
{
    save_orange_square_scene("demo\\a.hlv");
    sceneManager.load("demo\\a.hlv", true);
    sceneManager.release("demo\\a.hlv");
    EXPECT_EQ(sceneManager.find("demo\\a.hlv"), nullptr);
    EXPECT_TRUE(log.text.empty()) << log.text;

    // The main context goes on drawing after the loader's is gone.
    SceneEntry* again = sceneManager.load("demo\\a.hlv", false);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(is_orange(drawn(*again->scene.load())[300 * 800 + 400]));
}

TEST(SceneEntryWait, ConsumerGivesUpWhenTheLoadNeverSignals)
{
    SceneEntry entry;
    entry.loaded = platform::createEvent();
    sceneLoadWaitMilliseconds = 20;
    EXPECT_EQ(waitForScene(entry), nullptr);
    EXPECT_FALSE(platform::waitEvent(entry.loaded, 0));
    sceneLoadWaitMilliseconds = 10000;
}
