// What presenting a frame costs: the device's present (the offscreen
// frame's copy into the window, then the swap) against the swap alone, for
// windows of the frame's size (the display mode, the tools), of a 1920x1080
// desktop (scaled to 1440x1080 between bars) and of a 1280x1024 one (bars
// above and below). Each figure is the median and the 90th percentile of
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

constexpr int kFrameWidth = 800, kFrameHeight = 600;
constexpr int kRuns = 300;

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

bool benchWindow(int width, int height)
{
    platform::WindowOptions options;
    options.fullScreen = false;
    options.width = width;
    options.height = height;
    platform::Window* window = platform::createWindow(options);
    if (!window)
        return false;
    bool measured = false;
    try {
        HL_3Ddevice device(window);
        gldevice::swapIntervalRequest = 0;  // every present timed, none held to the display
        if (device.drawOffscreen(kFrameWidth, kFrameHeight)) {
            int drawableWidth = 0, drawableHeight = 0;
            platform::drawableSize(window, &drawableWidth, &drawableHeight);
            const Figures present = measure([&] { device.present(); });
            const Figures copy = measure([&] { device.offscreenFrame->copyToWindow(drawableWidth, drawableHeight); });
            std::unique_ptr<OffscreenFrame> frame = std::move(device.offscreenFrame);
            const Figures swap = measure([&] { device.present(); });
            device.offscreenFrame = std::move(frame);
            const FrameRect fit = fitFrame(kFrameWidth, kFrameHeight, drawableWidth, drawableHeight);
            std::printf("window %4dx%-4d frame at %4dx%-4d  present %6.3f ms (p90 %6.3f)  copy %6.3f ms (p90 %6.3f)"
                        "  swap alone %6.3f ms (p90 %6.3f)  present - swap %+6.3f ms\n",
                        drawableWidth, drawableHeight, fit.width, fit.height, present.median, present.p90,
                        copy.median, copy.p90, swap.median, swap.p90, present.median - swap.median);
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
    const int sizes[][2] = {{800, 600}, {1920, 1080}, {1280, 1024}};
    for (const auto& size : sizes)
        if (!benchWindow(size[0], size[1]))
            return 1;
    return 0;
}
