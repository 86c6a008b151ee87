#pragma once
#include <cstdint>
#include <string>

#include "timeline/brush.h"

namespace hlv {

// Draws a whole loaded scene, evaluated at the local time, into a screen
// rectangle: channels 0..3 are left, top, width and height as fractions of
// the screen, from the top-left corner. The rectangle is first reset to the
// scene's backdrop colour (or, without backdrop fill, only to the far
// depth), where an optional stencil test passes. Waits for a background
// load of its scene that has not finished yet.
class BrushScene : public Brush {
public:
    void render(float localTime) override;

    std::string sceneName;          // a scene held by the scene manager
    int cameraIndex = 0;
    bool backdropFill = true;
    uint32_t stencilFunction = 0x0207;  // GL_ALWAYS: no stencil test
    int32_t stencilReference = 0;
    uint32_t stencilMask = 0xFFFFFFFF;
};

} // namespace hlv
