// The show against its cue sheet: when each asset arrives and leaves and how
// it is loaded, the closing tune, the flicker between the title and the
// cubes, the landscape's two views and the four end views. Frames are drawn
// only at the sheet's times, just before and just after each cue, so every
// event fires in the first frame at or after its time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "audio/library.h"
#include "render/image_file.h"
#include "tests/app/show_assets.h"
#include "tests/app/show_run.h"
#include "tests/support/hermite_span.h"
#include "timeline/brush_alpha_to_stencil.h"
#include "timeline/brush_backdrop.h"
#include "timeline/brush_scene.h"
#include "timeline/music_events.h"
#include "timeline/scene_events.h"

namespace {

constexpr float kJust = 0.02f;  // well within the shortest gap between two cues
constexpr float kShowEnd = 245.0f;
constexpr float kClosingTuneAt = 166.1f;

// What the sound library plays: the main stream, and a tune loaded after
// the start-up (the only one is the closing tune).
struct Playing {
    bool stream = false;
    bool laterTune = false;
};

Playing nowPlaying(uintptr_t lastHandleOfStartUp)
{
    audio::LibraryCall call;
    Playing playing;
    audio::Mixer* mixer = call.state().mixer.get();
    for (uintptr_t id = 1; mixer && id <= call.state().lastHandle; ++id) {
        if (const audio::StreamSlot* stream = mixer->stream(id))
            playing.stream = playing.stream || stream->channel != -1;
        if (const audio::ModulePlayer* tune = mixer->module(id))
            playing.laterTune = playing.laterTune || (id > lastHandleOfStartUp && tune->playing());
    }
    return playing;
}

uintptr_t lastSoundHandle()
{
    audio::LibraryCall call;
    return call.state().lastHandle;
}

// Every asset is held exactly from its load to its release, loaded as the
// table says; before 166.1 the main stream plays, from then on the closing
// tune alone.
void expectHeldAsAt(float t, bool loadDuringShow, uintptr_t lastHandleOfStartUp)
{
    for (const ShowAsset& asset : showAssets()) {
        const bool due = loadTime(asset, loadDuringShow) <= t && t < asset.releasedAt;
        EXPECT_EQ(isHeld(asset), due) << asset.name << " at " << t;
        if (due && isHeld(asset)) {
            EXPECT_EQ(howItDiffers(asset, loadDuringShow), "") << asset.name << " at " << t;
        }
    }
    if (t < 0)
        return;
    const Playing playing = nowPlaying(lastHandleOfStartUp);
    EXPECT_EQ(playing.stream, t < kClosingTuneAt) << "the main stream at " << t;
    EXPECT_EQ(playing.laterTune, t > kClosingTuneAt) << "the closing tune at " << t;
}

void expectAssetsOnTheirCues(bool loadDuringShow)
{
    // A device that always opens, so that the music can be followed.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ShowRun run(loadDuringShow, ShowRun::kOnlyAskedFrames);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(audio::library().initialised) << "no sound: the music cannot be followed";
    const uintptr_t startUpHandles = lastSoundHandle();

    // The threaded scene loads are events of their own; the closing tune is one more.
    std::vector<std::pair<float, std::string>> sceneLoads, music;
    for (hlv::TimeLineEvent* event : hlv::TimeLine::instance().pending()) {
        if (auto* load = dynamic_cast<hlv::EvtLoadScene*>(event))
            sceneLoads.emplace_back(load->time, load->fileName);
        if (auto* tune = dynamic_cast<EvtStartMusic*>(event))
            music.emplace_back(tune->time, tune->fileName);
    }
    using Loads = std::vector<std::pair<float, std::string>>;
    EXPECT_EQ(sceneLoads, loadDuringShow ? (Loads{{72.1f, "demo\\cubes.hlv"}, {90.6f, "demo\\metaballs.hlv"},
                                                  {159.1f, "demo\\fin2.hlv"}})
                                         : Loads{});
    EXPECT_EQ(music, (Loads{{kClosingTuneAt, "demo\\_SKYD22.xm"}}));

    // Before the first frame only what the build loads is held.
    expectHeldAsAt(-kJust, loadDuringShow, startUpHandles);
    std::set<float> cues = {kClosingTuneAt};
    for (const ShowAsset& asset : showAssets()) {
        if (loadTime(asset, loadDuringShow) != kAtBuild)
            cues.insert(loadTime(asset, loadDuringShow));
        if (asset.releasedAt < kShowEnd)
            cues.insert(asset.releasedAt);
    }
    for (float cue : cues) {
        if (cue > 0) {
            run.frameAt(cue - kJust);
            expectHeldAsAt(cue - kJust, loadDuringShow, startUpHandles);
        }
        run.frameAt(cue + kJust);
        expectHeldAsAt(cue + kJust, loadDuringShow, startUpHandles);
    }
    run.frameAt(kShowEnd);
    expectHeldAsAt(kShowEnd, loadDuringShow, startUpHandles);
}

// The smallest rectangle, in screen pixels from the top-left corner, holding
// every pixel that is not black; right and bottom are one past the last.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

std::ostream& operator<<(std::ostream& out, const PixelRect& r)
{
    return out << "(" << r.left << ", " << r.top << ")..(" << r.right << ", " << r.bottom << ")";
}

PixelRect litRectangle(const ShowFrame& frame)
{
    PixelRect lit{800, 600, 0, 0};
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = frame.at(x, y);
            if (p[0] + p[1] + p[2] > 24) {
                lit.left = std::min(lit.left, x);
                lit.top = std::min(lit.top, y);
                lit.right = std::max(lit.right, x + 1);
                lit.bottom = std::max(lit.bottom, y + 1);
            }
        }
    return lit.right == 0 ? PixelRect{} : lit;
}

