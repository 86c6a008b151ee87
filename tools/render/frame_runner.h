#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/render_options.h"
#include "tools/render/show_sections.h"

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
    // Ends the progress line, if one was shown.
    void endProgress() const;

private:
    bool writePicture(const CaptureTime& capture, const std::vector<uint8_t>& pixels);
    bool writeRaw(const std::vector<uint8_t>& pixels);
    void progress(float t, double milliseconds);
    void tellOtherFrameSize(int frameWidth, int frameHeight);

    const RenderOptions& options_;
    std::FILE* raw_ = nullptr;
    std::vector<double> times_;
    SectionTimes sections_;
    long lastReportedSecond_ = -1;
    bool progressShown_ = false;
    bool toldOtherFrameSize_ = false;
};
