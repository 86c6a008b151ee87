#pragma once

namespace platform {
struct Window;
}

// Publishes the screen size and the window, builds the device and, once it
// stands, registers the scene-file classes. The device draws into an
// offscreen frame of width x height where the driver can make one, so that
// a frame is the same pixels in every window, whatever its size, and
// whoever reads it. False when the device could not be built (no current
// device then).
bool InitGL(platform::Window* window, int unused, unsigned width, unsigned height);
