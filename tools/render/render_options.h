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
    float untilSeconds = 0.0f;      // every frame before this time is rendered
    std::string rawFramesPath;      // every frame as 800x600 RGB24, top row first
    std::string soundtrackPath;     // the show's sound as float stereo 44100 Hz, no picture
    bool sectionReport = false;     // frame times per section and peak memory
    bool quiet = false;             // a progress line per show second instead of a line per frame
};

// Reads the command line; false with a message in `error` on bad input.
bool parseRenderOptions(int argc, char** argv, RenderOptions* options, std::string* error);

extern const char* const kRenderUsage;
