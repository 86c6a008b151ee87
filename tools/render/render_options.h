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
    int width = 800, height = 600;  // of the pictures written; the frame is the largest 4:3 inside, black bars beside
    int samples = 1;                // of the frame: 1 gives the show's reference pixels
    std::string rawFramesPath;      // every frame as width x height RGB24, top row first
    std::string soundtrackPath;     // the show's sound as float stereo 44100 Hz, no picture
    bool sectionReport = false;     // frame times per section and peak memory
    bool quiet = false;             // a progress line per show second instead of a line per frame
    std::string dataFolder;         // the show's files; empty: looked for as the player looks
    bool version = false;           // print the version and nothing else
};

// Reads the command line; false with a message in `error` on bad input.
bool parseRenderOptions(int argc, char** argv, RenderOptions* options, std::string* error);

extern const char* const kRenderUsage;
