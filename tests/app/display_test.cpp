// How the show meets screens of other sizes: the desktop at its own
// resolution with the largest 4:3 frame between black bars, the display
// mode and a window on request; and the frame the same pixels as the render
// tool's at that size.
// Each test brings its own X screen of the size it needs.

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/main_loop.h"
#include "app/show_window.h"
#include "app/startup.h"
#include "platform/dialog.h"
#include "platform/window.h"
#include "render/device.h"
#include "render/image_file.h"
#include "render/offscreen_frame.h"
#include "tests/support/run_program.h"
#include "tests/support/virtual_screen.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFrameWidth = 800, kFrameHeight = 600;
const std::string kProgram = SKYDRIFT_PROGRAM;
const std::string kRenderTool = SKYDRIFT_RENDER_TOOL;
const char* const kWindowError = "Unable to create a window or change display settings.";

// An RGB picture, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

Picture screenPicture(const VirtualScreen& screen)
{
    return {screen.width(), screen.height(), screen.capture()};
}

// Pixels of a rectangle that are not black.
int litPixels(const Picture& picture, int x0, int y0, int x1, int y1)
{
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* p = picture.at(x, y);
            lit += p[0] || p[1] || p[2];
        }
    return lit;
}

// The frame scaled into `fit` as a linear filter scales it: each target
// pixel centre mapped back into the frame, between its four nearest pixels.
struct ScaleError {
    double mean = 0.0;
    int largest = 0;
};

ScaleError compareScaled(const Picture& screen, const FrameRect& fit, const Picture& frame)
{
    ScaleError error;
    const double sx = double(frame.width) / fit.width, sy = double(frame.height) / fit.height;
    for (int y = 0; y < fit.height; ++y) {
        const double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, frame.height - 1.0);
        const int y0 = int(fy), y1 = std::min(y0 + 1, frame.height - 1);
        for (int x = 0; x < fit.width; ++x) {
            const double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, frame.width - 1.0);
            const int x0 = int(fx), x1 = std::min(x0 + 1, frame.width - 1);
            const double wx = fx - x0, wy = fy - y0;
            const uint8_t* got = screen.at(fit.x + x, fit.y + y);
            for (int c = 0; c < 3; ++c) {
                const double want = (1 - wy) * ((1 - wx) * frame.at(x0, y0)[c] + wx * frame.at(x1, y0)[c])
                    + wy * ((1 - wx) * frame.at(x0, y1)[c] + wx * frame.at(x1, y1)[c]);
                const double difference = std::abs(got[c] - want);
                error.mean += difference;
                error.largest = std::max(error.largest, int(std::lround(difference)));
            }
        }
    }
    error.mean /= double(fit.width) * fit.height * 3;
    return error;
}

// The real start-up on the generated pack, on `screen`, as the program
// makes it (the display and the frame chosen, the window shown), the
// disclaimer answered.
bool startShowOn(const VirtualScreen& screen)
{
    setenv("DISPLAY", screen.display().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fs::current_path(fs::path(SKYDRIFT_DEMO_PACK).parent_path());
    platform::setUnattended();
    StartupOptions options;
    options.askDisclaimer = false;
    options.loadDuringShow = true;
    const bool started = !startUp(options).has_value();
    gldevice::swapIntervalRequest = 0;
    return started;
}

// Runs the show on a virtual clock at `fps` up to `t`, and returns the frame
// drawn at `t`, read just before it was presented.
Picture runShowTo(float t, int fps)
{
    Picture frame{int(gldevice::frameWidth), int(gldevice::frameHeight), {}};
    for (long k = 0; float(double(k) / fps) < t; ++k) {
        const float frameTime = float(double(k) / fps);
        EXPECT_TRUE(runFrame([frameTime] { return frameTime; }));
    }
    EXPECT_TRUE(runFrame([t] { return t; }, [&] { frame.rgb = readFrameRGB(); }));
    return frame;
}

// The render tool's frame at `t` (rendered at 10 fps while loading during
// the show), with the tool's further arguments.
Picture renderToolFrame(const VirtualScreen& screen, const std::string& name, const std::string& arguments)
{
    const std::string out = fs::absolute(name).string();
    ProgramRun tool = runInFolder(fs::path(SKYDRIFT_DEMO_PACK).parent_path().string(),
                                  "DISPLAY=" + screen.display() + " SDL_AUDIODRIVER=dummy '" + kRenderTool +
                                      "' --at 2 --fps 10 --load-during-show --quiet --out '" + out + "' " + arguments);
    EXPECT_EQ(tool.exitCode, 0) << tool.errors;
    ImageRGB picture;
    EXPECT_TRUE(loadImageRGB((out + "/frame-2.png").c_str(), picture));
    return {int(picture.width), int(picture.height), picture.pixels};
}

// Mean of one channel over a rectangle.
double meanChannel(const Picture& picture, int x0, int y0, int x1, int y1, int channel)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += picture.at(x, y)[channel];
    return sum / (double(x1 - x0) * (y1 - y0));
}

