#include "platform/window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/runtime_directory.h"
#include "platform/sdl_window.h"

namespace platform {

namespace {

Window* g_mainWindow = nullptr;

// Refresh rates a display reporting no rate of its own (Xvfb, some virtual
// machines) is taken to run: anything a real monitor could. A rate outside
// this range can never be set, so the mode change fails as it would on a
// display that lists its rates.
constexpr int kLowestRefreshRate = 24;
constexpr int kHighestRefreshRate = 500;

bool refreshRateFits(int reported, int requested)
{
    // 0 and 1 ask for the display's default rate, as on the original platform.
    if (requested == 0 || requested == 1)
        return true;
    if (reported == 0)
        return requested >= kLowestRefreshRate && requested <= kHighestRefreshRate;
    // Drivers round fractional rates (59.94 Hz) either way.
    return std::abs(reported - requested) <= 1;
}

bool findFullScreenMode(const WindowOptions& options, SDL_DisplayMode* found)
{
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0)
            continue;
        if (mode.w == options.width && mode.h == options.height && SDL_BYTESPERPIXEL(mode.format) == 4
            && refreshRateFits(mode.refresh_rate, options.refreshRate)) {
            *found = mode;
            return true;
        }
    }
    return false;
}

void requestPixelFormat()
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// SDL's drivers that draw into memory only: a window there is never seen.
bool drawsOffscreenOnly()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

Window* failure(std::string* why, const std::string& reason)
{
    if (why)
        *why = reason;
    else
        std::fprintf(stderr, "%s\n", reason.c_str());
    return nullptr;
}

} // namespace

bool ensureVideo(std::string* why)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    provideRuntimeDirectory();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        failure(why, std::string("Cannot open the display: ") + SDL_GetError());
        return false;
    }
    return true;
}

Window* createWindow(const WindowOptions& options, std::string* why)
{
    if (!ensureVideo(why))
        return nullptr;
    const bool changesMode = options.fullScreen && !options.fillDesktop;
    SDL_DisplayMode mode{};
    if (changesMode && !findFullScreenMode(options, &mode))
        return failure(why, "No " + std::to_string(options.width) + "x" + std::to_string(options.height)
                                + "x32 display mode at " + std::to_string(options.refreshRate) + " Hz");
    if (!options.hidden && drawsOffscreenOnly())
        return failure(why, std::string("No screen to show the window on (SDL's ") + SDL_GetCurrentVideoDriver()
                                + " video driver)");
    requestPixelFormat();
    // A high-DPI drawable: on a scaled output (Wayland, macOS) the frame is
    // then made at the screen's own pixels, not at the logical size and
    // upscaled by the compositor. Everything sized from the window reads
    // the drawable's size.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | (options.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    int x = 0, y = 0, width = options.width, height = options.height;
    if (options.fillDesktop) {
        SDL_Rect desktop;
        if (SDL_GetDisplayBounds(0, &desktop) != 0)
            return failure(why, std::string("Cannot read the desktop's size: ") + SDL_GetError());
        // Made at the desktop's size, not only marked full-screen: without a
        // window manager to act on the mark, the window would keep its size.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
        x = desktop.x;
        y = desktop.y;
        width = desktop.w;
        height = desktop.h;
    }
    if (options.resizable) {
        flags |= SDL_WINDOW_RESIZABLE;
        x = y = SDL_WINDOWPOS_CENTERED;
    }
    SDL_Window* sdl = SDL_CreateWindow(options.title, x, y, width, height, flags);
    if (!sdl)
        return failure(why, std::string("Cannot create the window: ") + SDL_GetError());
    if (changesMode
        && (SDL_SetWindowDisplayMode(sdl, &mode) != 0 || SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN) != 0)) {
        std::string reason = std::string("Cannot change the display mode: ") + SDL_GetError();
        SDL_DestroyWindow(sdl);  // puts the desktop mode back
        return failure(why, reason);
    }
    SDL_ShowCursor(SDL_DISABLE);
    auto* window = new Window;
    window->sdl = sdl;
    window->fullScreen = changesMode;
    if (!g_mainWindow)
        g_mainWindow = window;
    return window;
}

void destroyWindow(Window* window)
{
    if (!window)
        return;
    SDL_DestroyWindow(window->sdl);
    if (window == g_mainWindow)
        g_mainWindow = nullptr;
    delete window;
}

Window* mainWindow()
{
    return g_mainWindow;
}

void drawableSize(Window* window, int* width, int* height)
{
    SDL_GL_GetDrawableSize(window->sdl, width, height);
}

int refreshRateOf(Window* window)
{
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window->sdl);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0)
        return 0;
    return mode.refresh_rate;
}

bool windowVisible(Window* window)
{
    return !(SDL_GetWindowFlags(window->sdl) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

void closeDisplay()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void restoreDisplayMode()
{
    if (g_mainWindow && g_mainWindow->fullScreen) {
        SDL_SetWindowFullscreen(g_mainWindow->sdl, 0);
        g_mainWindow->fullScreen = false;
    }
}

int desktopBitsPerPixel()
{
    SDL_DisplayMode mode;
    if (!ensureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 0;
    // A 24-bit X visual is stored in 32 bits, as the original counts it.
    return SDL_BYTESPERPIXEL(mode.format) * 8;
}

bool pumpEvents()
{
    static bool quitPosted = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (event.key.keysym.sym == SDLK_ESCAPE)
                requestClose();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                requestClose();
            break;
        case SDL_QUIT:
            quitPosted = true;
            break;
        default:
            break;
        }
    }
    return !quitPosted;
}

void requestClose()
{
    // Closing the one window ends the program, so the close and the quit it
    // leads to are one event here.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

} // namespace platform
