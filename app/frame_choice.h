#pragma once
// The frame the show is drawn into: its size and its samples.

#include "render/frame_layout.h"

struct FrameChoice {
    bool native = true;        // the largest 4:3 frame of the window's drawable, re-made as it changes
    FrameSize size{800, 600};  // without `native`: the largest 4:3 frame within this size
    int samples = 4;           // as many as the driver offers up to this; 1 for none
};

// The choice SKYDRIFT_RESOLUTION (native, 800x600 or WxH) and
// SKYDRIFT_SAMPLES (N) make; native with 4 samples without them. A value
// it cannot read is reported on standard error and the default taken.
FrameChoice frameChoiceFromEnvironment();

// Reads a sample count, 1 to 32; false for anything else.
bool parseSamples(const char* text, int* samples);
