#include "tests/support/virtual_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace {

// The lowest set bit of a channel mask, to shift the channel down by.
int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

VirtualScreen::VirtualScreen(int width, int height) : width_(width), height_(height)
{
    // Xvfb picks a free display itself and writes its number once it accepts clients.
    int ready[2];
    if (pipe(ready) != 0)
        return;
    const std::string fd = std::to_string(ready[1]);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const bool spawned =
        posix_spawnp(&server_, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (!spawned) {
        server_ = -1;
        close(ready[0]);
        return;
    }
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 20000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (!number.empty() && c == '\n')
        display_ = ":" + number;
}

VirtualScreen::~VirtualScreen()
{
    if (server_ > 0) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
}

std::vector<uint8_t> VirtualScreen::capture() const
{
    std::vector<uint8_t> rgb;
    Display* connection = started() ? XOpenDisplay(display_.c_str()) : nullptr;
    if (!connection)
        return rgb;
    XImage* image = XGetImage(connection, DefaultRootWindow(connection), 0, 0, unsigned(width_), unsigned(height_),
                              AllPlanes, ZPixmap);
    if (image) {
        const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
        const int shifts[3] = {shiftOf(masks[0]), shiftOf(masks[1]), shiftOf(masks[2])};
        rgb.resize(size_t(width_) * size_t(height_) * 3);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                for (int c = 0; c < 3; ++c)
                    rgb[(size_t(y) * size_t(width_) + size_t(x)) * 3 + size_t(c)] =
                        uint8_t((pixel & masks[c]) >> shifts[c]);
            }
        XDestroyImage(image);
    }
    XCloseDisplay(connection);
    return rgb;
}
