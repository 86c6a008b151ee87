#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/pack_folder.h"
#include "app/run_guarded.h"
#include "app/startup.h"
#include "platform/dialog.h"
#include "skydrift_version.h"

int main(int argc, char** argv)
{
    PlayerOptions options;
    std::string error;
    if (!parsePlayerOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "skydrift: %s\n%s", error.c_str(), kPlayerUsage);
        return 2;
    }
    // Neither needs a display, a sound device or the show's files.
    if (options.help) {
        std::fputs(kPlayerUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("skydrift %s\n", SKYDRIFT_VERSION);
        return 0;
    }
    if (!openShowPack("skydrift", options.data))
        return 1;
    if (options.unattended)
        platform::setAnswer(*options.answer);
    const StartupOptions startup = startupOptionsFor(options);
    return runGuarded([&] {
        if (auto exitCode = startUp(startup))
            return *exitCode;
        return runMainLoop();
    });
}
