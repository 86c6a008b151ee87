#include "tools/render/frame_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include <unistd.h>

#include "app/main_loop.h"
#include "render/device.h"
#include "render/frame_picture.h"
#include "render/gl_api.h"
#include "tools/writers/picture_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

FrameRunner::~FrameRunner()
{
    if (raw_)
        std::fclose(raw_);
}

bool FrameRunner::open()
{
    if (options_.rawFramesPath.empty())
        return true;
    raw_ = std::fopen(options_.rawFramesPath.c_str(), "wb");
    if (!raw_)
        std::fprintf(stderr, "Cannot write %s\n", options_.rawFramesPath.c_str());
    return raw_ != nullptr;
}

bool FrameRunner::frame(float t, const CaptureTime* capture)
{
    std::vector<uint8_t> pixels;
    double readBack = 0.0;
    auto grab = [&] {
        Clock::time_point start = Clock::now();
        const int frameWidth = int(gldevice::frameWidth), frameHeight = int(gldevice::frameHeight);
        tellOtherFrameSize(frameWidth, frameHeight);
        pixels = frameInPicture(readFrameRGB(), frameWidth, frameHeight, options_.width, options_.height);
        readBack = millisecondsSince(start);
    };
    const bool wanted = capture || raw_;
    Clock::time_point start = Clock::now();
    bool running = wanted ? runFrame([t] { return t; }, grab) : runFrame([t] { return t; });
    glFinish();
    double elapsed = millisecondsSince(start) - readBack;
    if (!running) {
        std::fprintf(stderr, "The window was closed at show time %.3f\n", static_cast<double>(t));
        return false;
    }
    times_.push_back(elapsed);
    sections_.add(t, elapsed);
    progress(t, elapsed);
    if (capture && !writePicture(*capture, pixels))
        return false;
    return !raw_ || writeRaw(pixels);
}

void FrameRunner::progress(float t, double milliseconds)
{
    if (!options_.quiet) {
        std::printf("frame %zu t=%.3f %.2f ms\n", times_.size() - 1, static_cast<double>(t), milliseconds);
        return;
    }
    // A carriage-return line is for a person watching; in a log file it
    // would pile up into one endless line.
    if (!isatty(fileno(stderr)))
        return;
    const long second = static_cast<long>(t);
    if (second == lastReportedSecond_)
        return;
    lastReportedSecond_ = second;
    float end = options_.untilSeconds;
    if (!options_.captures.empty())
        end = std::max(end, options_.captures.back().seconds);
    std::fprintf(stderr, "\rrendered %ld of %.0f s", second, static_cast<double>(end));
    std::fflush(stderr);
    progressShown_ = true;
}

void FrameRunner::endProgress() const
{
    if (progressShown_)
        std::fprintf(stderr, "\n");
}

void FrameRunner::tellOtherFrameSize(int frameWidth, int frameHeight)
{
    const FrameSize asked = frameSizeWithin(options_.width, options_.height);
    if (toldOtherFrameSize_ || asked == FrameSize{frameWidth, frameHeight})
        return;
    toldOtherFrameSize_ = true;
    std::fprintf(stderr,
                 "This OpenGL drew the show at %dx%d, not at the %dx%d asked: it is scaled into the %dx%d pictures\n",
                 frameWidth, frameHeight, asked.width, asked.height, options_.width, options_.height);
}

bool FrameRunner::writePicture(const CaptureTime& capture, const std::vector<uint8_t>& pixels)
{
    std::string path = options_.outputFolder + "/frame-" + capture.text + ".png";
    if (!writers::writePng(path, pixels.data(), unsigned(options_.width), unsigned(options_.height), 3)) {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
        return false;
    }
    if (!options_.quiet)
        std::printf("wrote %s\n", path.c_str());
    return true;
}

bool FrameRunner::writeRaw(const std::vector<uint8_t>& pixels)
{
    if (std::fwrite(pixels.data(), 1, pixels.size(), raw_) == pixels.size())
        return true;
    std::fprintf(stderr, "Cannot write a frame to %s\n", options_.rawFramesPath.c_str());
    return false;
}
