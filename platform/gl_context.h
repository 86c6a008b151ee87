#pragma once
// OpenGL contexts on the program's window, and the pixel-format request.
// These are the window-system services that the entry-point table binds
// under their original names (wglCreateContext, SwapBuffers, ...).

#include <cstdint>

namespace platform {

struct Window;
struct GLContext;

// The fields of a pixel-format request and of the format the driver granted.
struct PixelFormatDescriptor {
    uint16_t size = 40;
    uint16_t version = 1;
    uint32_t flags = 0;
    uint8_t pixelType = 0;     // kPixelTypeRGBA or kPixelTypeColorIndex
    uint8_t colorBits = 0;     // red + green + blue + alpha bits
    uint8_t alphaBits = 0;
    uint8_t depthBits = 0;
    uint8_t stencilBits = 0;
};

inline constexpr uint8_t kPixelTypeRGBA = 0;
inline constexpr uint8_t kPixelTypeColorIndex = 1;
inline constexpr uint32_t kPfdDrawToWindow = 0x4;
inline constexpr uint32_t kPfdSupportOpenGL = 0x20;
inline constexpr uint32_t kPfdDoubleBuffer = 0x1;
inline constexpr uint32_t kPfdGenericAccelerated = 0x1000;

// The services, with the shapes the entry-point table gives them.
int choosePixelFormat(Window* window, const PixelFormatDescriptor* request);
int setPixelFormat(Window* window, int format, const PixelFormatDescriptor* request);
int describePixelFormat(Window* window, int format, unsigned size, PixelFormatDescriptor* out);
int getPixelFormat(Window* window);
int swapBuffers(Window* window);
int setSwapInterval(int interval);

// Creates a context on `window`. When another context is current on the
// calling thread, the new one shares its textures and display lists, and the
// caller's context stays current.
GLContext* createContext(Window* window);
GLContext* createLayerContext(Window* window, int layer);
int deleteContext(GLContext* context);
int copyContext(GLContext* source, GLContext* destination, unsigned mask);
// Makes `context` current on the calling thread; (null, null) releases it.
int makeCurrent(Window* window, GLContext* context);
// True when `second` was created sharing with `first`.
int shareLists(GLContext* first, GLContext* second);
GLContext* currentContext();
Window* currentWindow();
void* getProcAddress(const char* name);

} // namespace platform
