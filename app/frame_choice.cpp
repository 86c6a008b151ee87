#include "app/frame_choice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/window.h"
#include "render/device.h"

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
                     choice.samplesFor(frameSizeWithin(choice.size.width, choice.size.height)));
    return choice;
}

namespace {

constexpr FrameSize kLayoutSize{800, 600};

FrameChoice g_lastChoice;

} // namespace

const FrameChoice& lastFrameChoice()
{
    return g_lastChoice;
}

int FrameChoice::samplesFor(const FrameSize& frame) const
{
    if (samples > 0)
        return samples;
    return !native && frame == kLayoutSize ? 1 : 4;
}

void drawChosenFrame(FrameChoice choice, bool displayMode)
{
    HL_3Ddevice& device = *gldevice::current;
    if (displayMode)
        choice = {false, kLayoutSize, choice.samples};
    g_lastChoice = choice;
    FrameSize within = choice.size;
    if (choice.native)
        platform::drawableSize(device.window, &within.width, &within.height);
    const FrameSize size = frameSizeWithin(within.width, within.height);
    const int samples = choice.samplesFor(size);
    device.frameFollowsWindow = choice.native;
    device.followedSize = size;
    device.followedSamples = samples;
    // A window without pixels yet (size 0) is followed once it has some.
    if (size.width == 0 || (size == kLayoutSize && samples <= 1))
        return;  // InitGL's frame
    if (!device.drawOffscreen(unsigned(size.width), unsigned(size.height), samples)) {
        std::fprintf(stderr, "This OpenGL cannot make a %dx%d frame: the show is drawn at %dx%d\n", size.width,
                     size.height, kLayoutSize.width, kLayoutSize.height);
        device.drawOffscreen(unsigned(kLayoutSize.width), unsigned(kLayoutSize.height));
    }
}
