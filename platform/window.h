#pragma once
// The program's one window, the display mode and the event pump.

#include <string>

namespace platform {

struct Window;

struct WindowOptions {
    int width = 800;
    int height = 600;
    bool fullScreen = true;   // change the display mode to width x height x 32
    bool fillDesktop = false; // a full-screen window at the desktop's own size and mode instead
    bool resizable = false;   // the user may resize the window
    int refreshRate = 60;     // for the full-screen mode, in hertz
    bool hidden = false;      // tools and tests render without showing it
    const char* title = "REVUR";
};

// Creates the window with the GL pixel-format request already attached
// (RGBA 8888, depth 24, stencil 8, double-buffered). Null on failure, after
// undoing any mode change; the reason goes to `why` when given, else to
// standard error.
Window* createWindow(const WindowOptions& options, std::string* why = nullptr);
void destroyWindow(Window* window);
Window* mainWindow();

// The window's drawing surface in pixels, as it is now.
void drawableSize(Window* window, int* width, int* height);

// The refresh rate of the display showing the window, in hertz; 0 when
// the display does not tell.
int refreshRateOf(Window* window);

// False while nothing the window holds can be seen: made hidden, or minimised.
bool windowVisible(Window* window);

// Closes the connection to the display once every window is gone. The GL
// driver's screen lives as long as that connection, and with it a software
// renderer's worker threads.
void closeDisplay();

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
