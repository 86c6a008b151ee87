#include "render/viewport.h"

#include <algorithm>

#include "render/device.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"

namespace gldevice {

namespace {

// Clip-space x and y of the rectangle, scaled and shifted onto the part drawn.
struct Correction {
    float scaleX = 1, scaleY = 1, shiftX = 0, shiftY = 0;
    bool identity() const { return scaleX == 1 && scaleY == 1 && shiftX == 0 && shiftY == 0; }
};
Correction g_correction;

// One axis: the rectangle [start, start + size) cut to [0, limit).
void clipAxis(int start, int size, int limit, int& clippedStart, int& clippedSize, float& scale, float& shift)
{
    const long long end = std::min<long long>(static_cast<long long>(start) + size, limit);
    clippedStart = std::clamp(start, 0, limit);
    clippedSize = static_cast<int>(std::max<long long>(end - clippedStart, 0));
    if (clippedSize == 0 || clippedSize == size) {
        // Nothing drawn, or nothing cut on this axis.
        scale = 1;
        shift = 0;
        return;
    }
    scale = static_cast<float>(size) / static_cast<float>(clippedSize);
    shift = static_cast<float>(2.0 * (static_cast<double>(start) - clippedStart) + size - clippedSize) /
            static_cast<float>(clippedSize);
}

} // namespace

void setViewport(int x, int y, int width, int height)
{
    int cx, cy, cw, ch;
    Correction c;
    clipAxis(x, std::max(width, 0), static_cast<int>(screenWidth), cx, cw, c.scaleX, c.shiftX);
    clipAxis(y, std::max(height, 0), static_cast<int>(screenHeight), cy, ch, c.scaleY, c.shiftY);
    g_correction = c;
    glViewport(cx, cy, cw, ch);
}

void setScreenViewport()
{
    g_correction = Correction{};
    glViewport(0, 0, static_cast<GLsizei>(screenWidth), static_cast<GLsizei>(screenHeight));
}

void loadViewportCorrection()
{
    GLStateCache::instance().setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (g_correction.identity())
        return;
    glTranslatef(g_correction.shiftX, g_correction.shiftY, 0);
    glScalef(g_correction.scaleX, g_correction.scaleY, 1);
}

} // namespace gldevice
