#include "tests/support/gl_window.h"

#include <dlfcn.h>
#include <link.h>

#include <string>

#include "app/init_gl.h"
#include "app/main_loop.h"
#include "platform/window.h"
#include "render/device.h"

namespace {

// Takes one more reference on every library loaded so far. Closing the
// display unloads the GL driver, yet the driver keeps a few blocks for the
// life of the process; left mapped, its data still holds them at the leak
// check, as it does in a program that exits with the display open.
void keepLibrariesLoaded()
{
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            if (info->dlpi_name && *info->dlpi_name)
                static_cast<std::vector<std::string>*>(found)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    for (const std::string& name : names)
        dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
}

// The window is closed at the end of the test program as the show closes its
// own, and the display with it: the driver's screen, and with it llvmpipe's
// worker threads, then goes before the process exits instead of running on
// into the leak check.
class TestWindowCloser : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (gldevice::current)
            shutDownShow();
        keepLibrariesLoaded();
        platform::closeDisplay();
    }
};

} // namespace

bool openTestWindow()
{
    static bool failed = false;
    if (gldevice::current)
        return true;
    if (failed)
        return false;
    static const bool closerAdded = (::testing::AddGlobalTestEnvironment(new TestWindowCloser), true);
    (void)closerAdded;
    platform::WindowOptions options;
    options.fullScreen = false;
    options.hidden = true;
    platform::Window* window = platform::createWindow(options);
    failed = !window || !InitGL(window, 0, 800, 600);
    if (failed)
        platform::destroyWindow(window);
    return !failed;
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
