#pragma once
// The frame the show is drawn into: its size and its samples.

#include "render/frame_layout.h"

struct FrameChoice {
    bool native = true;        // the largest 4:3 frame of the window's drawable, re-made as it changes
    FrameSize size{800, 600};  // without `native`: the largest 4:3 frame within this size
    int samples = 0;           // as many as the driver offers up to this; 1 for none; 0: samplesFor's default

    // The samples asked, or by default 4, and 1 for the fixed 800x600
    // frame, the show's own picture.
    int samplesFor(const FrameSize& frame) const;
};

// The choice SKYDRIFT_RESOLUTION (native, 800x600 or WxH) and
// SKYDRIFT_SAMPLES (N) make; native with the default samples without them.
// A value it cannot read is reported on standard error and the default taken.
FrameChoice frameChoiceFromEnvironment();

// Makes the chosen frame on the current device, which draws into InitGL's
// 800x600 frame: the display mode (`displayMode`) keeps 800x600. A size
// the driver cannot make even with one sample leaves 800x600 with one
// sample, reported on standard error; a native frame keeps following the
// window (also when the window has no pixels yet).
void drawChosenFrame(FrameChoice choice, bool displayMode);

// The choice drawChosenFrame last made the frame for (the display mode's
// as a fixed 800x600); the default choice before it.
const FrameChoice& lastFrameChoice();

// Reads a sample count, 1 to 32; false for anything else.
bool parseSamples(const char* text, int* samples);
