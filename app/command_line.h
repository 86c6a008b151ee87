#pragma once
// The player's command line. Every option has an environment variable of
// the same meaning (SKYDRIFT_DISPLAY, _RESOLUTION, _SAMPLES, _ANSWER,
// _DATA); an option given beats its variable.

#include <optional>
#include <string>
#include <vector>

#include "app/frame_choice.h"
#include "app/show_window.h"
#include "app/startup.h"
#include "platform/dialog.h"

struct PlayerOptions {
    bool help = false;
    bool version = false;
    std::vector<ShowDisplay> displays;       // empty: as SKYDRIFT_DISPLAY says
    std::optional<FrameChoice> resolution;   // only `native` and `size` are set
    std::optional<int> samples;
    std::optional<platform::Answer> answer;  // --answer, or No for --load-during-show
    bool unattended = false;                 // --answer: nobody at the screen, errors to standard error
    std::string data;                        // the pack's folder; empty: looked for
};

// Reads argv[1..]; false with one line in `error` for an option it does not
// know, a missing or bad value, or two options that contradict each other.
// Values may follow as the next word or after '=' (--samples=4).
bool parsePlayerOptions(int argc, const char* const* argv, PlayerOptions* options, std::string* error);

// The start-up the options ask for, the variables filling in what they
// leave. An answer given skips the question (cancel is left to the
// question, which platform::setAnswer answers).
StartupOptions startupOptionsFor(const PlayerOptions& options);

extern const char* const kPlayerUsage;
