#include "app/show_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/window.h"

namespace {

platform::WindowOptions windowOptions(ShowDisplay display, const ShowWindowSize& size, bool hidden)
{
    platform::WindowOptions options;
    options.width = size.width;
    options.height = size.height;
    options.refreshRate = size.refreshRate;
    options.hidden = hidden;
    options.fullScreen = display == ShowDisplay::Mode;
    options.fillDesktop = display == ShowDisplay::Desktop;
    options.resizable = display == ShowDisplay::Window;
    if (display == ShowDisplay::Window)
        options.title = "Sky Drift";  // a window among others says what it is
    return options;
}

} // namespace

std::vector<ShowDisplay> displaysToTry()
{
    const char* value = std::getenv("SKYDRIFT_DISPLAY");
    if (value && *value) {
        if (std::strcmp(value, "mode") == 0)
            return {ShowDisplay::Mode};
        if (std::strcmp(value, "desktop") == 0)
            return {ShowDisplay::Desktop};
        if (std::strcmp(value, "window") == 0)
            return {ShowDisplay::Window};
        std::fprintf(stderr, "SKYDRIFT_DISPLAY=%s is not mode, desktop or window; the display is chosen as usual\n",
                     value);
    }
    return {ShowDisplay::Desktop, ShowDisplay::Mode};
}

platform::Window* openShowWindow(const std::vector<ShowDisplay>& displays, const ShowWindowSize& size, bool hidden,
                                 ShowDisplay* opened)
{
    std::string reasons;
    for (ShowDisplay display : displays) {
        std::string why;
        if (platform::Window* window = platform::createWindow(windowOptions(display, size, hidden), &why)) {
            *opened = display;
            return window;
        }
        reasons += why + "\n";
    }
    std::fputs(reasons.c_str(), stderr);
    return nullptr;
}
