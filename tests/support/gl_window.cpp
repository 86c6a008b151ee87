#include "tests/support/gl_window.h"

#include <dlfcn.h>
#include <link.h>

#include <string>

#include "app/init_gl.h"
#include "app/main_loop.h"
#include "platform/window.h"
#include "render/device.h"

namespace {

// Marks every library loaded so far as never to be unloaded. Mesa keeps a
// few blocks for the life of the process (the driver's, and GL's function
// names in libglapi). A test process unloads the GL stack before its leak
// check (closing the display unloads the driver), and once a library is
// unmapped, nothing refers to its blocks: they would be reported as leaks
// from "<unknown module>". Left mapped, the libraries' data still holds them
// at the check, as in a program that exits with its display open. A marked
// library stays whatever dlclose calls follow, not just for one of them.
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
        dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

// The window is closed at the end of the test program as the show closes its
// own, and the display with it: the driver's screen, and with it llvmpipe's
// worker threads, then goes before the process exits instead of running on
// into the leak check.
class TestWindowCloser : public ::testing::Environment {
public:
    void TearDown() override
    {
        keepLibrariesLoaded();  // and those a test loaded
        if (gldevice::current)
            shutDownShow();
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
    else
        keepLibrariesLoaded();  // the GL stack, before anything can unload it
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
