#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "skydrift_version.h"
#include "tests/support/demo_folder.h"
#include "tests/support/run_program.h"

namespace fs = std::filesystem;

namespace {

const std::string kProgram = SKYDRIFT_PROGRAM;
// No display and no sound device: what a server, a container or CI has.
const std::string kHeadless = "env -u DISPLAY -u WAYLAND_DISPLAY -u SKYDRIFT_ANSWER -u SKYDRIFT_DATA "
                              "SDL_AUDIODRIVER=dummy ";

size_t countLines(const std::string& text)
{
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

TEST(CommandLine, EachOptionAndVariableAsAUserMeetsThem)
{
    const std::string folder = makeDemoFolder("command_line");
    const struct {
        const char* name;
        const char* variables;
        const char* arguments;
        int exitCode;
        const char* output;  // what standard output starts with
        const char* errors;  // what standard error starts with
    } cases[] = {
        {"help", "", "--help", 0, "usage: skydrift [--window | --fullscreen]", ""},
        {"short help", "", "-h", 0, "usage: skydrift", ""},
        {"version", "", "--version", 0, "skydrift " SKYDRIFT_VERSION "\n", ""},
        {"help needs no show files", "SKYDRIFT_DATA=nowhere", "--help", 0, "usage: skydrift", ""},
        {"unknown option", "", "--bogus", 2, "", "skydrift: unknown option --bogus\nusage: skydrift"},
        {"a stray word", "", "play", 2, "", "skydrift: unexpected argument play\nusage: skydrift"},
        {"no samples", "", "--samples 0", 2, "", "skydrift: --samples: \"0\" is not a number of samples"},
        {"a missing value", "", "--samples", 2, "", "skydrift: --samples needs a value\nusage:"},
        {"a value after =", "", "--samples=33", 2, "", "skydrift: --samples: \"33\""},
        {"an unknown display", "", "--display sideways", 2, "", "skydrift: --display: \"sideways\""},
        {"a size smaller than 4x3", "", "--resolution 3x2", 2, "", "skydrift: --resolution: \"3x2\""},
        {"an unknown answer", "", "--answer maybe", 2, "", "skydrift: --answer: \"maybe\""},
        {"window and full screen", "", "--window --fullscreen", 2, "", "skydrift: --window and full screen"},
        {"window and a display mode", "", "--window --display mode", 2, "", "skydrift: --window and full screen"},
        {"two answers", "", "--answer yes --load-during-show", 2, "", "skydrift: --load-during-show and --answer"},
        {"a switch given a value", "", "--window=yes", 2, "", "skydrift: --window takes no value"},
        {"cancelled by option", "", "--answer cancel", 0, "", ""},
        {"the option beats the variable (cancel)", "SKYDRIFT_ANSWER=yes", "--answer=cancel", 0, "", ""},
        // Yes goes on to the window, which no display can give.
        {"the option beats the variable (yes)", "SKYDRIFT_ANSWER=cancel", "--answer yes", 255, "", ""},
        {"a named folder that is not there", "", "--data nowhere --answer cancel", 1, "",
         "skydrift: the show's files were not found: nowhere is not a folder"},
        {"a variable's folder that is not there", "SKYDRIFT_DATA=nowhere", "--answer cancel", 1, "",
         "skydrift: the show's files were not found: nowhere"},
        {"the folder option beats the variable", "SKYDRIFT_DATA=nowhere", "--data demo --answer cancel", 0, "", ""},
    };
    for (const auto& c : cases) {
        const ProgramRun run =
            runInFolder(folder, kHeadless + c.variables + " '" + kProgram + "' " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.errors;
        EXPECT_TRUE(startsWith(run.output, c.output)) << c.name << ": " << run.output;
        EXPECT_TRUE(startsWith(run.errors, c.errors)) << c.name << ": " << run.errors;
        if (*c.errors == '\0' && c.exitCode != 255) {
            EXPECT_EQ(run.errors, "") << c.name;
        }
    }
}

TEST(CommandLine, NobodyToAskIsAStartUpFailureSayingHowToAnswer)
{
    const struct {
        const char* name;
        const char* display;
        const char* reason;
    } cases[] = {
        {"no display", "", "no display"},
        // Nothing listens there; SDL's fallback helpers may add lines of their own.
        {"a display that cannot be opened", "DISPLAY=:4999", "on the display :4999"},
    };
    for (const auto& c : cases) {
        const ProgramRun run =
            runInFolder(makeDemoFolder("nobody_to_ask"), kHeadless + c.display + " '" + kProgram + "'");
        EXPECT_EQ(run.exitCode, 255) << c.name;
        if (!*c.display) {
            EXPECT_EQ(countLines(run.errors), 1u) << run.errors;
        }
        EXPECT_NE(run.errors.find(c.reason), std::string::npos) << c.name << ": " << run.errors;
        EXPECT_NE(run.errors.find("SKYDRIFT_ANSWER="), std::string::npos) << c.name << ": " << run.errors;
        EXPECT_NE(run.errors.find("--answer"), std::string::npos) << c.name << ": " << run.errors;
    }
}

TEST(CommandLine, WithoutTheShowsFilesItSaysWhereItLookedAndOpensNothing)
{
    // The program alone, away from the build tree, started from a folder
    // without demo/.
    const fs::path root = fs::absolute("no_pack");
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "home");
    fs::copy_file(kProgram, root / "bin" / "skydrift");
    // A display is there: no window may be opened all the same.
    const ProgramRun run =
        runInFolder((root / "home").string(), "SKYDRIFT_ANSWER=yes '" + (root / "bin" / "skydrift").string() + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(countLines(run.errors), 1u) << run.errors;
    for (const fs::path& looked : {root / "share" / "skydrift", root / "home" / "demo", root / "bin" / "demo"})
        EXPECT_NE(run.errors.find(looked.string()), std::string::npos) << looked << "\n" << run.errors;
    EXPECT_NE(run.errors.find("--data"), std::string::npos) << run.errors;
}

TEST(CommandLine, TheWindowOptionBeatsTheDisplayVariable)
{
    // Only the window display is captioned "Sky Drift"; the variable alone
    // would switch the screen's mode (and fail on this screen's refresh).
    const std::string command = "SDL_AUDIODRIVER=dummy SKYDRIFT_DISPLAY=mode '" + kProgram +
                                "' --window --answer yes & pid=$!; "
                                "window=$(timeout 60 xdotool search --sync --pid $pid --name '^Sky Drift$' | head -n 1); "
                                "kill $pid; wait $pid; test -n \"$window\"";
    // On the whole pack, so that the show keeps its window until it is found.
    const fs::path folder = fs::absolute("window_option");
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::create_directory_symlink(SKYDRIFT_DEMO_PACK, folder / "demo");
    const ProgramRun run = runInFolder(folder.string(), command);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
}
