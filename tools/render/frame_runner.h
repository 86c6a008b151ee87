#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/render_options.h"
#include "tools/render/show_sections.h"

// A frame of frameWidth x frameHeight RGB pixels centred in a picture of
// width x height, black beside it (the frame no larger than the picture).
std::vector<uint8_t> betweenBars(const std::vector<uint8_t>& frame, int frameWidth, int frameHeight, int width,
                                 int height);

// Renders frames of the started show at given show times, timing each one
// and writing the ones asked for.
class FrameRunner {
public:
    explicit FrameRunner(const RenderOptions& options) : options_(options) {}
    ~FrameRunner();

    // Opens the raw frame output, if any; false with a message on failure.
    bool open();
    // Renders one frame at `t`, writing it as a picture when `capture` is
    // given; false on a failure.
    bool frame(float t, const CaptureTime* capture);

    const std::vector<double>& times() const { return times_; }
    const SectionTimes& sectionTimes() const { return sections_; }

private:
    bool writePicture(const CaptureTime& capture, const std::vector<uint8_t>& pixels);
    bool writeRaw(const std::vector<uint8_t>& pixels);
    void progress(float t, double milliseconds);

    const RenderOptions& options_;
    std::FILE* raw_ = nullptr;
    std::vector<double> times_;
    SectionTimes sections_;
    long lastReportedSecond_ = -1;
};
