// What presenting a frame costs: the device's present (the offscreen
// frame's resolve where it has samples, its copy into the window, then the
// swap) against the swap alone, for an 800x600 frame in a window of its
// size (the display mode, the tools) and scaled into a 1920x1080 desktop,
// and for the desktop's own frames: 1440x1080 in 1920x1080 and 1280x960 in
// 1280x1024, one to one between bars, with one and with four samples. Each figure is the median and the 90th percentile of
// 300 presents, each followed by glFinish, without vertical sync. Windows
// are shown on the current display; on a smaller screen the X server clips
// what it shows, the drawing is the same.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/window.h"
#include "render/device.h"
#include "render/gl_api.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 300;

struct Case {
    int windowWidth, windowHeight, frameWidth, frameHeight, samples;
};

struct Figures {
    double median = 0.0, p90 = 0.0;
};

Figures measure(const std::function<void()>& step)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        // A fresh frame each time, as the show draws one.
        glClearColor(float(i % 7) / 7.0f, 0.5f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glFinish();
        const Clock::time_point start = Clock::now();
        step();
        glFinish();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

bool benchWindow(const Case& test)
{
    platform::WindowOptions options;
    options.fullScreen = false;
    options.width = test.windowWidth;
    options.height = test.windowHeight;
    platform::Window* window = platform::createWindow(options);
    if (!window)
        return false;
    bool measured = false;
    try {
        HL_3Ddevice device(window);
        gldevice::swapIntervalRequest = 0;  // every present timed, none held to the display
        if (device.drawOffscreen(test.frameWidth, test.frameHeight, test.samples)) {
            int drawableWidth = 0, drawableHeight = 0;
            platform::drawableSize(window, &drawableWidth, &drawableHeight);
            const Figures present = measure([&] { device.present(); });
            const Figures copy = measure([&] {
                device.offscreenFrame->copyToWindow(drawableWidth, drawableHeight);
                device.offscreenFrame->startNextFrame();
            });
            const int samples = device.offscreenFrame->samples();
            std::unique_ptr<OffscreenFrame> frame = std::move(device.offscreenFrame);
            const Figures swap = measure([&] { device.present(); });
            device.offscreenFrame = std::move(frame);
            std::printf("window %4dx%-4d frame %4dx%-4d x%d  present %6.3f ms (p90 %6.3f)  resolve+copy %6.3f ms "
                        "(p90 %6.3f)  swap alone %6.3f ms (p90 %6.3f)  present - swap %+6.3f ms\n",
                        drawableWidth, drawableHeight, test.frameWidth, test.frameHeight, samples, present.median,
                        present.p90, copy.median, copy.p90, swap.median, swap.p90, present.median - swap.median);
            measured = true;
        } else {
            std::fprintf(stderr, "present_bench: the driver has no framebuffer objects\n");
        }
    } catch (HL_3Ddevice::EError error) {
        std::fprintf(stderr, "present_bench: no OpenGL device (error %d)\n", int(error));
    }
    platform::destroyWindow(window);
    return measured;
}

} // namespace

int main()
{
    const Case cases[] = {{800, 600, 800, 600, 1},     {1920, 1080, 800, 600, 1},  {1920, 1080, 1440, 1080, 1},
                          {1920, 1080, 1440, 1080, 4}, {1280, 1024, 1280, 960, 4}};
    for (const Case& test : cases)
        if (!benchWindow(test))
            return 1;
    return 0;
}
