// skydrift-render: the program's own start-up (without the disclaimer) in a
// hidden window, driven by a virtual show clock, writing chosen frames as
// PNG pictures or every frame as raw pictures, and timing every frame. Or,
// with --soundtrack, the show's sound without any picture.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/main_loop.h"
#include "app/pack_folder.h"
#include "app/run_guarded.h"
#include "app/startup.h"
#include "platform/dialog.h"
#include "render/device.h"
#include "tools/render/frame_runner.h"
#include "tools/render/frame_stats.h"
#include "tools/render/peak_memory.h"
#include "tools/render/render_options.h"
#include "tools/render/soundtrack.h"
#include "skydrift_version.h"

namespace {

// Every frame of the virtual clock up to each capture time, then the
// capture time itself, so that events fire as in a real run; then every
// frame before the end time.
bool renderShow(const RenderOptions& options, FrameRunner& runner)
{
    long frame = 0;
    auto frameTime = [&] { return static_cast<float>(double(frame) / options.framesPerSecond); };
    for (const CaptureTime& capture : options.captures) {
        for (; frameTime() < capture.seconds; ++frame)
            if (!runner.frame(frameTime(), nullptr))
                return false;
        if (!runner.frame(capture.seconds, &capture))
            return false;
        if (frameTime() == capture.seconds)
            ++frame;
    }
    for (; frameTime() < options.untilSeconds; ++frame)
        if (!runner.frame(frameTime(), nullptr))
            return false;
    return true;
}

void printReport(const RenderOptions& options, const FrameRunner& runner, double startUpMilliseconds)
{
    runner.endProgress();
    std::printf("start-up %.0f ms (%s mode)\n", startUpMilliseconds,
                options.loadDuringShow ? "load-during-show" : "preload");
    if (options.sectionReport) {
        std::printf("%s", runner.sectionTimes().report().c_str());
        std::printf("peak resident memory %ld kB\n", peakResidentKilobytes());
    }
    std::printf("%s\n", frameTimeSummary(runner.times()).c_str());
}

int renderPictures(const RenderOptions& options)
{
    platform::setUnattended();
    StartupOptions startup;
    startup.askDisclaimer = false;
    startup.loadDuringShow = options.loadDuringShow;
    startup.fullScreen = false;
    startup.hidden = true;
    startup.frame = FrameChoice{false, {options.width, options.height}, options.samples};
    return runGuarded([&] {
        auto start = std::chrono::steady_clock::now();
        if (auto exitCode = startUp(startup))
            return *exitCode;
        double startUpMilliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        // Frames are read back, not watched: they are not held to the display's refresh.
        gldevice::swapIntervalRequest = 0;

        FrameRunner runner(options);
        bool finished = runner.open() && renderShow(options, runner);
        shutDownShow();
        printReport(options, runner, startUpMilliseconds);
        return finished ? 0 : 1;
    });
}

} // namespace

int main(int argc, char** argv)
{
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "skydrift-render: %s\n%s", error.c_str(), kRenderUsage);
        return 2;
    }
    if (options.version) {
        std::printf("skydrift-render %s\n", SKYDRIFT_VERSION);
        return 0;
    }
    if (!openShowPack("skydrift-render", options.dataFolder))
        return 1;
    if (!options.soundtrackPath.empty()) {
        if (writeSoundtrack(options.soundtrackPath, options.untilSeconds, &error))
            return 0;
        std::fprintf(stderr, "skydrift-render: %s\n", error.c_str());
        return 1;
    }
    std::error_code ignored;
    std::filesystem::create_directories(options.outputFolder, ignored);
    return renderPictures(options);
}