// Where a scene view with channels left, top, width and height draws: its
// viewport (truncated products, y from the bottom) cut to the screen.
PixelRect viewOnScreen(double left, double top, double width, double height)
{
    const int x = int(800 * left), y = int(600 * (1 - top - height));
    const int w = int(800 * width), h = int(600 * height);
    if (w <= 0 || h <= 0)
        return {};
    return {std::max(x, 0), std::max(600 - (y + h), 0), std::min(x + w, 800), std::min(600 - y, 600)};
}

// Within a pixel on every side: the show truncates products of floats.
bool near(const PixelRect& a, const PixelRect& b)
{
    return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 && std::abs(a.right - b.right) <= 1 &&
           std::abs(a.bottom - b.bottom) <= 1;
}

hlv::BrushScene* activeView(const char* scene, int camera)
{
    for (hlv::BrushScene* view : activeBrushes<hlv::BrushScene>())
        if (view->sceneName == scene && view->cameraIndex == camera)
            return view;
    return nullptr;
}

} // namespace

TEST(ShowCueTest, PreloadedAssetsComeAndGoOnTheirCues)
{
    expectAssetsOnTheirCues(false);
}

TEST(ShowCueTest, LoadDuringShowAssetsComeAndGoOnTheirCues)
{
    expectAssetsOnTheirCues(true);
}

// Just after each time of the flicker table the frame is the title picture
// or the cubes, as the table says; before the first time only the title
// shows, after the last only the cubes.
TEST(ShowCueTest, TitleAndCubesFlickerAsTheTableSays)
{
    ShowRun run(false, ShowRun::kOnlyAskedFrames);
    ASSERT_TRUE(run.started());
    const std::vector<uint8_t> title = packPictureOnScreen("demo/SkyDrift.jpg");
    ASSERT_FALSE(title.empty());
    const struct {
        float time;
        bool cubes, title;
    } table[] = {
        {75.1f, false, true},  {75.45f, true, false}, {75.7f, false, true}, {75.9f, true, false},
        {76.2f, false, true},  {76.45f, true, false}, {76.6f, false, true}, {76.7f, true, false},
        {76.8f, false, true},  {76.9f, true, false},  {80.0f, true, false},
    };
    for (const auto& cue : table) {
        const float t = cue.time + kJust;
        ShowFrame frame = run.frameAt(t);
        hlv::BrushScene* cubes = activeView("demo\\cubes.hlv", 0);
        std::vector<hlv::BrushBackdrop*> backdrops = activeBrushes<hlv::BrushBackdrop>();
        ASSERT_NE(cubes, nullptr) << t;
        ASSERT_EQ(backdrops.size(), 1u) << t;
        EXPECT_EQ(backdrops[0]->bitmapName, "demo\\SkyDrift.jpg");
        EXPECT_EQ(cubes->visible, cue.cubes) << t;
        EXPECT_EQ(backdrops[0]->visible, cue.title) << t;
        if (cue.title) {
            EXPECT_LT(frame.meanDifference(title), 6.0) << "the title picture at " << t;
        } else {
            EXPECT_GT(frame.meanDifference(title), 25.0) << "the cubes at " << t;
            EXPECT_GT(frame.meanLuminance(0, 0, 800, 600), 20.0) << "the cubes at " << t;
        }
    }
}

