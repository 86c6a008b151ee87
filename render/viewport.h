#pragma once
// Viewports of the layers. A layer's rectangle may reach past the screen's
// edges (a zoom channel above 1, a shifted layer). The GL viewport is set to
// the part on the screen only, and the projection takes the rest: llvmpipe
// can spend tens of seconds rasterising one frame through a viewport larger
// than its drawable, while the picture is the same either way.

namespace gldevice {

// The rectangle in window pixels, bottom-left origin.
void setViewport(int x, int y, int width, int height);
// The whole screen, with no correction.
void setScreenViewport();

// Makes GL_PROJECTION current and loads into it the map from the rectangle's
// clip space to the on-screen part's: identity when the rectangle is on the
// screen. Callers multiply their own projection onto it.
void loadViewportCorrection();

} // namespace gldevice