// The program in the background on a screen, its window found by its
// title; stopped by Escape, or killed if it does not quit.
class BackgroundProgram {
public:
    BackgroundProgram(const std::string& name, const VirtualScreen& screen, const std::string& environment)
        : folder_(fs::absolute(name).string()), display_(screen.display())
    {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::create_directory_symlink(SKYDRIFT_DEMO_PACK, folder_ + "/demo");
        const std::string line = "cd '" + folder_ + "' && (DISPLAY=" + display_ +
                                 " SDL_AUDIODRIVER=dummy SKYDRIFT_ANSWER=no " + environment + " '" + kProgram +
                                 "' >run.out 2>run.err & echo $! >run.pid; wait $!; echo $? >run.rc) &";
        std::system(line.c_str());
    }
    ~BackgroundProgram()
    {
        if (!fs::exists(folder_ + "/run.rc"))
            std::system(("kill -9 $(cat '" + folder_ + "/run.pid') 2>/dev/null").c_str());
    }

    // The window's id, once it is there; empty after a minute without it.
    std::string findWindow(const std::string& title)
    {
        window_ = xdotool("search --sync --name '" + title + "'");
        if (const size_t end = window_.find('\n'); end != std::string::npos)
            window_.resize(end);
        return window_;
    }
    // One of the window's "X", "Y", "WIDTH" and "HEIGHT".
    int geometry(const std::string& key)
    {
        const std::string shell = "\n" + xdotool("getwindowgeometry --shell " + window_);
        const size_t at = shell.find("\n" + key + "=");
        return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 2);
    }
    std::string size() { return std::to_string(geometry("WIDTH")) + "x" + std::to_string(geometry("HEIGHT")); }
    void resize(int width, int height)
    {
        xdotool("windowsize " + window_ + " " + std::to_string(width) + " " + std::to_string(height));
    }
    // Sends Escape and waits up to a minute for the exit code (-1 without one).
    // With a pointer position, Escape is typed there, as a user would (a
    // box without a window manager takes no keys sent to its window).
    int quitWithEscape(int pointerX = -1, int pointerY = -1)
    {
        if (pointerX >= 0)
            xdotool("mousemove " + std::to_string(pointerX) + " " + std::to_string(pointerY) + " key Escape");
        else
            xdotool("key --window " + window_ + " Escape");
        for (int i = 0; i < 600 && !fs::exists(folder_ + "/run.rc"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the code written whole
        const std::string code = readWholeFile(folder_ + "/run.rc");
        return code.empty() ? -1 : std::atoi(code.c_str());
    }
    std::string errors() const { return readWholeFile(folder_ + "/run.err"); }

private:
    std::string xdotool(const std::string& arguments)
    {
        ProgramRun run = runInFolder(folder_ + "/xdotool", "DISPLAY=" + display_ + " timeout 60 xdotool " + arguments);
        return run.output;
    }

    std::string folder_, display_, window_;
};

// Waits until the region changes from one capture to the next: the show
// playing, past the still loading frame. The last capture is returned.
Picture waitForTheShow(const VirtualScreen& screen, int x0, int y0, int x1, int y1)
{
    Picture previous, shot = screenPicture(screen);
    for (int attempt = 0; attempt < 240; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        previous = std::move(shot);
        shot = screenPicture(screen);
        if (shot.rgb.empty() || previous.rgb.empty())
            continue;
        for (int y = y0; y < y1; ++y)
            if (!std::equal(previous.at(x0, y), previous.at(x1, y), shot.at(x0, y)))
                return shot;
    }
    return shot;
}

} // namespace

