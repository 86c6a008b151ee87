#pragma once
// The program's one window, the display mode and the event pump.

namespace platform {

struct Window;

struct WindowOptions {
    int width = 800;
    int height = 600;
    bool fullScreen = true;   // change the display mode to width x height x 32
    int refreshRate = 60;     // for the full-screen mode, in hertz
    bool hidden = false;      // tools and tests render without showing it
    const char* title = "REVUR";
};

// Creates the window with the GL pixel-format request already attached
// (RGBA 8888, depth 24, stencil 8, double-buffered). Null on failure, after
// undoing any mode change.
Window* createWindow(const WindowOptions& options);
void destroyWindow(Window* window);
Window* mainWindow();

// Puts the desktop's own display mode back (harmless when unchanged).
void restoreDisplayMode();

// Bits per pixel of the desktop.
int desktopBitsPerPixel();

// Handles every pending event without blocking. Escape asks the window to
// close; closing the window posts the quit. Returns false once quit was posted.
bool pumpEvents();

// Asks the window to close, as Escape does.
void requestClose();

} // namespace platform
