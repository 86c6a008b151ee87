#pragma once
// A finished frame put into a picture of another size, as the window shows
// it: one to one between black bars when the frame is the largest of its
// shape that fits, else scaled into the largest centred rectangle.

#include <cstdint>
#include <vector>

#include "render/offscreen_frame.h"

// Where a frame of frameWidth x frameHeight goes in a target of
// targetWidth x targetHeight: unscaled and centred when the frame is the
// target's frameSizeWithin, else fitFrame's rectangle.
FrameRect frameInTarget(int frameWidth, int frameHeight, int targetWidth, int targetHeight);

// The frame's RGB pixels (top row first) placed into a width x height RGB
// picture by frameInTarget, resampled bilinearly where the sizes differ,
// black beside it.
std::vector<uint8_t> frameInPicture(const std::vector<uint8_t>& frame, int frameWidth, int frameHeight, int width,
                                    int height);
