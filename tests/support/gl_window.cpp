#include "tests/support/gl_window.h"

#include "app/init_gl.h"
#include "platform/window.h"
#include "render/device.h"

bool openTestWindow()
{
    static bool opened = [] {
        platform::WindowOptions options;
        options.fullScreen = false;
        options.hidden = true;
        platform::Window* window = platform::createWindow(options);
        return window && InitGL(window, 0, 800, 600);
    }();
    return opened;
}

std::vector<Rgba> readPixels(int x, int y, int width, int height)
{
    std::vector<Rgba> pixels(size_t(width) * size_t(height));
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba readPixel(int x, int y)
{
    return readPixels(x, y, 1, 1)[0];
}
