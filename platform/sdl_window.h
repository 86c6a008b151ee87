#pragma once
// What the platform files know about the window behind platform::Window.
// Included only inside platform/.

#include <SDL.h>

namespace platform {

struct Window {
    SDL_Window* sdl = nullptr;
    bool fullScreen = false;
    int pixelFormat = 0;  // set once by setPixelFormat, as on the original
};

// Starts SDL's video subsystem on first use; false (with the reason on
// standard error) when no display can be reached.
bool ensureVideo();

} // namespace platform
