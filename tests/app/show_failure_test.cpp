#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

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
// the pack that `damage` changes; the exit code.
int runWithPack(const std::string& label, const std::function<void(const fs::path& demo)>& damage)
{
    const fs::path folder = fs::temp_directory_path() / ("skydrift-with-" + label);
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(SKYDRIFT_DEMO_PACK, folder / "demo", fs::copy_options::recursive | fs::copy_options::create_hard_links);
    damage(folder / "demo");
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

int runWithout(const std::string& missingAsset)
{
    return runWithPack(fs::path(missingAsset).filename().string(),
                       [&](const fs::path& demo) { fs::remove(demo / missingAsset); });
}

// A well-formed IFF picture (ILBM): 2 x 2 pixels, one bit plane, two colours.
std::vector<uint8_t> ilbmPicture()
{
    std::vector<uint8_t> bytes;
    auto chunk = [&](const char* id, std::vector<uint8_t> body) {
        bytes.insert(bytes.end(), id, id + 4);
        const uint32_t size = uint32_t(body.size());
        bytes.insert(bytes.end(), {uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)});
        bytes.insert(bytes.end(), body.begin(), body.end());
    };
    // Width, height, x, y (16 bits each, big-endian), planes, masking,
    // compression, pad, transparent colour (16 bits), aspect x and y, page width and height.
    chunk("BMHD", {0, 2, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 2, 0, 2});
    chunk("CMAP", {0, 0, 0, 255, 255, 255});
    chunk("BODY", {0x80, 0, 0x40, 0});  // one word per row and plane
    std::vector<uint8_t> form = {'F', 'O', 'R', 'M'};
    const uint32_t size = uint32_t(4 + bytes.size());
    form.insert(form.end(), {uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)});
    form.insert(form.end(), {'I', 'L', 'B', 'M'});
    form.insert(form.end(), bytes.begin(), bytes.end());
    return form;
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

// An IFF file of another kind where an object belongs ends the start-up like
// any object that cannot be read: -1, the error naming the file, nothing held.
TEST(ShowFailure, AnIffPictureInPlaceOfAnObjectEndsTheStartUp)
{
    testing::internal::CaptureStderr();
    int exitCode = runWithPack("ilbm", [](const fs::path& demo) {
        const std::vector<uint8_t> picture = ilbmPicture();
        fs::remove(demo / "ombres" / "2.lwo");  // a link into the pack: replaced, not written through
        std::ofstream(demo / "ombres" / "2.lwo", std::ios::binary)
            .write(reinterpret_cast<const char*>(picture.data()), std::streamsize(picture.size()));
    });
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, -1);
    EXPECT_NE(errors.find("Sky Drift: Cannot load the object \"demo\\ombres\\2.lwo\""), std::string::npos) << errors;
    expectNothingHeld("2.lwo as ILBM");
}
