#pragma once

namespace platform {
struct Window;
}

// Publishes the screen size and the window, builds the device and, once it
// stands, registers the scene-file classes. False when the device could not
// be built (no current device then).
bool InitGL(platform::Window* window, int unused, unsigned width, unsigned height);