TEST(Display, OnAScreenWithTheModeTheDesktopIsTakenAndTheModeOnRequest)
{
    VirtualScreen screen(800, 600);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    setenv("DISPLAY", screen.display().c_str(), 1);
    unsetenv("SKYDRIFT_DISPLAY");
    for (const char* request : {"", "mode"}) {
        setenv("SKYDRIFT_DISPLAY", request, 1);
        ShowDisplay opened = ShowDisplay::Plain;
        platform::Window* window = openShowWindow(displaysToTry(), ShowWindowSize{}, false, &opened);
        ASSERT_NE(window, nullptr) << request;
        EXPECT_EQ(opened, *request ? ShowDisplay::Mode : ShowDisplay::Desktop) << request;
        platform::restoreDisplayMode();
        platform::destroyWindow(window);
    }

    // A value it does not know is said so, and the usual order taken.
    setenv("SKYDRIFT_DISPLAY", "fullscreen", 1);
    testing::internal::CaptureStderr();
    const std::vector<ShowDisplay> displays = displaysToTry();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(displays, (std::vector<ShowDisplay>{ShowDisplay::Desktop, ShowDisplay::Mode}));
    EXPECT_NE(said.find("SKYDRIFT_DISPLAY=fullscreen"), std::string::npos) << said;
}

TEST(Display, ADesktopShowsTheLoadingPictureAndTheRenderToolsFrameOneToOneBetweenBlackBars)
{
    VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    unsetenv("SKYDRIFT_DISPLAY");
    unsetenv("SKYDRIFT_RESOLUTION");
    unsetenv("SKYDRIFT_SAMPLES");
    ASSERT_TRUE(startShowOn(screen));
    EXPECT_EQ(gldevice::frameWidth, 1440u);
    EXPECT_EQ(gldevice::frameHeight, 1080u);
    // On a scaled output the drawable has the screen's own pixels, not the logical size.
    EXPECT_TRUE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_ALLOW_HIGHDPI);

    // The loading picture, the last thing presented, fills the frame whole:
    // each quarter of the frame has the colour of that quarter of the picture.
    const Picture loading = screenPicture(screen);
    ImageRGB picture;
    ASSERT_TRUE(loadImageRGB((std::string(SKYDRIFT_DEMO_PACK) + "/loading.jpg").c_str(), picture));
    const Picture expected{int(picture.width), int(picture.height), picture.pixels};
    ASSERT_EQ(loading.rgb.size(), 1920u * 1080u * 3u);
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int qx = quarter % 2, qy = quarter / 2;
        const int pw = expected.width / 2, ph = expected.height / 2;
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(meanChannel(loading, 240 + qx * 720, qy * 540, 240 + (qx + 1) * 720, (qy + 1) * 540, c),
                        meanChannel(expected, qx * pw, qy * ph, (qx + 1) * pw, (qy + 1) * ph, c), 4.0)
                << "quarter " << quarter << ", channel " << c;
    }

    const Picture frame = runShowTo(2.0f, 10);
    const Picture shot = screenPicture(screen);
    shutDownShow();
    ASSERT_EQ(shot.rgb.size(), 1920u * 1080u * 3u);
    EXPECT_EQ(litPixels(shot, 0, 0, 240, 1080), 0);
    EXPECT_EQ(litPixels(shot, 1680, 0, 1920, 1080), 0);
    int unlike = 0;
    for (int y = 0; y < 1080; ++y)
        unlike += !std::equal(frame.at(0, y), frame.at(0, y) + 1440 * 3, shot.at(240, y));
    EXPECT_EQ(unlike, 0) << "rows of the screen that are not the frame's";

    // The render tool's frame of that size at the same show time is the same frame.
    const Picture tool = renderToolFrame(screen, "desktop_tool", "--size 1440x1080 --samples 4");
    EXPECT_TRUE(tool.rgb == frame.rgb) << "the frame differs from the render tool's";
}