// The landscape: the second view, cut by the skyline, covers only its
// quarter and only where the skyline left the stencil at 0, until 144.6;
// then the wide view is alone, and between 164.1 and 166.1 it shrinks along
// its keys into a thin band and vanishes.
TEST(ShowCueTest, LandscapeViewsEndAndShrinkOnTheirCues)
{
    ShowRun run(false, ShowRun::kOnlyAskedFrames);
    ASSERT_TRUE(run.started());
    Image8 skyline;
    ASSERT_TRUE(loadImage8((std::string(SKYDRIFT_DEMO_PACK) + "/cite-alpha.png").c_str(), skyline));

    // View A2 at its last frames: drawn over A1 in the lower-left quarter
    // (left 0, top 0.5, half the width and height), where the stencil is 0.
    const float lastOfA2 = 144.6f - kJust;
    ShowFrame cut = run.frameAt(lastOfA2);
    hlv::BrushScene* second = activeView("demo\\Davudare.hlv", 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(activeBrushes<hlv::BrushAlphaToStencil>().size(), 1u);
    second->visible = false;
    ShowFrame wideOnly = run.frameAt(lastOfA2);
    second->visible = true;
    // The skyline is drawn at its pixel size from the lower-left corner of
    // the screen (its rise has ended): screen row y shows picture row
    // y - (600 - height). A pixel is sure when its neighbours agree.
    auto skylineAt = [&](int x, int y) {
        const int row = y - (600 - int(skyline.height));
        return row >= 0 && skyline.pixels[size_t(row) * skyline.width + size_t(x)] >= 128;
    };
    size_t outsideChanged = 0, solid = 0, solidChanged = 0, open = 0, openChanged = 0;
    for (int y = 1; y < 599; ++y)
        for (int x = 1; x < 799; ++x) {
            const uint8_t *a = cut.at(x, y), *b = wideOnly.at(x, y);
            const bool changed = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 24;
            if (x >= 400 || y < 300) {
                outsideChanged += changed;
                continue;
            }
            bool allSolid = true, allOpen = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const bool s = skylineAt(x + dx, y + dy);
                    allSolid = allSolid && s;
                    allOpen = allOpen && !s;
                }
            if (allSolid) {
                ++solid;
                solidChanged += changed;
            } else if (allOpen) {
                ++open;
                openChanged += changed;
            }
        }
    ASSERT_GT(solid, 10000u);
    ASSERT_GT(open, 10000u);
    EXPECT_EQ(outsideChanged, 0u) << "A2 drew outside its quarter";
    EXPECT_LT(double(solidChanged) / double(solid), 0.005) << "A2 drew over the skyline";
    EXPECT_GT(double(openChanged) / double(open), 0.9) << "A2 is missing above the skyline";

    // At 144.6 A2 and the stencil are gone: without A1 nothing is drawn.
    run.frameAt(144.6f + kJust);
    EXPECT_EQ(activeView("demo\\Davudare.hlv", 1), nullptr);
    EXPECT_TRUE(activeBrushes<hlv::BrushAlphaToStencil>().empty());
    hlv::BrushScene* wide = activeView("demo\\Davudare.hlv", 0);
    ASSERT_NE(wide, nullptr);
    wide->visible = false;
    EXPECT_LT(run.frameAt(144.6f + kJust).meanLuminance(0, 0, 800, 600), 0.5) << "something besides A1 draws";
    wide->visible = true;

    // A1's rectangle from its keys (activated at 126.6, so local time
    // t - 126.6). Every key from 38 s on has continuity -1 (tension and bias
    // 0), which makes a key's outgoing factors a = 1 + C = 0, b = 1 - C = 2
    // and its incoming factors a = 1 - C = 2, b = 1 + C = 0; keys without
    // continuity have all four factors 1.
    const double half = 0.5;  // w in the middle of a 0.5 s span
    const struct {
        float local;
        PixelRect expected;
    } shrink[] = {
        // 37.5: c0 and c1 sit between keys of equal value whose tangents
        // vanish or nearly so; c2 and c3 are still 1: the whole screen.
        {37.5f, {0, 0, 800, 600}},
        // 38.25, halfway from the keys at 38 to those at 38.5:
        // c0 0 -> 0.5: out = 0.5/38.5 * (1 * 0 + 1 * 0.5), in = 2 * 0.5;
        // c1 0 -> 0.45: out = 0.5/37.5 * (0 * 0 + 2 * 0.45), in = 2 * 0.45;
        // c2 1 -> 1 at w = 38.25/38.5: out = 1 * 0, in = 38.5/39 * (1 * (0 - 1) + 1 * 0);
        // c3 1 -> 0.1: out = 0.5/38.5 * (0 * 0 + 2 * -0.9), in = 0.5/1 * (0 * -0.1 + 2 * -0.9).
        {38.25f, viewOnScreen(hermiteSpan(0, 0.5, 0.5 / 38.5 * 0.5, 2 * 0.5, half),
                              hermiteSpan(0, 0.45, 0.5 / 37.5 * (2 * 0.45), 2 * 0.45, half),
                              hermiteSpan(1, 1, 0, 38.5 / 39 * -1, 38.25 / 38.5),
                              hermiteSpan(1, 0.1, 0.5 / 38.5 * (2 * -0.9), 0.5 * (2 * -0.9), half))},
        // 38.5: every channel at a key: left 0.5, top 0.45, width 1, height 0.1.
        {38.5f, viewOnScreen(0.5, 0.45, 1, 0.1)},
        // 38.9, w = 0.8 from the keys at 38.5 to those at 39; c0 and c1 hold
        // their last values. c2 1 -> 0: out = 0.5/39 * (1 * 0 + 1 * -1),
        // in = 2 * -1; c3 0.1 -> 0: out = 0.5/1 * (0 * -0.9 + 2 * -0.1), in = 2 * -0.1.
        {38.9f, viewOnScreen(0.5, 0.45, hermiteSpan(1, 0, 0.5 / 39 * -1, 2 * -1.0, 0.8),
                             hermiteSpan(0.1, 0, 0.5 * (2 * -0.1), 2 * -0.1, 0.8))},
        // 39: width and height 0, nothing is drawn.
        {39.0f, {}},
    };
    for (const auto& step : shrink) {
        const float t = 126.6f + step.local;
        ShowFrame frame = run.frameAt(t);
        EXPECT_TRUE(near(litRectangle(frame), step.expected))
            << "at " << t << ": drawn in " << litRectangle(frame) << ", keyed to " << step.expected;
        const PixelRect& r = step.expected;
        if (r.right > r.left) {
            EXPECT_GT(frame.meanLuminance(r.left + 1, r.top + 1, r.right - r.left - 2, r.bottom - r.top - 2), 40.0)
                << "A1's rectangle is not filled at " << t;
        }
    }
}

