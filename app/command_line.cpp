#include "app/command_line.h"

#include <cstring>

const char* const kPlayerUsage =
    "usage: skydrift [--window | --fullscreen] [--display desktop|mode] [--resolution native|WxH]\n"
    "                [--samples N] [--load-during-show] [--answer yes|no|cancel] [--data DIR]\n"
    "                [--help] [--version]\n"
    "Plays the show \"Sky Drift\" full screen; Escape ends it.\n"
    "  --fullscreen         full screen on the desktop at its own size, else in an 800x600 mode (default)\n"
    "  --window             in an 800x600 window that can be resized\n"
    "  --display desktop    full screen at the desktop's own resolution only\n"
    "  --display mode       full screen with the screen switched to 800x600x32\n"
    "  --resolution R       the frame's size: native (the screen's, default), 800x600 or WxH\n"
    "  --samples N          anti-aliasing samples per pixel, 1 to 32 (default 4)\n"
    "  --load-during-show   load the show during it instead of before (answers the question: No)\n"
    "  --answer A           answer the start-up question without showing it: yes (preload), no (load\n"
    "                       during the show) or cancel; error boxes then go to standard error\n"
    "  --data DIR           the folder holding the show's files (default: ../share/skydrift beside\n"
    "                       the program, ./demo, then the build tree)\n"
    "Each option has a variable: SKYDRIFT_DISPLAY=desktop|mode|window, SKYDRIFT_RESOLUTION,\n"
    "SKYDRIFT_SAMPLES, SKYDRIFT_ANSWER, SKYDRIFT_DATA; an option beats its variable.\n"
    "Exit status: 0 the question was cancelled, 1 the show ended with Escape, 2 bad usage,\n"
    "1 the show's files were not found, 255 start-up failed (no display, no OpenGL, a damaged file).\n";

namespace {

struct Argument {
    std::string name;
    std::optional<std::string> inlineValue;  // after '='
};

Argument split(const char* word)
{
    const char* equals = std::strchr(word, '=');
    if (std::strncmp(word, "--", 2) != 0 || !equals)
        return {word, std::nullopt};
    return {std::string(word, equals), std::string(equals + 1)};
}

bool readAnswer(const std::string& value, platform::Answer* answer)
{
    const std::pair<const char*, platform::Answer> answers[] = {
        {"yes", platform::Answer::Yes}, {"no", platform::Answer::No}, {"cancel", platform::Answer::Cancel}};
    for (const auto& [text, meaning] : answers)
        if (value == text) {
            *answer = meaning;
            return true;
        }
    return false;
}

bool setValue(const std::string& name, const std::string& value, PlayerOptions* options, std::string* error)
{
    auto bad = [&](const char* expected) {
        *error = name + ": \"" + value + "\" is not " + expected;
        return false;
    };
    if (name == "--display") {
        if (value == "desktop")
            options->displays = {ShowDisplay::Desktop};
        else if (value == "mode")
            options->displays = {ShowDisplay::Mode};
        else
            return bad("desktop or mode");
    } else if (name == "--resolution") {
        FrameChoice choice;
        if (value != "native") {
            if (!parseFrameSize(value.c_str(), &choice.size) || frameSizeWithin(choice.size.width,
                                                                                  choice.size.height).width == 0)
                return bad("native or a size WxH of at least 4x3 (800x600, 1440x1080)");
            choice.native = false;
        }
        options->resolution = choice;
    } else if (name == "--samples") {
        int samples = 0;
        if (!parseSamples(value.c_str(), &samples))
            return bad("a number of samples from 1 to 32");
        options->samples = samples;
    } else if (name == "--answer") {
        platform::Answer answer;
        if (!readAnswer(value, &answer))
            return bad("yes, no or cancel");
        if (options->answer && *options->answer != answer) {
            *error = "--answer " + value + " and --load-during-show (or another --answer) contradict each other";
            return false;
        }
        options->answer = answer;
        options->unattended = true;
    } else if (name == "--data") {
        if (value.empty())
            return bad("a folder");
        options->data = value;
    }
    return true;
}

} // namespace

bool parsePlayerOptions(int argc, const char* const* argv, PlayerOptions* options, std::string* error)
{
    static const char* const kTakesValue[] = {"--display", "--resolution", "--samples", "--answer", "--data"};
    bool window = false, fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        const Argument argument = split(argv[i]);
        const std::string& name = argument.name;
        bool takesValue = false;
        for (const char* option : kTakesValue)
            takesValue = takesValue || name == option;
        if (takesValue) {
            std::string value;
            if (argument.inlineValue)
                value = *argument.inlineValue;
            else if (i + 1 < argc)
                value = argv[++i];
            else {
                *error = name + " needs a value";
                return false;
            }
            if (!setValue(name, value, options, error))
                return false;
            continue;
        }
        if (argument.inlineValue) {
            *error = name + " takes no value";
            return false;
        }
        if (name == "--help" || name == "-h")
            options->help = true;
        else if (name == "--version")
            options->version = true;
        else if (name == "--window")
            window = true;
        else if (name == "--fullscreen")
            fullScreen = true;
        else if (name == "--load-during-show") {
            if (options->answer && *options->answer != platform::Answer::No) {
                *error = "--load-during-show and --answer contradict each other";
                return false;
            }
            options->answer = platform::Answer::No;
        } else {
            *error = (name.size() > 1 && name[0] == '-' ? "unknown option " : "unexpected argument ") + name;
            return false;
        }
    }
    if (window && (fullScreen || !options->displays.empty())) {
        *error = "--window and full screen (--fullscreen, --display) contradict each other";
        return false;
    }
    if (window)
        options->displays = {ShowDisplay::Window};
    else if (fullScreen && options->displays.empty())
        options->displays = {ShowDisplay::Desktop, ShowDisplay::Mode};
    return true;
}

StartupOptions startupOptionsFor(const PlayerOptions& options)
{
    StartupOptions startup;
    startup.displays = options.displays;
    if (options.resolution || options.samples) {
        FrameChoice frame = frameChoiceFromEnvironment();
        if (options.resolution) {
            frame.native = options.resolution->native;
            frame.size = options.resolution->size;
        }
        if (options.samples)
            frame.samples = *options.samples;
        startup.frame = frame;
    }
    if (options.answer && *options.answer != platform::Answer::Cancel) {
        startup.askDisclaimer = false;
        startup.loadDuringShow = *options.answer == platform::Answer::No;
    }
    return startup;
}
