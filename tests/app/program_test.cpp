#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/demo_folder.h"
#include "tests/support/run_program.h"

namespace {

const std::string kProgram = SKYDRIFT_PROGRAM;
const char* const kWindowError =
    "Unable to create a window or change display settings.\n"
    "Your system must be able to support 800x600x32 to run this demo, adjust Sky_Drift.ini to change display "
    "frequency if needed !";

// A fresh folder for one run, so that no Sky_Drift.ini of another run is seen.
std::string freshFolder(const char* name)
{
    return makeDemoFolder(name);
}

} // namespace

TEST(Program, CancelEndsWithZeroBeforeAnyWindow)
{
    // Without a display any window would fail: exit 0 shows none was tried.
    ProgramRun run = runInFolder(freshFolder("cancel"), "SKYDRIFT_ANSWER=cancel DISPLAY= '" + kProgram + "'");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
}

TEST(Program, EscapeEndsTheMainLoopWithOne)
{
    // xdotool waits for this program's window (other tests may have windows
    // on the same display), then sends it Escape; the program must then
    // quit through its own event handling.
    // A program that ignores the key is killed after two minutes, so the
    // test fails instead of hanging.
    std::string command = "SKYDRIFT_ANSWER=yes '" + kProgram + "' & pid=$!; "
                          "(sleep 120; kill -9 $pid) 2>/dev/null & watchdog=$!; "
                          "window=$(timeout 60 xdotool search --sync --pid $pid --name REVUR | head -n 1); "
                          "if [ -n \"$window\" ]; then sleep 1; xdotool key --window $window Escape; else kill $pid; fi; "
                          "wait $pid; status=$?; kill $watchdog 2>/dev/null; (exit $status)";
    // The whole show is built before the main loop starts: run it on the pack.
    std::string folder = "escape";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::create_directory_symlink(SKYDRIFT_DEMO_PACK, folder + "/demo");
    ProgramRun run = runInFolder(folder, "SDL_AUDIODRIVER=dummy " + command);
    EXPECT_EQ(run.exitCode, 1) << run.errors;
}

TEST(Program, RefreshRateNoDisplayCanRunGivesTheWindowError)
{
    // Only the display mode: without a mode to change to the program would
    // otherwise play on the desktop.
    std::string folder = freshFolder("bad_freq");
    std::ofstream(folder + "/Sky_Drift.ini") << "[Sky_Drift]\nFreq=5000\n";
    ProgramRun run = runInFolder(folder, "SKYDRIFT_DISPLAY=mode SKYDRIFT_ANSWER=yes '" + kProgram + "'");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.errors.find(std::string("Sky Drift: ") + kWindowError), std::string::npos) << run.errors;
}

TEST(Program, AnAssetThatCannotBeLoadedEndsWithAnErrorNamingIt)
{
    std::string folder = freshFolder("no_loading_picture");
    std::filesystem::remove(folder + "/demo/loading.jpg");
    ProgramRun run = runInFolder(folder, "SKYDRIFT_ANSWER=yes '" + kProgram + "'");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.errors.find("Sky Drift: "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("demo\\loading.jpg"), std::string::npos) << run.errors;
}
