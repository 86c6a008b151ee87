#include <gtest/gtest.h>

#include <filesystem>

#include "app/show_script.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "tests/support/gl_window.h"
#include "tests/support/hermite_span.h"
#include "timeline/bitmap_brush.h"
#include "timeline/brush_envelope_zoom_factor.h"
#include "timeline/clear_show.h"
#include "timeline/events.h"
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

// The brush of type T that some activation of the built show puts on the
// layers and that `matches`, or null.
template <typename T, typename Match>
T* activatedBrush(Match matches)
{
    for (hlv::TimeLineEvent* event : hlv::TimeLine::instance().pending())
        if (auto* activation = dynamic_cast<hlv::EvtActivateBrush*>(event))
            if (auto* brush = dynamic_cast<T*>(activation->brush); brush && matches(*brush))
                return brush;
    return nullptr;
}

// A span's value halfway between its keys.
double halfway(double v0, double v1, double out, double in)
{
    return hermiteSpan(v0, v1, out, in, 0.5);
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

// Keys that the cue sheet gives a tension: the greetings' fade (tension -1
// from 12.75 s on, except at 15.5) and the zoom pulse (tension 1 on every
// key). Tension -1 doubles both factors of a key, (1 - T) = 2; tension 1
// makes them 0, so the pulse eases in and out of every key.
TEST_F(ShowTimelineTest, FadeAndPulseKeysCarryTheirTension)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(SKYDRIFT_DEMO_PACK).parent_path());
    BuildShow(false);
    std::filesystem::current_path(previous);

    auto* greetings = activatedBrush<hlv::BitmapBrush>(
        [](const hlv::BitmapBrush& b) { return b.bitmapName == "demo\\greetings.jpg"; });
    ASSERT_NE(greetings, nullptr);
    const Envelope& alpha = greetings->channels[7];
    // (12.75, 1) -> (13, 0.5), after (12, 0) and before (13.5, 1):
    // out = 0.25/1 * (2 * (1 - 0) + 2 * -0.5), in = 0.25/0.75 * (2 * (1 - 0.5) + 2 * -0.5).
    EXPECT_NEAR(alpha.evaluate(12.875f), halfway(1, 0.5, 0.25 * 1.0, (1.0 / 3) * 0.0), 1e-5);
    // (13, 0.5) -> (13.5, 1), after (12.75, 1) and before (15, 0):
    // out = 0.5/0.75 * (2 * (0.5 - 1) + 2 * 0.5), in = 0.5/2 * (2 * (0 - 1) + 2 * 0.5).
    EXPECT_NEAR(alpha.evaluate(13.25f), halfway(0.5, 1, (2.0 / 3) * 0.0, 0.25 * -1.0), 1e-5);

    auto* pulse = activatedBrush<hlv::BrushEnvelopeZoomFactor>([](const hlv::BrushEnvelopeZoomFactor&) { return true; });
    ASSERT_NE(pulse, nullptr);
    EXPECT_NEAR(pulse->zoom.evaluate(1.0f), halfway(0.4753334, 1, 0, 0), 1e-5);
    EXPECT_NEAR(pulse->zoom.evaluate(28.5f), halfway(0.4753334, 1, 0, 0), 1e-5);

    hlv::clearShow();
    sceneManager.releaseAll();
    meshManager.releaseAll();
    BitmapManager::instance().releaseAll();
}
