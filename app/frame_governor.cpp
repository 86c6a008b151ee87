#include "app/frame_governor.h"

#include <algorithm>

namespace {

constexpr FrameSize kLayoutSize{800, 600};
constexpr double kMissed = 1.25;    // a frame over this many periods missed the refresh
constexpr double kRoomAbove = 0.5;  // frames under this many periods leave room for the level above

// The next smaller 4:3 frame: about half the pixels, whole steps of 8x6,
// never below 800x600.
FrameSize smallerFrame(const FrameSize& size)
{
    const int steps = int(double(size.width / 8) / 1.41421356);
    const FrameSize smaller{steps * 8, steps * 6};
    return smaller.width > kLayoutSize.width ? smaller : kLayoutSize;
}

} // namespace

std::vector<FrameLevel> frameLevels(const FrameLevel& chosen, bool sizePinned, bool samplesPinned)
{
    std::vector<FrameLevel> levels{chosen};
    if (!samplesPinned)
        for (int samples = chosen.samples / 2; samples >= 1; samples /= 2)
            levels.push_back({chosen.size, samples});
    if (!sizePinned)
        while (levels.back().size.width > kLayoutSize.width)
            levels.push_back({smallerFrame(levels.back().size), levels.back().samples});
    return levels;
}

FrameGovernor::FrameGovernor(std::vector<FrameLevel> levels, double refreshMilliseconds)
    : levels_(std::move(levels)), refresh_(refreshMilliseconds)
{
    window_.reserve(kWindow);
}

FrameGovernor::Decision FrameGovernor::frameDrawn(double milliseconds)
{
    const bool sectionStart = sectionStart_;
    sectionStart_ = false;
    if (sectionStart && roomAbove_ && index_ > 0) {
        --index_;
        return change(Decision::StepUp);
    }
    if (settle_ > 0) {
        --settle_;
        return Decision::Keep;
    }
    window_.push_back(milliseconds);
    if (window_.size() < kWindow)
        return Decision::Keep;
    const auto missed = std::count_if(window_.begin(), window_.end(), [this](double t) { return t > kMissed * refresh_; });
    const auto roomy = std::count_if(window_.begin(), window_.end(), [this](double t) { return t < kRoomAbove * refresh_; });
    window_.clear();
    roomAbove_ = size_t(roomy) * 10 >= kWindow * 9;
    if (size_t(missed) * 4 > kWindow && !lowest()) {
        ++index_;
        return change(Decision::StepDown);
    }
    return Decision::Keep;
}

FrameGovernor::Decision FrameGovernor::change(Decision decision)
{
    window_.clear();
    settle_ = kSettle;
    roomAbove_ = false;
    return decision;
}
