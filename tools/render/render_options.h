#pragma once
#include <string>
#include <vector>

// One show time to capture, and the text it was given as (the file name
// carries the text unchanged).
struct CaptureTime {
    float seconds = 0.0f;
    std::string text;
};

struct RenderOptions {
    std::vector<CaptureTime> captures;  // ascending
    std::string outputFolder = ".";
    int framesPerSecond = 60;
    bool loadDuringShow = false;
};

// Reads the command line; false with a message in `error` on bad input.
bool parseRenderOptions(int argc, char** argv, RenderOptions* options, std::string* error);

extern const char* const kRenderUsage;
