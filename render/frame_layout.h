#pragma once
// The show places everything on a screen of layout units, 800x600: the
// script's rectangles and viewport fractions, pictures at their own size,
// the shadow set-piece. The frame it is drawn into has pixels of its own
// (1440x1080 on a 1920x1080 desktop); this is where one becomes the other.

#include "render/offscreen_frame.h"

namespace gldevice {
// The frame's size in pixels; the layout size is screenWidth x screenHeight.
extern unsigned frameWidth;
extern unsigned frameHeight;
} // namespace gldevice

struct FrameSize {
    int width = 0, height = 0;
    bool operator==(const FrameSize& other) const { return width == other.width && height == other.height; }
};

// A part of a frameWidth x frameHeight frame given in fractions of the
// screen (left and bottom measured from the lower-left corner), in pixels,
// each value truncated.
FrameRect fractionRect(float left, float bottom, float width, float height, unsigned frameWidth,
                       unsigned frameHeight);
// The same part of the current frame.
FrameRect framePart(float left, float bottom, float width, float height);

// glViewport to a rectangle of frame pixels; to the whole frame.
void setFrameViewport(const FrameRect& rect);
void setWholeFrameViewport();

// The largest frame of the layout's 4:3 shape inside width x height, in
// whole steps of 8x6 pixels: 1440x1080 in 1920x1080, 800x600 in 800x600,
// 2128x1596 in 2560x1600; none (0x0) below 8x6.
FrameSize frameSizeWithin(int width, int height);

// Reads "WxH" (both at least 1 and at most 16384); false for anything else.
bool parseFrameSize(const char* text, FrameSize* size);
