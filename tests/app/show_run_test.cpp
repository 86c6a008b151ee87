#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <typeinfo>
#include <vector>

#include "render/gl_api.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_entry.h"
#include "resources/scene_manager.h"
#include "tests/app/show_assets.h"
#include "tests/app/show_run.h"
#include "timeline/bitmap_brush.h"
#include "timeline/brush_alpha_to_stencil.h"
#include "timeline/brush_frontdrop.h"
#include "timeline/brush_mesh_in_scene.h"
#include "timeline/brush_mesh_object.h"
#include "timeline/brush_ombres.h"
#include "timeline/brush_scene.h"
#include "timeline/brush_scroll_quad.h"
#include "timeline/layer_list.h"

namespace {

constexpr int kFramesPerSecond = 4;
constexpr float kShowEnd = 245.0f;

// Checks, after every frame, that each asset of the table is gone from the
// frame at its release time on and still held in the frame before.
class ReleaseWatch {
public:
    void operator()(float t)
    {
        for (const ShowAsset& asset : showAssets()) {
            if (t >= asset.releasedAt) {
                EXPECT_FALSE(isHeld(asset)) << asset.name << " still held at " << t;
            } else if (t + 1.0f / kFramesPerSecond > asset.releasedAt) {
                EXPECT_TRUE(isHeld(asset)) << asset.name << " gone before its release, at " << t;
            }
        }
    }
};

// Where frame `a` and frame `b` differ, and how much brighter `a` is there.
struct Difference {
    double share = 0.0;     // of the screen's pixels
    double brighter = 0.0;  // mean luminance gain of `a` over `b` on those pixels
};

Difference differenceBetween(const ShowFrame& a, const ShowFrame& b)
{
    size_t count = 0;
    double gain = 0.0;
    for (size_t i = 0; i < a.rgb.size(); i += 3) {
        int delta = std::abs(a.rgb[i] - b.rgb[i]) + std::abs(a.rgb[i + 1] - b.rgb[i + 1]) + std::abs(a.rgb[i + 2] - b.rgb[i + 2]);
        if (delta < 24)
            continue;
        ++count;
        gain += (0.299 * a.rgb[i] + 0.587 * a.rgb[i + 1] + 0.114 * a.rgb[i + 2]) -
                (0.299 * b.rgb[i] + 0.587 * b.rgb[i + 1] + 0.114 * b.rgb[i + 2]);
    }
    Difference difference;
    difference.share = double(count) / double(a.rgb.size() / 3);
    difference.brighter = count ? gain / double(count) : 0.0;
    return difference;
}

// The brightest column of the strips' part of the screen stands out of its
// neighbours as a long bright line.
bool showsStrip(const ShowFrame& frame)
{
    double brightest = 0.0, around = 0.0;
    for (int x = 540; x < 780; ++x) {
        double column = frame.meanLuminance(x, 0, 1, 600);
        if (column > brightest) {
            brightest = column;
            around = 0.5 * (frame.meanLuminance(x - 20, 0, 1, 600) + frame.meanLuminance(x + 20, 0, 1, 600));
        }
    }
    return brightest > 180.0 && brightest > around + 60.0;
}

// The frontdrop multiplies the picture below it: where it is darker than
// light grey (the edges), the frame has lost clearly more of the sky's light
// than where it is nearly white.
bool frontdropDarkensEdges(const ShowFrame& frame, const std::vector<uint8_t>& frontdrop, const std::vector<uint8_t>& sky)
{
    double frameEdge = 0, skyEdge = 0, frameOpen = 0, skyOpen = 0;
    auto luminance = [](const uint8_t* p) { return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]; };
    for (size_t i = 0; i < frame.rgb.size(); i += 3) {
        bool edge = luminance(&frontdrop[i]) < 200.0;
        (edge ? frameEdge : frameOpen) += luminance(&frame.rgb[i]);
        (edge ? skyEdge : skyOpen) += luminance(&sky[i]);
    }
    return skyEdge > 0 && skyOpen > 0 && frameEdge / skyEdge < 0.8 * (frameOpen / skyOpen);
}

