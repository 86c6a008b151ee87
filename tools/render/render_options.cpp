#include "tools/render/render_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/frame_choice.h"

const char* const kRenderUsage =
    "usage: skydrift-render [--at T1,T2,...] [--out DIR] [--until S] [--fps N] [--load-during-show]\n"
    "                       [--raw-frames FILE] [--sections] [--quiet] [--size WxH] [--samples N]\n"
    "       skydrift-render --soundtrack FILE --until S\n"
    "Runs the show in a hidden window on a virtual clock, from the folder that holds demo/, and\n"
    "writes DIR/frame-T.png at each show time T (seconds). --until S renders every frame before S;\n"
    "--raw-frames writes each of them to FILE (a pipe, for instance) as RGB24, top row first.\n"
    "Pictures are WxH (default 800x600): the show's 4:3 frame at the largest size that fits, black\n"
    "bars beside it; --samples N anti-aliases it with N samples (default 1, the reference frame).\n"
    "--sections prints the frame times of every section and the peak resident memory.\n"
    "--soundtrack writes the show's sound up to S as raw 32-bit float stereo at 44100 Hz.\n"
    "--data DIR reads the show's files from DIR (also SKYDRIFT_DATA); --version prints the version.\n";

namespace {

bool parseTimes(const std::string& list, std::vector<CaptureTime>* captures, std::string* error)
{
    size_t begin = 0;
    while (begin <= list.size()) {
        size_t end = list.find(',', begin);
        std::string text = list.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        char* stop = nullptr;
        errno = 0;
        float seconds = std::strtof(text.c_str(), &stop);
        if (text.empty() || *stop != '\0' || errno == ERANGE || !std::isfinite(seconds) || seconds < 0.0f) {
            *error = "--at: \"" + text + "\" is not a show time in seconds";
            return false;
        }
        captures->push_back({seconds, text});
        if (end == std::string::npos)
            break;
        begin = end + 1;
    }
    std::stable_sort(captures->begin(), captures->end(),
                     [](const CaptureTime& a, const CaptureTime& b) { return a.seconds < b.seconds; });
    return true;
}

bool parseSeconds(const char* option, const char* text, float* seconds, std::string* error)
{
    char* stop = nullptr;
    errno = 0;
    float value = std::strtof(text, &stop);
    if (*text == '\0' || *stop != '\0' || errno == ERANGE || !std::isfinite(value) || value <= 0.0f) {
        *error = std::string(option) + ": \"" + text + "\" is not a show time in seconds";
        return false;
    }
    *seconds = value;
    return true;
}

bool parseFramesPerSecond(const char* text, int* fps, std::string* error)
{
    char* stop = nullptr;
    errno = 0;
    long value = std::strtol(text, &stop, 10);
    if (*text == '\0' || *stop != '\0' || errno == ERANGE || value < 1 || value > 1000) {
        *error = std::string("--fps: \"") + text + "\" is not a frame rate from 1 to 1000";
        return false;
    }
    *fps = static_cast<int>(value);
    return true;
}

} // namespace

bool parseRenderOptions(int argc, char** argv, RenderOptions* options, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argument, "--load-during-show") == 0) {
            options->loadDuringShow = true;
        } else if (std::strcmp(argument, "--at") == 0 && hasValue) {
            if (!parseTimes(argv[++i], &options->captures, error))
                return false;
        } else if (std::strcmp(argument, "--out") == 0 && hasValue) {
            options->outputFolder = argv[++i];
        } else if (std::strcmp(argument, "--fps") == 0 && hasValue) {
            if (!parseFramesPerSecond(argv[++i], &options->framesPerSecond, error))
                return false;
        } else if (std::strcmp(argument, "--until") == 0 && hasValue) {
            if (!parseSeconds(argument, argv[++i], &options->untilSeconds, error))
                return false;
        } else if (std::strcmp(argument, "--raw-frames") == 0 && hasValue) {
            options->rawFramesPath = argv[++i];
        } else if (std::strcmp(argument, "--soundtrack") == 0 && hasValue) {
            options->soundtrackPath = argv[++i];
        } else if (std::strcmp(argument, "--size") == 0 && hasValue) {
            FrameSize size;
            if (!parseFrameSize(argv[++i], &size) || frameSizeWithin(size.width, size.height).width == 0) {
                *error = std::string("--size: \"") + argv[i] + "\" is not a picture size WxH of at least 8x6";
                return false;
            }
            options->width = size.width;
            options->height = size.height;
        } else if (std::strcmp(argument, "--samples") == 0 && hasValue) {
            if (!parseSamples(argv[++i], &options->samples)) {
                *error = std::string("--samples: \"") + argv[i] + "\" is not a number of samples from 1 to 32";
                return false;
            }
        } else if (std::strcmp(argument, "--sections") == 0) {
            options->sectionReport = true;
        } else if (std::strcmp(argument, "--quiet") == 0) {
            options->quiet = true;
        } else if (std::strcmp(argument, "--data") == 0 && hasValue) {
            options->dataFolder = argv[++i];
        } else if (std::strcmp(argument, "--version") == 0) {
            options->version = true;
            return true;
        } else {
            *error = std::string("unknown or incomplete argument \"") + argument + "\"";
            return false;
        }
    }
    if (!options->soundtrackPath.empty() && options->untilSeconds <= 0.0f) {
        *error = "--soundtrack needs --until";
        return false;
    }
    if (!options->rawFramesPath.empty() && options->untilSeconds <= 0.0f) {
        *error = "--raw-frames needs --until";
        return false;
    }
    if (options->captures.empty() && options->untilSeconds <= 0.0f) {
        *error = "--at or --until is required";
        return false;
    }
    return true;
}
