#pragma once
#include <optional>
#include <vector>

#include "app/frame_choice.h"
#include "app/show_window.h"

struct StartupOptions {
    bool askDisclaimer = true;    // false: `loadDuringShow` is the answer
    bool loadDuringShow = false;
    bool fullScreen = true;       // the program's display choice (displaysToTry); false: a plain window
    std::vector<ShowDisplay> displays;  // with fullScreen, the displays to try instead of displaysToTry's
    bool hidden = false;          // tools render without showing the window
    std::optional<FrameChoice> frame;  // unset: as the environment chooses (frameChoiceFromEnvironment)
};

// Start-up up to the show clock: disclaimer, window and display, the
// device, the extension check, the loading frame, the loading tune, the
// show, the fade and the main stream. Returns the exit code when the
// program must end here (0 cancelled, -1 failed: also when nobody could be
// asked), nothing when the show is ready to run.
std::optional<int> startUp(const StartupOptions& options);

// The disclaimer's text.
extern const char* const kDisclaimerText;
