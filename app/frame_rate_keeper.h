#pragma once
// The interactive player's hold on the display's refresh: it times every
// frame and makes the frame again at the level FrameGovernor decides, one
// line on standard error a step. The render tool never uses it: its frames
// must not depend on how fast the machine is.

#include <memory>

#include "app/frame_choice.h"
#include "app/frame_governor.h"

class FrameRateKeeper {
public:
    // Governs the current device's frame, from the level it was made at,
    // within what `choice` pins, at `refreshHertz` (60 when 0). Idle when
    // the show draws into the window or nothing is left to choose.
    FrameRateKeeper(const FrameChoice& choice, int refreshHertz);
    ~FrameRateKeeper();

    // After each frame, with the show time it drew and its time from the
    // start of the frame before (the first frame's is not counted). True
    // when the frame was made again: the time until the next frame then
    // holds the remake, not a frame.
    bool frameDrawn(float showTime, double milliseconds);

    bool governing() const { return governor_ != nullptr; }

private:
    void governFrom(const FrameLevel& made);

    std::unique_ptr<FrameGovernor> governor_;
    double refreshMilliseconds_ = 0.0;
    bool sizePinned_, samplesPinned_;
    FrameLevel made_;  // the frame as the keeper last saw it made
    size_t section_ = 0;
};
