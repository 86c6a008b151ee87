#include "tests/app/show_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/dialog.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "render/image_file.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

std::string packFolder()
{
    return std::filesystem::path(SKYDRIFT_DEMO_PACK).parent_path().string();
}

} // namespace

double ShowFrame::meanLuminance(int x, int y, int width, int height) const
{
    double sum = 0.0;
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column) {
            const uint8_t* p = at(column, row);
            sum += 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
        }
    return sum / (double(width) * height);
}

double ShowFrame::shareAtLeast(int level) const
{
    size_t count = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
        count += rgb[i] >= level && rgb[i + 1] >= level && rgb[i + 2] >= level;
    return double(count) / double(rgb.size() / 3);
}

double ShowFrame::meanDifference(const std::vector<uint8_t>& otherRgb) const
{
    if (otherRgb.size() != rgb.size())
        return 255.0;
    double sum = 0.0;
    for (size_t i = 0; i < rgb.size(); ++i)
        sum += std::abs(int(rgb[i]) - int(otherRgb[i]));
    return sum / double(rgb.size());
}

ShowRun::ShowRun(bool loadDuringShow, int framesPerSecond, bool askDisclaimer, const FrameChoice& frame)
    : framesPerSecond_(framesPerSecond)
{
    // The show reads "demo\..." from the working folder, as the program does.
    previousFolder_ = std::filesystem::current_path().string();
    std::filesystem::current_path(packFolder());
    platform::setUnattended();
    StartupOptions options;
    options.askDisclaimer = askDisclaimer;
    options.loadDuringShow = loadDuringShow;
    options.fullScreen = false;
    options.hidden = true;
    options.frame = frame;
    started_ = !startUp(options).has_value();
    gldevice::swapIntervalRequest = 0;
}

ShowRun::~ShowRun()
{
    if (started_)
        shutDownShow();
    std::filesystem::current_path(previousFolder_);
}

bool ShowRun::renderFrame(float t, ShowFrame* frame)
{
    auto grab = [&] {
        frame->time = t;
        frame->width = int(gldevice::frameWidth);
        frame->height = int(gldevice::frameHeight);
        frame->rgb = readFrameRGB();
    };
    return frame ? runFrame([t] { return t; }, grab) : runFrame([t] { return t; });
}

ShowFrame ShowRun::frameAt(float t, const std::function<void(float)>& visit)
{
    auto clockTime = [&] { return static_cast<float>(double(nextFrame_) / framesPerSecond_); };
    for (; framesPerSecond_ != kOnlyAskedFrames && clockTime() < t; ++nextFrame_) {
        const float frameTime = clockTime();
        EXPECT_TRUE(renderFrame(frameTime, nullptr)) << "frame at " << frameTime;
        if (visit)
            visit(frameTime);
    }
    ShowFrame frame;
    EXPECT_TRUE(renderFrame(t, &frame)) << "frame at " << t;
    if (framesPerSecond_ != kOnlyAskedFrames && clockTime() == t)
        ++nextFrame_;
    return frame;
}

std::vector<uint8_t> packPictureOnScreen(const std::string& demoPath)
{
    ImageRGB picture;
    if (!loadImageRGB((packFolder() + "/" + demoPath).c_str(), picture) || picture.width == 0 || picture.height == 0)
        return {};
    std::vector<uint8_t> screen(size_t(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const size_t from = (size_t(y) * picture.height / kHeight * picture.width + size_t(x) * picture.width / kWidth) * 3;
            std::copy_n(&picture.pixels[from], 3, &screen[(size_t(y) * kWidth + x) * 3]);
        }
    return screen;
}
