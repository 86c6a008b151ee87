// skydrift-render: the program's own start-up (without the disclaimer) in a
// hidden window, driven by a virtual show clock, writing chosen frames as
// PNG pictures and timing every frame.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "app/run_guarded.h"
#include "app/startup.h"
#include "platform/dialog.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "tools/render/frame_stats.h"
#include "tools/render/render_options.h"
#include "tools/writers/picture_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The back buffer as RGB rows, top row first.
std::vector<uint8_t> readFrame()
{
    const unsigned width = gldevice::screenWidth, height = gldevice::screenHeight;
    const size_t rowBytes = size_t(width) * 3;
    std::vector<uint8_t> bottomUp(rowBytes * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<uint8_t> topDown(bottomUp.size());
    for (unsigned row = 0; row < height; ++row)
        std::copy_n(&bottomUp[(height - 1 - row) * rowBytes], rowBytes, &topDown[row * rowBytes]);
    return topDown;
}

class FrameRunner {
public:
    explicit FrameRunner(const RenderOptions& options) : options_(options) {}

    // Renders one frame at `t`, optionally writing it; false on a failure.
    bool frame(float t, const CaptureTime* capture)
    {
        std::vector<uint8_t> pixels;
        double readBack = 0.0;
        auto grab = [&] {
            Clock::time_point start = Clock::now();
            pixels = readFrame();
            readBack = millisecondsSince(start);
        };
        Clock::time_point start = Clock::now();
        bool running = capture ? runFrame([t] { return t; }, grab) : runFrame([t] { return t; });
        glFinish();
        double elapsed = millisecondsSince(start) - readBack;
        if (!running) {
            std::fprintf(stderr, "The window was closed at show time %.3f\n", t);
            return false;
        }
        times_.push_back(elapsed);
        std::printf("frame %zu t=%.3f %.2f ms\n", times_.size() - 1, t, elapsed);
        return !capture || write(*capture, pixels);
    }

    const std::vector<double>& times() const { return times_; }

private:
    bool write(const CaptureTime& capture, const std::vector<uint8_t>& pixels)
    {
        std::string path = options_.outputFolder + "/frame-" + capture.text + ".png";
        if (!writers::writePng(path, pixels.data(), gldevice::screenWidth, gldevice::screenHeight, 3)) {
            std::fprintf(stderr, "Cannot write %s\n", path.c_str());
            return false;
        }
        std::printf("wrote %s\n", path.c_str());
        return true;
    }

    const RenderOptions& options_;
    std::vector<double> times_;
};

// Every frame of the virtual clock up to each capture time, then the
// capture time itself, so that events fire as in a real run.
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
    return true;
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
    std::error_code ignored;
    std::filesystem::create_directories(options.outputFolder, ignored);

    platform::setUnattended();
    StartupOptions startup;
    startup.askDisclaimer = false;
    startup.loadDuringShow = options.loadDuringShow;
    startup.fullScreen = false;
    startup.hidden = true;
    return runGuarded([&] {
        if (auto exitCode = startUp(startup))
            return *exitCode;
        // Frames are read back, not watched: they are not held to the display's refresh.
        gldevice::swapIntervalRequest = 0;

        FrameRunner runner(options);
        bool finished = renderShow(options, runner);
        shutDownShow();
        std::printf("%s\n", frameTimeSummary(runner.times()).c_str());
        return finished ? 0 : 1;
    });
}
