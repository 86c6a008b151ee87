#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main_loop.h"
#include "app/run_guarded.h"
#include "app/startup.h"
#include "platform/dialog.h"
#include "platform/window.h"
#include "render/device.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"

namespace fs = std::filesystem;

namespace {

// Runs the first second of the show as the render tool does, from a copy of
// the pack without `missingAsset`; the exit code.
int runWithout(const std::string& missingAsset)
{
    const fs::path folder = fs::temp_directory_path() / ("skydrift-without-" + fs::path(missingAsset).filename().string());
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(SKYDRIFT_DEMO_PACK, folder / "demo", fs::copy_options::recursive | fs::copy_options::create_hard_links);
    fs::remove(folder / "demo" / missingAsset);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    platform::setUnattended();
    int exitCode = runGuarded([] {
        StartupOptions options;
        options.askDisclaimer = false;
        options.fullScreen = false;
        options.hidden = true;
        if (auto code = startUp(options))
            return *code;
        for (int frame = 0; frame < 10; ++frame)
            runFrame([frame] { return frame / 10.0f; });
        shutDownShow();
        return 0;
    });
    fs::current_path(previous);
    fs::remove_all(folder);
    return exitCode;
}

void expectNothingHeld(const char* asset)
{
    EXPECT_EQ(gldevice::current, nullptr) << asset;
    EXPECT_EQ(platform::mainWindow(), nullptr) << asset;
    EXPECT_EQ(BitmapManager::instance().size(), 0u) << asset;
    EXPECT_EQ(meshManager.size(), 0u) << asset;
    EXPECT_EQ(sceneManager.size(), 0u) << asset;
    EXPECT_EQ(hlv::TimeLine::instance().count(), 0u) << asset;
    for (int layer = 0; layer < hlv::LayerList::kLayerCount; ++layer)
        EXPECT_TRUE(hlv::LayerList::instance().layer(layer).empty()) << asset << ", layer " << layer;
}

} // namespace

// A missing object stops the start-up, while the show is being built; a
// missing strip stops the first frame, which loads it. Either way the
// program ends with -1, and the brushes, events and assets built so far go
// with the device and the window before the error is shown.
TEST(ShowFailure, AMissingFileEndsWithMinusOneAndLeavesNothingHeld)
{
    EXPECT_EQ(runWithout("intro/objet/pilot.lwo"), -1);
    expectNothingHeld("pilot.lwo");
}

TEST(ShowFailure, AFileMissingInTheFirstFrameLeavesNothingHeld)
{
    EXPECT_EQ(runWithout("fil1.png"), -1);
    expectNothingHeld("fil1.png");
}
