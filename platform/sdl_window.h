#pragma once
// What the platform files know about the window behind platform::Window.
// Included only inside platform/.

#include <SDL.h>

#include <string>

namespace platform {

struct Window {
    SDL_Window* sdl = nullptr;
    bool fullScreen = false;  // in the display mode it changed to
    int pixelFormat = 0;  // set once by setPixelFormat, as on the original
};

// Starts SDL's video subsystem on first use; false when no display can be
// reached, with the reason in `why` when given, else on standard error.
bool ensureVideo(std::string* why = nullptr);

} // namespace platform
