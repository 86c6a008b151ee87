#include "app/main_loop.h"

#include <chrono>

#include "app/frame_choice.h"
#include "app/frame_rate_keeper.h"
#include "app/music_steps.h"
#include "geometry/surface.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "resources/bitmap_manager.h"
#include "resources/detail_set.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "timeline/clear_show.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"

namespace {

// Scenes read in the background get their textures made this long per
// frame: one upload with its mipmaps takes a few milliseconds on a
// software renderer, all of a scene's at once a few tenths of a second.
constexpr double kUploadMillisecondsPerFrame = 4.0;

// The state every frame starts from; brushes leave everything else as they set it.
void resetFrameState()
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

} // namespace

bool runFrame(const std::function<float()>& showTime, const std::function<void()>& beforePresent)
{
    gldevice::current->followWindowSize();
    setWholeFrameViewport();
    float t = showTime();
    if (!platform::pumpEvents())
        return false;
    sceneManager.finishBackgroundLoads(kUploadMillisecondsPerFrame);
    resetFrameState();
    hlv::TimeLine::instance().advance(t);
    hlv::LayerList::instance().render(t);
    if (beforePresent)
        beforePresent();
    gldevice::current->present();
    EndFrame();
    return true;
}

void skipFrame(float showTime)
{
    hlv::TimeLine::instance().advance(showTime);
    hlv::LayerList::instance().skip(showTime);
}

void playFrames(FrameRateKeeper& keeper, const std::function<bool(float, double)>& frameDone)
{
    uint32_t start = platform::timeGetTime();
    float drawn = 0.0f;
    auto showTime = [start, &drawn] { return drawn = platform::elapsedSeconds(start, platform::timeGetTime()); };
    using Clock = std::chrono::steady_clock;
    Clock::time_point frameStart = Clock::now();
    bool first = true;
    while (runFrame(showTime)) {
        const Clock::time_point now = Clock::now();
        const double milliseconds = std::chrono::duration<double, std::milli>(now - frameStart).count();
        frameStart = now;
        // The first frame's time holds the start-up's last steps.
        if (!first && keeper.frameDrawn(drawn, milliseconds))
            frameStart = Clock::now();
        if (frameDone && !frameDone(drawn, first ? 0.0 : milliseconds))
            return;
        first = false;
    }
}

int runMainLoop()
{
    // Only the player holds the refresh; the render tool's frames stay as chosen.
    FrameRateKeeper keeper(lastFrameChoice(), platform::refreshRateOf(platform::mainWindow()));
    playFrames(keeper);
    shutDownShow();
    return 1;
}

void shutDownShow()
{
    shutDownMusic();
    // Brushes go first: those still on the layers (the endless end views,
    // the logo) and, when the run stops early, those not activated yet.
    hlv::clearShow();
    // Scenes next: releasing one waits for its loader thread, which still
    // uses its own context. Then every texture goes while the device stands.
    sceneManager.releaseAll();
    meshManager.releaseAll();
    BitmapManager::instance().releaseAll();
    // The next start-up chooses again for its own frame.
    detailset::use(false);
    ShutdownGL();
    platform::restoreDisplayMode();
    platform::destroyWindow(platform::mainWindow());
}
