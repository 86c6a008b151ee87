#include "tools/render/frame_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "app/main_loop.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "tools/writers/picture_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

std::vector<uint8_t> betweenBars(const std::vector<uint8_t>& frame, int frameWidth, int frameHeight, int width,
                                 int height)
{
    if (frameWidth == width && frameHeight == height)
        return frame;
    std::vector<uint8_t> picture(size_t(width) * size_t(height) * 3, 0);
    const FrameRect at{(width - frameWidth) / 2, (height - frameHeight) / 2, frameWidth, frameHeight};
    for (int row = 0; row < std::min(frameHeight, height); ++row)
        std::copy_n(&frame[size_t(row) * size_t(frameWidth) * 3], size_t(std::min(frameWidth, width)) * 3,
                    &picture[(size_t(at.y + row) * size_t(width) + size_t(at.x)) * 3]);
    return picture;
}

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
        pixels = betweenBars(readFrameRGB(), int(gldevice::frameWidth), int(gldevice::frameHeight), options_.width,
                             options_.height);
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
    const long second = static_cast<long>(t);
    if (second == lastReportedSecond_)
        return;
    lastReportedSecond_ = second;
    float end = options_.untilSeconds;
    if (!options_.captures.empty())
        end = std::max(end, options_.captures.back().seconds);
    std::fprintf(stderr, "\rrendered %ld of %.0f s", second, static_cast<double>(end));
    std::fflush(stderr);
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