// The light shafts drawn over the mosque: the frame without them, at the same time.
ShowFrame withoutLightShafts(ShowRun& run, float t)
{
    std::vector<std::pair<hlv::BrushMeshInScene*, std::string>> shafts;
    for (auto* shaft : activeBrushes<hlv::BrushMeshInScene>())
        shafts.emplace_back(shaft, shaft->meshName);
    for (auto& shaft : shafts)
        shaft.first->meshName.clear();
    ShowFrame frame = run.frameAt(t);
    for (auto& shaft : shafts)
        shaft.first->meshName = shaft.second;
    return frame;
}

} // namespace

// The whole show, preloaded, at a coarse frame rate: each section's frames
// read back at chosen times, the brushes changing over at 15.5, every asset
// released at its time and only the kept ones held at the end.
TEST(ShowRunTest, PreloadedShowDrawsEachSectionAndReleasesEveryAsset)
{
    ShowRun run(false, kFramesPerSecond);
    ASSERT_TRUE(run.started());
    ReleaseWatch releases;
    const std::vector<uint8_t> frontdrop = packPictureOnScreen("demo/frontdrop.jpg");
    const std::vector<uint8_t> sky = packPictureOnScreen("demo/backs/1.jpg");
    const std::vector<uint8_t> title = packPictureOnScreen("demo/SkyDrift.jpg");
    const std::vector<uint8_t> logo = packPictureOnScreen("demo/backs/biglogo.jpg");
    ASSERT_FALSE(frontdrop.empty() || sky.empty() || title.empty() || logo.empty());

    // The intro: the title object and the strips.
    ShowFrame intro = run.frameAt(5.0f, releases);
    EXPECT_TRUE(showsStrip(intro));
    EXPECT_FALSE(activeBrushes<hlv::BrushMeshObject>().empty());
    EXPECT_TRUE(showsStrip(run.frameAt(15.25f, releases)));
    EXPECT_EQ(activeBrushes<hlv::BrushScrollQuad>().size(), 3u);

    ShowFrame change = run.frameAt(15.5f, releases);
    EXPECT_TRUE(activeBrushes<hlv::BrushScrollQuad>().empty());
    EXPECT_TRUE(activeBrushes<hlv::BrushMeshObject>().empty());
    EXPECT_EQ(activeBrushes<hlv::BrushFrontdrop>().size(), 1u);
    EXPECT_EQ(activeBrushes<hlv::BrushOmbres>().size(), 1u);
    EXPECT_LT(change.meanLuminance(0, 0, 800, 600), 4.0) << "the frame fades in from black";

    // The shadow piece under its frame.
    ShowFrame shadows = run.frameAt(20.0f, releases);
    EXPECT_TRUE(frontdropDarkensEdges(shadows, frontdrop, sky));
    EXPECT_FALSE(frontdropDarkensEdges(intro, frontdrop, sky));
    EXPECT_FALSE(showsStrip(shadows));

    // The white flash.
    EXPECT_GT(run.frameAt(42.5f, releases).shareAtLeast(245), 0.95);

    // The mosque: the shafts add light where they are.
    ShowFrame mosque = run.frameAt(50.0f, releases);
    Difference shafts = differenceBetween(mosque, withoutLightShafts(run, 50.0f));
    EXPECT_GT(shafts.share, 0.03);
    EXPECT_GT(shafts.brighter, 20.0);

    // The title picture alone, then the cubes alone.
    EXPECT_LT(run.frameAt(75.2f, releases).meanDifference(title), 6.0);
    EXPECT_LT(run.frameAt(75.4f, releases).meanDifference(title), 6.0);
    EXPECT_GT(run.frameAt(75.45f, releases).meanDifference(title), 25.0);
    EXPECT_GT(run.frameAt(77.0f, releases).meanDifference(title), 25.0);
    EXPECT_GT(run.frameAt(80.0f, releases).meanDifference(title), 25.0);

    // The greetings: nothing of them before 105.6, then fading in, bright over the sky.
    auto greetingsShown = [&](float t) {
        ShowFrame with = run.frameAt(t, releases);
        std::vector<hlv::BitmapBrush*> greetings;
        for (auto* brush : activeBrushes<hlv::BitmapBrush>())
            if (brush->layer == 5)
                greetings.push_back(brush);
        EXPECT_EQ(greetings.size(), 1u) << "at " << t;
        std::vector<Envelope> alphas;
        for (auto* brush : greetings) {
            alphas.push_back(brush->channels[7]);
            brush->channels[7] = Envelope();
            brush->channels[7].addKey(0, 0);
        }
        ShowFrame without = run.frameAt(t);
        for (size_t i = 0; i < greetings.size(); ++i)
            greetings[i]->channels[7] = alphas[i];
        return differenceBetween(with, without);
    };
    EXPECT_LT(greetingsShown(105.5f).share, 0.001);
    Difference fading = greetingsShown(106.0f);
    Difference shown = greetingsShown(106.5f);
    EXPECT_GT(fading.share, 0.005);
    EXPECT_GT(shown.brighter, fading.brighter);
    EXPECT_GT(shown.brighter, 30.0);

    // Camera 1's view, cut by the skyline: drawn without the stencil it covers more.
    ShowFrame cut = run.frameAt(130.0f, releases);
    std::vector<hlv::BrushScene*> views = activeBrushes<hlv::BrushScene>();
    auto second = std::find_if(views.begin(), views.end(), [](hlv::BrushScene* view) { return view->cameraIndex == 1; });
    ASSERT_NE(second, views.end());
    const uint32_t function = (*second)->stencilFunction;
    (*second)->stencilFunction = GL_ALWAYS;
    ShowFrame uncut = run.frameAt(130.0f);
    (*second)->stencilFunction = function;
    EXPECT_GT(differenceBetween(cut, uncut).share, 0.02);
    EXPECT_LT(cut.meanDifference(run.frameAt(130.0f).rgb), 0.5) << "the cut is the same frame after frame";

    // The last flash rising at 241 and white over the logo's first frames,
    // then the logo alone over the end scene.
    double rising = run.frameAt(240.75f, releases).meanLuminance(0, 0, 800, 600);
    EXPECT_GT(run.frameAt(241.0f, releases).meanLuminance(0, 0, 800, 600), rising + 15.0);
    EXPECT_GT(run.frameAt(241.25f, releases).shareAtLeast(245), 0.95);
    EXPECT_LT(run.frameAt(242.5f, releases).meanDifference(logo), 6.0);
    EXPECT_LT(run.frameAt(kShowEnd, releases).meanDifference(logo), 6.0);

    // Only what the table keeps.
    for (const ShowAsset& asset : showAssets())
        EXPECT_EQ(isHeld(asset), asset.releasedAt > kShowEnd) << asset.name;
    EXPECT_EQ(BitmapManager::instance().size(), 1u);
    EXPECT_EQ(meshManager.size(), 0u);
    EXPECT_EQ(sceneManager.size(), 2u);
}