// From 166.1 the end scene shows in four views, camera i at the corner the
// table gives it; each quarter is its own view of the scene.
TEST(ShowCueTest, EndViewsShowCamerasZeroToThreeInTheirCorners)
{
    ShowRun run(false, ShowRun::kOnlyAskedFrames);
    ASSERT_TRUE(run.started());
    // Left and top of camera 0..3, as fractions of the screen.
    const float corners[4][2] = {{0.5f, 0.5f}, {0, 0.5f}, {0.5f, 0}, {0, 0}};
    auto quarterDifference = [&](const ShowFrame& a, const ShowFrame& b, int i, int j) {
        const int ax = int(800 * corners[i][0]), ay = int(600 * corners[i][1]);
        const int bx = int(800 * corners[j][0]), by = int(600 * corners[j][1]);
        double sum = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(int(a.at(ax + x, ay + y)[c]) - int(b.at(bx + x, by + y)[c]));
        return sum / (400.0 * 300.0 * 3.0);
    };
    for (float t : {166.1f + kJust, 200.0f, 240.0f}) {
        ShowFrame four = run.frameAt(t);
        std::vector<hlv::BrushScene*> views;
        for (hlv::BrushScene* view : activeBrushes<hlv::BrushScene>())
            if (view->sceneName == "demo\\fin2.hlv")
                views.push_back(view);
        ASSERT_EQ(views.size(), 4u) << t;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                EXPECT_GT(quarterDifference(four, four, i, j), 12.0) << "quarters of cameras " << i << " and " << j << " at " << t;

        // Every view drawn through camera i leaves camera i's corner as it
        // was and changes every other corner.
        for (int i = 0; i < 4; ++i) {
            std::vector<int> cameras;
            for (hlv::BrushScene* view : views) {
                cameras.push_back(view->cameraIndex);
                view->cameraIndex = i;
            }
            ShowFrame same = run.frameAt(t);
            for (size_t k = 0; k < views.size(); ++k)
                views[k]->cameraIndex = cameras[k];
            for (int j = 0; j < 4; ++j) {
                if (j == i)
                    EXPECT_LT(quarterDifference(four, same, j, j), 0.5) << "camera " << i << "'s corner at " << t;
                else
                    EXPECT_GT(quarterDifference(four, same, j, j), 12.0) << "camera " << j << "'s corner at " << t;
            }
        }
    }
}
