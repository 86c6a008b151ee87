#include "app/frame_choice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool parseSamples(const char* text, int* samples)
{
    char* end = nullptr;
    const long value = text ? std::strtol(text, &end, 10) : 0;
    if (!text || end == text || *end != '\0' || value < 1 || value > 32)
        return false;
    *samples = int(value);
    return true;
}

FrameChoice frameChoiceFromEnvironment()
{
    FrameChoice choice;
    const char* resolution = std::getenv("SKYDRIFT_RESOLUTION");
    if (resolution && *resolution && std::strcmp(resolution, "native") != 0) {
        if (parseFrameSize(resolution, &choice.size))
            choice.native = false;
        else
            std::fprintf(stderr, "SKYDRIFT_RESOLUTION=%s is not native or WxH (800x600, 1440x1080...); the "
                                 "window's own resolution is taken\n", resolution);
    }
    const char* samples = std::getenv("SKYDRIFT_SAMPLES");
    if (samples && *samples && !parseSamples(samples, &choice.samples))
        std::fprintf(stderr, "SKYDRIFT_SAMPLES=%s is not a number of samples from 1 to 32; %d are taken\n", samples,
                     choice.samples);
    return choice;
}