TEST(Display, TheReferenceResolutionShowsTheRenderToolsFrameScaledBetweenBlackBars)
{
    VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    unsetenv("SKYDRIFT_DISPLAY");
    setenv("SKYDRIFT_RESOLUTION", "800x600", 1);
    // The show's own picture: one sample without asking, as the render tool draws it.
    unsetenv("SKYDRIFT_SAMPLES");
    ASSERT_TRUE(startShowOn(screen));
    int width = 0, height = 0;
    platform::drawableSize(platform::mainWindow(), &width, &height);
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);

    const Picture frame = runShowTo(2.0f, 10);
    const Picture shot = screenPicture(screen);
    shutDownShow();
    ASSERT_EQ(shot.rgb.size(), 1920u * 1080u * 3u);
    ASSERT_EQ(frame.width, kFrameWidth);

    // The largest centred 4:3 rectangle of 1920x1080: 1440 wide from x 240.
    const FrameRect fit{240, 0, 1440, 1080};
    EXPECT_EQ(litPixels(shot, 0, 0, 240, 1080), 0);
    EXPECT_EQ(litPixels(shot, 1680, 0, 1920, 1080), 0);
    EXPECT_GT(litPixels(frame, 0, 0, kFrameWidth, kFrameHeight), kFrameWidth * kFrameHeight / 2)
        << "the intro's sky is drawn";
    // The filter's weights are fixed-point: a level off here and there.
    const ScaleError error = compareScaled(shot, fit, frame);
    EXPECT_LT(error.mean, 0.5);
    EXPECT_LE(error.largest, 2);

    const Picture tool = renderToolFrame(screen, "reference_tool", "");
    EXPECT_TRUE(tool.rgb == frame.rgb) << "the frame differs from the render tool's";
}

TEST(Display, WithoutFramebufferObjectsTheDesktopShowsTheFrameInItsLowerLeftCorner)
{
    // Mesa can be made to offer an OpenGL 2.1 with only the extensions of
    // 2004 and before: GL_EXT_framebuffer_object without its blit.
    setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
    setenv("MESA_EXTENSION_MAX_YEAR", "2004", 1);
    VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    unsetenv("SKYDRIFT_DISPLAY");
    testing::internal::CaptureStderr();
    const bool started = startShowOn(screen);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started) << said;
    if (gldevice::current->offscreenFrame) {
        shutDownShow();
        GTEST_SKIP() << "the driver is not Mesa: its framebuffer objects cannot be turned off";
    }
    EXPECT_NE(said.find("lower-left 800x600 of the window"), std::string::npos) << said;

    const Picture frame = runShowTo(1.0f, 10);
    const Picture shot = screenPicture(screen);
    shutDownShow();
    ASSERT_EQ(shot.rgb.size(), 1920u * 1080u * 3u);
    // The window's bottom-left 800x600 is the frame; the frame's clear leaves the rest black.
    int unlike = 0;
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            unlike += !std::equal(frame.at(x, y), frame.at(x, y) + 3, shot.at(x, 1080 - kFrameHeight + y));
    EXPECT_EQ(unlike, 0);
    EXPECT_EQ(litPixels(shot, 0, 0, 1920, 1080 - kFrameHeight), 0);
    EXPECT_EQ(litPixels(shot, kFrameWidth, 0, 1920, 1080), 0);
}

TEST(Display, TheProgramPlaysFullScreenOnADesktopWithoutTheModeAndQuitsOnEscape)
{
    VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    BackgroundProgram program("desktop_program", screen, "");
    ASSERT_FALSE(program.findWindow("REVUR").empty()) << program.errors();
    EXPECT_EQ(program.size(), "1920x1080");
    const Picture shot = waitForTheShow(screen, 240, 0, 1680, 1080);
    EXPECT_GT(litPixels(shot, 240, 0, 1680, 1080), 1440 * 1080 / 2) << "the show is playing";
    EXPECT_EQ(litPixels(shot, 0, 0, 240, 1080), 0);
    EXPECT_EQ(litPixels(shot, 1680, 0, 1920, 1080), 0);
    EXPECT_EQ(program.quitWithEscape(), 1) << program.errors();
}