// Load-during-show mode: each of the three scenes starts loading in the first
// frame at or after its time, the cubes are ready in the frame at 75.45,
// assets go as in the preloaded show and the run ends without error.
TEST(ShowRunTest, LoadDuringShowLoadsTheScenesOnTime)
{
    ShowRun run(true, kFramesPerSecond);
    ASSERT_TRUE(run.started());
    const char* const scenes[3] = {"demo\\cubes.hlv", "demo\\metaballs.hlv", "demo\\fin2.hlv"};
    const float loadTimes[3] = {72.1f, 90.6f, 159.1f};
    for (const char* scene : scenes)
        EXPECT_FALSE(sceneManager.contains(scene)) << scene << " loaded before the show";

    ReleaseWatch releases;
    float previous = -1.0f;
    auto watch = [&](float t) {
        releases(t);
        for (int i = 0; i < 3; ++i) {
            bool due = t >= loadTimes[i];
            bool firstDue = due && previous < loadTimes[i];
            if (!due || firstDue) {
                EXPECT_EQ(sceneManager.contains(scenes[i]), due) << scenes[i] << " at " << t;
            }
        }
        previous = t;
    };

    ShowFrame cubes = run.frameAt(75.45f, watch);
    SceneEntry* entry = sceneManager.find("demo\\cubes.hlv");
    ASSERT_NE(entry, nullptr);
    EXPECT_NE(entry->scene.load(), nullptr) << "the frame at 75.45 went on without the cubes";
    EXPECT_GT(cubes.meanDifference(packPictureOnScreen("demo/SkyDrift.jpg")), 25.0);

    run.frameAt(kShowEnd, watch);
    for (const ShowAsset& asset : showAssets())
        EXPECT_EQ(isHeld(asset), asset.releasedAt > kShowEnd) << asset.name;
}
