// The frame rate the player holds: the show on the real clock as the
// program plays it, in a hidden window, from the default desktop frame
// (1440x1080 with 4 samples, what a 1920x1080 desktop gets) with the
// player's frame-rate keeper stepping it down. Prints, per section, the
// frames a second shown, the worst frame, how many frames missed the
// refresh and the frame drawn at the section's end.
//   frame_rate_bench [--load-during-show] [--until S] [--size WxH] [--samples N] [--refresh HZ] [--pinned]
// Run from build/ or build/bench (it looks for demo/ there and one folder up).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/frame_rate_keeper.h"
#include "app/main_loop.h"
#include "app/run_guarded.h"
#include "app/show_sections.h"
#include "app/startup.h"
#include "bench/demo_folder.h"
#include "platform/dialog.h"
#include "render/device.h"

namespace {

struct Options {
    bool loadDuringShow = false;
    float until = 245.0f;
    FrameSize size{1440, 1080};
    int samples = 4;
    int refresh = 60;
    bool pinned = false;  // as SKYDRIFT_RESOLUTION and SKYDRIFT_SAMPLES both set: no stepping
};

bool parse(int argc, char** argv, Options* options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (argument == "--load-during-show") {
            options->loadDuringShow = true;
        } else if (argument == "--pinned") {
            options->pinned = true;
        } else if (argument == "--until" && value) {
            options->until = std::strtof(argv[++i], nullptr);
        } else if (argument == "--size" && value && parseFrameSize(value, &options->size)) {
            ++i;
        } else if (argument == "--samples" && value && parseSamples(value, &options->samples)) {
            ++i;
        } else if (argument == "--refresh" && value && std::atoi(value) > 0) {
            options->refresh = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return true;
}

struct SectionRecord {
    size_t frames = 0;
    size_t missed = 0;
    double milliseconds = 0.0;
    double worst = 0.0;
    FrameSize size;
    int samples = 0;
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, &options)) {
        std::fprintf(stderr, "usage: frame_rate_bench [--load-during-show] [--until S] [--size WxH] [--samples N] "
                             "[--refresh HZ] [--pinned]\n");
        return 2;
    }
    if (!enterDemoFolder("frame_rate_bench"))
        return 1;
    platform::setUnattended();
    StartupOptions startup;
    startup.askDisclaimer = false;
    startup.loadDuringShow = options.loadDuringShow;
    startup.fullScreen = false;
    startup.hidden = true;
    startup.frame = FrameChoice{false, options.size, options.samples};

    std::vector<SectionRecord> sections(showSections().size());
    const double refreshMilliseconds = 1000.0 / options.refresh;
    const int exitCode = runGuarded([&] {
        if (auto exitCode = startUp(startup))
            return *exitCode;
        // A hidden window is never shown: no waiting for the display.
        gldevice::swapIntervalRequest = 0;
        // The frame was made at the asked size; the keeper steps it as it
        // would a desktop's own frame, unless both are pinned.
        const FrameChoice governed = options.pinned ? *startup.frame : FrameChoice{true, options.size, 0};
        FrameRateKeeper keeper(governed, options.refresh);
        playFrames(keeper, [&](float t, double milliseconds) {
            SectionRecord& section = sections[sectionAt(t)];
            if (milliseconds > 0.0) {
                ++section.frames;
                section.milliseconds += milliseconds;
                section.worst = std::max(section.worst, milliseconds);
                section.missed += milliseconds > 1.25 * refreshMilliseconds;
            }
            section.size = {int(gldevice::frameWidth), int(gldevice::frameHeight)};
            section.samples = gldevice::current->offscreenFrame ? gldevice::current->offscreenFrame->samples() : 1;
            return t < options.until;
        });
        shutDownShow();
        return 0;
    });
    std::printf("frame rate held from %dx%d with %d sample(s), %s, %d Hz refresh%s:\n", options.size.width,
                options.size.height, options.samples, options.loadDuringShow ? "load-during-show" : "preload",
                options.refresh, options.pinned ? ", pinned" : "");
    for (size_t i = 0; i < sections.size(); ++i) {
        const SectionRecord& s = sections[i];
        if (s.frames == 0)
            continue;
        std::printf("held %-10s from %6.1f s: %5.1f fps, worst %6.1f ms, %4zu of %5zu frames missed, ends at %dx%d/%d\n",
                    showSections()[i].name, double(showSections()[i].start), 1000.0 * double(s.frames) / s.milliseconds,
                    s.worst, s.missed, s.frames, s.size.width, s.size.height, s.samples);
    }
    return exitCode;
}
