#include "platform/gl_context.h"

#include <cstring>

#include "platform/sdl_window.h"

namespace platform {

struct GLContext {
    SDL_GLContext sdl = nullptr;
    // Contexts that share textures and display lists carry the same group:
    // the first context of the group.
    const GLContext* shareGroup = nullptr;
};

namespace {

thread_local GLContext* t_currentContext = nullptr;
thread_local Window* t_currentWindow = nullptr;

int bits(SDL_GLattr attribute)
{
    int value = 0;
    SDL_GL_GetAttribute(attribute, &value);
    return value;
}

} // namespace

// Only one format exists: the request attached to the window when it was
// made. A colour-index request cannot be met by today's drivers.
int choosePixelFormat(Window* window, const PixelFormatDescriptor* request)
{
    return window && request && request->pixelType == kPixelTypeRGBA ? 1 : 0;
}

int setPixelFormat(Window* window, int format, const PixelFormatDescriptor*)
{
    if (!window || format != 1)
        return 0;
    window->pixelFormat = format;
    return 1;
}

// What the driver granted can only be read through a context current on
// the window, so callers describe the format after making one current.
int describePixelFormat(Window* window, int format, unsigned size, PixelFormatDescriptor* out)
{
    if (!window || format != 1 || !out || size < sizeof(PixelFormatDescriptor) || t_currentWindow != window)
        return 0;
    PixelFormatDescriptor granted;
    granted.flags = kPfdDrawToWindow | kPfdSupportOpenGL | (bits(SDL_GL_DOUBLEBUFFER) ? kPfdDoubleBuffer : 0);
    granted.pixelType = kPixelTypeRGBA;
    granted.alphaBits = static_cast<uint8_t>(bits(SDL_GL_ALPHA_SIZE));
    granted.colorBits = static_cast<uint8_t>(bits(SDL_GL_RED_SIZE) + bits(SDL_GL_GREEN_SIZE) + bits(SDL_GL_BLUE_SIZE)
                                             + granted.alphaBits);
    granted.depthBits = static_cast<uint8_t>(bits(SDL_GL_DEPTH_SIZE));
    granted.stencilBits = static_cast<uint8_t>(bits(SDL_GL_STENCIL_SIZE));
    *out = granted;
    return 1;  // the number of formats
}

int getPixelFormat(Window* window)
{
    return window ? window->pixelFormat : 0;
}

int swapBuffers(Window* window)
{
    if (!window)
        return 0;
    SDL_GL_SwapWindow(window->sdl);
    return 1;
}

int setSwapInterval(int interval)
{
    return SDL_GL_SetSwapInterval(interval) == 0 ? 1 : 0;
}

GLContext* createContext(Window* window)
{
    if (!window)
        return nullptr;
    GLContext* previous = t_currentContext;
    Window* previousWindow = t_currentWindow;
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, previous ? 1 : 0);
    SDL_GLContext sdl = SDL_GL_CreateContext(window->sdl);
    // SDL makes the new context current; the original left the caller's.
    SDL_GL_MakeCurrent(previousWindow ? previousWindow->sdl : nullptr, previous ? previous->sdl : nullptr);
    if (!sdl)
        return nullptr;
    auto* context = new GLContext;
    context->sdl = sdl;
    context->shareGroup = previous ? previous->shareGroup : context;
    return context;
}

GLContext* createLayerContext(Window* window, int layer)
{
    return layer == 0 ? createContext(window) : nullptr;
}

int deleteContext(GLContext* context)
{
    if (!context)
        return 0;
    if (t_currentContext == context) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        t_currentContext = nullptr;
        t_currentWindow = nullptr;
    }
    SDL_GL_DeleteContext(context->sdl);
    delete context;
    return 1;
}

int copyContext(GLContext*, GLContext*, unsigned)
{
    return 0;  // no window system of today copies context state
}

int makeCurrent(Window* window, GLContext* context)
{
    bool release = !context;
    if (!release && !window)
        return 0;
    if (SDL_GL_MakeCurrent(release ? nullptr : window->sdl, release ? nullptr : context->sdl) != 0)
        return 0;
    t_currentContext = context;
    t_currentWindow = release ? nullptr : window;
    return 1;
}

int shareLists(GLContext* first, GLContext* second)
{
    return first && second && first->shareGroup == second->shareGroup ? 1 : 0;
}

GLContext* currentContext()
{
    return t_currentContext;
}

Window* currentWindow()
{
    return t_currentWindow;
}

void* getProcAddress(const char* name)
{
    if (std::strcmp(name, "wglSwapIntervalEXT") == 0)
        return reinterpret_cast<void*>(&setSwapInterval);
    // The other window-system extensions (wglAllocateMemoryNV, ...) do not
    // exist here; the GL lookup would hand out stubs for them.
    if (std::strncmp(name, "wgl", 3) == 0)
        return nullptr;
    return SDL_GL_GetProcAddress(name);
}

} // namespace platform
