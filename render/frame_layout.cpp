#include "render/frame_layout.h"

#include <algorithm>
#include <cstdio>

#include "render/gl_api.h"

namespace gldevice {
unsigned frameWidth = 800;
unsigned frameHeight = 600;
} // namespace gldevice

FrameRect fractionRect(float left, float bottom, float width, float height, unsigned frameWidth,
                       unsigned frameHeight)
{
    const float W = float(frameWidth), H = float(frameHeight);
    return {int(W * left), int(H * bottom), int(W * width), int(H * height)};
}

FrameRect framePart(float left, float bottom, float width, float height)
{
    return fractionRect(left, bottom, width, height, gldevice::frameWidth, gldevice::frameHeight);
}

void setFrameViewport(const FrameRect& rect)
{
    glViewport(rect.x, rect.y, rect.width, rect.height);
}

void setWholeFrameViewport()
{
    setFrameViewport({0, 0, int(gldevice::frameWidth), int(gldevice::frameHeight)});
}

FrameSize frameSizeWithin(int width, int height)
{
    // Steps of 8x6, not 4x3: the halves of the frame (the ending's four
    // views) are then whole pixels, and no row or column is left between them.
    const int steps = std::max(0, std::min(width / 8, height / 6));
    return {steps * 8, steps * 6};
}

bool parseFrameSize(const char* text, FrameSize* size)
{
    int width = 0, height = 0, consumed = 0;
    if (!text || std::sscanf(text, "%dx%d%n", &width, &height, &consumed) != 2 || text[consumed] != '\0')
        return false;
    if (width < 1 || height < 1 || width > 16384 || height > 16384)
        return false;
    *size = {width, height};
    return true;
}
