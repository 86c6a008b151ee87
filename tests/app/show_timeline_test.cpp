#include <gtest/gtest.h>

#include <filesystem>

#include "app/show_script.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "tests/support/gl_window.h"
#include "timeline/clear_show.h"
#include "timeline/timeline.h"

namespace {

struct BuiltShow {
    size_t events = 0, bitmaps = 0, meshes = 0, scenes = 0;
};

// Builds the show from the generated pack, notes what it holds, and empties
// the timeline and the managers again.
BuiltShow buildAndCount(bool loadDuringShow)
{
    BuildShow(loadDuringShow);
    BuiltShow built{hlv::TimeLine::instance().count(), BitmapManager::instance().size(), meshManager.size(),
                    sceneManager.size()};
    for (const char* scene : {"demo\\cubes.hlv", "demo\\metaballs.hlv", "demo\\fin2.hlv"})
        EXPECT_EQ(sceneManager.contains(scene), !loadDuringShow) << scene;
    hlv::clearShow();
    sceneManager.releaseAll();
    meshManager.releaseAll();
    BitmapManager::instance().releaseAll();
    return built;
}

} // namespace

using ShowTimelineTest = GLWindowTest;

// The two loading modes differ only in the three scenes: loaded by the build
// in one, by three more events of the timeline in the other.
TEST_F(ShowTimelineTest, ModesDifferOnlyInTheThreeSceneLoads)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(SKYDRIFT_DEMO_PACK).parent_path());
    BuiltShow preloaded = buildAndCount(false);
    BuiltShow duringShow = buildAndCount(true);
    std::filesystem::current_path(previous);

    EXPECT_EQ(duringShow.events, preloaded.events + 3);
    EXPECT_EQ(duringShow.bitmaps, preloaded.bitmaps);
    EXPECT_EQ(duringShow.meshes, preloaded.meshes);
    EXPECT_EQ(duringShow.scenes + 3, preloaded.scenes);
}