TEST(Display, AWindowOnRequestGetsANewFrameAsItIsResized)
{
    VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    BackgroundProgram program("window_program", screen, "SKYDRIFT_DISPLAY=window");
    ASSERT_FALSE(program.findWindow("Sky Drift").empty()) << program.errors();
    EXPECT_EQ(program.size(), "800x600");

    const int x = program.geometry("X"), y = program.geometry("Y");
    ASSERT_TRUE(x >= 0 && y >= 0 && x + 1000 <= 1920 && y + 700 <= 1080) << x << "," << y;
    waitForTheShow(screen, x, y, x + 800, y + 600);

    // 1000x700 holds a frame of 928x696, shown one to one: 36 black columns
    // each side and two black rows above and below, where the old frame
    // scaled would have filled 933x700 from column 33.
    program.resize(1000, 700);
    ASSERT_EQ(program.size(), "1000x700");
    Picture shot;
    auto blackRows = [&] {
        return litPixels(shot, x, y, x + 1000, y + 2) == 0 && litPixels(shot, x, y + 698, x + 1000, y + 700) == 0;
    };
    for (int attempt = 0; attempt < 40; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        shot = screenPicture(screen);
        if (!shot.rgb.empty() && litPixels(shot, x, y, x + 36, y + 700) == 0 && blackRows())
            break;
    }
    ASSERT_FALSE(shot.rgb.empty());
    EXPECT_GT(litPixels(shot, x + 36, y + 2, x + 964, y + 698), 928 * 696 / 2) << "the show is playing";
    EXPECT_EQ(litPixels(shot, x, y, x + 36, y + 700), 0);
    EXPECT_EQ(litPixels(shot, x + 964, y, x + 1000, y + 700), 0);
    EXPECT_TRUE(blackRows());
    EXPECT_EQ(program.quitWithEscape(), 1) << program.errors();
}

TEST(Display, OnlyTheDisplayModeOnADesktopWithoutItGivesTheWindowError)
{
    VirtualScreen screen(1920, 1080);
    ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
    ProgramRun run = runInFolder("mode_only", "DISPLAY=" + screen.display() +
                                                  " SKYDRIFT_DISPLAY=mode SKYDRIFT_ANSWER=yes '" + kProgram + "'");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.errors.find("No 800x600x32 display mode at 60 Hz"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(std::string("Sky Drift: ") + kWindowError), std::string::npos) << run.errors;
}

TEST(Display, WithNoScreenAtAllTheWindowErrorComesAloneWithoutSDLsRuntimeDirectoryComplaint)
{
    // SDL then falls back to drawing into memory: nothing there to play on.
    ProgramRun run = runInFolder("no_screen", "env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR "
                                              "SDL_AUDIODRIVER=dummy SKYDRIFT_ANSWER=yes '" + kProgram + "'");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.errors.find(kWindowError), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("XDG_RUNTIME_DIR"), std::string::npos) << run.errors;
}

// The first box a user sees lies wholly inside the screen, its lines wrapped
// clear of its edges, and Escape answers it with Cancel. Needs the X core
// fonts (xfonts-base) for the platform's box.
TEST(Display, TheDisclaimerBoxLiesInsideTheScreenWithEveryLineReadable)
{
    const int sizes[][2] = {{1024, 768}, {1920, 1080}};
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        VirtualScreen screen(width, height);
        ASSERT_TRUE(screen.started()) << "Xvfb must be installed";
        BackgroundProgram program("disclaimer_" + std::to_string(width), screen, "SKYDRIFT_ANSWER=");
        // The platform's box has no window name: it is the screen's only window.
        ASSERT_FALSE(program.findWindow("").empty()) << program.errors();
        waitForTheShow(screen, 0, 0, width, height);                  // the box appears
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // and is drawn whole
        const Picture shot = screenPicture(screen);
        ASSERT_EQ(shot.rgb.size(), size_t(width) * height * 3);

        // The box: every pixel that is not the black root window.
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (const uint8_t* p = shot.at(x, y); p[0] || p[1] || p[2]) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0) << "no box on the screen";
        EXPECT_GT(left, 0);
        EXPECT_LT(right, width - 1);
        EXPECT_GT(top, 0);
        EXPECT_LT(bottom, height - 1);

        // Its text: light pixels, each clear of the box's sides, in lines.
        int lines = 0, textLeft = width, textRight = -1;
        bool inLine = false;
        for (int y = top; y <= bottom; ++y) {
            bool text = false;
            for (int x = left; x <= right; ++x)
                if (const uint8_t* p = shot.at(x, y); p[0] > 150 && p[1] > 150 && p[2] > 150) {
                    text = true;
                    textLeft = std::min(textLeft, x), textRight = std::max(textRight, x);
                }
            lines += text && !inLine;
            inLine = text;
        }
        EXPECT_GE(lines, 15) << "the disclaimer's lines and the buttons";
        EXPECT_GE(textLeft - left, 4);
        EXPECT_GE(right - textRight, 4);
        // Escape is Cancel: the program ends at once with 0.
        EXPECT_EQ(program.quitWithEscape((left + right) / 2, (top + bottom) / 2), 0) << program.errors();
    }
}
