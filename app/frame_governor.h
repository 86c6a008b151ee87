#pragma once
// Holding the display's refresh: the frame sizes and sample counts the
// show may step down through, and the decision, from measured frame times,
// to step. Plain logic; the player applies the decisions (app/frame_rate_keeper.h).

#include <cstddef>
#include <vector>

#include "render/frame_layout.h"

struct FrameLevel {
    FrameSize size;
    int samples = 1;
    bool operator==(const FrameLevel& other) const { return size == other.size && samples == other.samples; }
};

// The levels from `chosen` down, best first: the samples halved at the
// chosen size down to one, then smaller 4:3 frames with one sample, each
// about half the pixels of the one before (in steps of 8x6), ending at
// 800x600. A pinned size keeps the size, pinned samples keep the samples.
std::vector<FrameLevel> frameLevels(const FrameLevel& chosen, bool sizePinned, bool samplesPinned);

class FrameGovernor {
public:
    enum class Decision { Keep, StepDown, StepUp };

    // Frames this many in a row decide; the first few after a change are
    // not counted (the new frame's first draws cost more).
    static constexpr size_t kWindow = 30;
    static constexpr size_t kSettle = 3;

    // Starts at levels[0]; `refreshMilliseconds` is the display's frame period.
    FrameGovernor(std::vector<FrameLevel> levels, double refreshMilliseconds);

    // Each frame's time, from the start of one frame to the start of the
    // next. Steps down when more than a quarter of a window's frames
    // missed the refresh (took over 1.25 periods): a load or a cut costs a
    // frame or two, not a quarter. Steps up only on the first frame of a
    // section (sectionStarted), one level, when the last window's frames
    // nearly all (nine in ten) took under half a period; never otherwise,
    // so the picture does not change size within a section.
    Decision frameDrawn(double milliseconds);
    void sectionStarted() { sectionStart_ = true; }

    const FrameLevel& level() const { return levels_[index_]; }
    size_t levelIndex() const { return index_; }
    bool lowest() const { return index_ + 1 >= levels_.size(); }

private:
    Decision change(Decision decision);

    std::vector<FrameLevel> levels_;
    double refresh_;
    size_t index_ = 0;
    size_t settle_ = kSettle;
    std::vector<double> window_;
    bool roomAbove_ = false;  // the last full window had room for the level above
    bool sectionStart_ = false;
};
