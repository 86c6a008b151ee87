#pragma once
// An X screen of a test's own, of any size: Xvfb on a free display number,
// stopped with the object. Tests of how the program meets the screen need
// sizes other than the suite's 800x600 display.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

class VirtualScreen {
public:
    VirtualScreen(int width, int height);
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    bool started() const { return !display_.empty(); }
    const std::string& display() const { return display_; }  // ":N"
    int width() const { return width_; }
    int height() const { return height_; }

    // What the screen shows, RGB, top row first; empty when it cannot be read.
    std::vector<uint8_t> capture() const;

private:
    int width_, height_;
    pid_t server_ = -1;
    std::string display_;
};
