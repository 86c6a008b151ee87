#include "app/frame_rate_keeper.h"

#include <cstdio>

#include "app/show_sections.h"
#include "render/device.h"

namespace {

constexpr int kAssumedRefresh = 60;

FrameLevel currentLevel()
{
    return {{int(gldevice::frameWidth), int(gldevice::frameHeight)}, gldevice::current->offscreenFrame->samples()};
}

// Makes the frame again at `level` as the window-size path does; a level
// the driver cannot make leaves the frame as it was.
void drawAtLevel(const FrameLevel& level)
{
    HL_3Ddevice& device = *gldevice::current;
    const FrameLevel before = currentLevel();
    // A frame smaller than the window's no longer follows it.
    if (!(level.size == device.followedSize))
        device.frameFollowsWindow = false;
    device.followedSamples = level.samples;
    if (!device.drawOffscreen(unsigned(level.size.width), unsigned(level.size.height), level.samples)) {
        std::fprintf(stderr, "This OpenGL cannot make a %dx%d frame with %d sample(s): the frame stays as it was\n",
                     level.size.width, level.size.height, level.samples);
        device.drawOffscreen(unsigned(before.size.width), unsigned(before.size.height), before.samples);
    }
}

} // namespace

FrameRateKeeper::FrameRateKeeper(const FrameChoice& choice, int refreshHertz)
    : refreshMilliseconds_(1000.0 / (refreshHertz > 0 ? refreshHertz : kAssumedRefresh)),
      sizePinned_(!choice.native), samplesPinned_(choice.samples > 0)
{
    if (gldevice::current && gldevice::current->offscreenFrame)
        governFrom(currentLevel());
}

void FrameRateKeeper::governFrom(const FrameLevel& made)
{
    std::vector<FrameLevel> levels = frameLevels(made, sizePinned_, samplesPinned_);
    governor_.reset(levels.size() > 1 ? new FrameGovernor(std::move(levels), refreshMilliseconds_) : nullptr);
    made_ = made;
}

FrameRateKeeper::~FrameRateKeeper() = default;

bool FrameRateKeeper::frameDrawn(float showTime, double milliseconds)
{
    if (!gldevice::current->offscreenFrame)
        return false;
    // A window that changed size re-made the frame: the levels start from it.
    if (!(currentLevel() == made_))
        governFrom(currentLevel());
    if (!governor_)
        return false;
    const size_t section = sectionAt(showTime);
    if (section != section_) {
        section_ = section;
        governor_->sectionStarted();
    }
    const FrameGovernor::Decision decision = governor_->frameDrawn(milliseconds);
    if (decision == FrameGovernor::Decision::Keep)
        return false;
    const FrameLevel& level = governor_->level();
    std::fprintf(stderr, "%s: the show now draws %dx%d with %d sample(s) (%.1f ms a frame against %.1f)\n",
                 decision == FrameGovernor::Decision::StepDown ? "Frames miss the display's refresh"
                                                               : "A new section with time to spare",
                 level.size.width, level.size.height, level.samples, milliseconds, refreshMilliseconds_);
    drawAtLevel(level);
    made_ = currentLevel();
    return true;
}
