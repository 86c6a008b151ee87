#pragma once
// The show's window and how it reaches the screen.

#include <vector>

namespace platform {
struct Window;
}

enum class ShowDisplay {
    Mode,     // full screen in the frame's own display mode (800x600x32) at the ini's rate
    Desktop,  // a full-screen window at the desktop's own size, the frame at its largest 4:3 size within it
    Window,   // a resizable 800x600 window captioned "Sky Drift", the frame following its size
    Plain,    // a window of the frame's size, no mode change (tools render into it hidden)
};

struct ShowWindowSize {
    int width = 800;
    int height = 600;
    int refreshRate = 60;  // of the display mode, in hertz
};

// The displays to try, in order: the one SKYDRIFT_DISPLAY names (mode,
// desktop or window), else the desktop at its own resolution, then the
// display mode. The desktop comes first even where the screen lists an
// 800x600 mode: a flat panel would rescale that mode itself, blurred and
// often stretched, and the user's windows would be rearranged. A value it
// does not know is reported on standard error and the usual order taken.
std::vector<ShowDisplay> displaysToTry();

// Opens the first of `displays` that can be made and tells which one it
// was. Null when none could be made, with each one's reason on standard
// error.
platform::Window* openShowWindow(const std::vector<ShowDisplay>& displays, const ShowWindowSize& size, bool hidden,
                                 ShowDisplay* opened);
