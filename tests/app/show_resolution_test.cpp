// The show at other frame sizes and with anti-aliasing, against the
// reference frame (800x600, one sample) that the render tool draws in a
// process of its own: one show start per process.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "render/image_file.h"
#include "tests/app/show_run.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

struct SectionTime {
    float time;
    const char* section;
    bool threeD;  // drawn mostly as 3D geometry rather than pictures
};
constexpr SectionTime kSectionTimes[] = {
    {5.0f, "intro", false},       {20.0f, "shadows", true},    {50.0f, "mosque", true},
    {80.0f, "cubes", true},       {100.0f, "metaballs", true}, {130.0f, "landscape", true},
    {170.0f, "ending", true},     {243.0f, "logo", false},
};

// The reference frames at `times` ("5,20"), drawn by the render tool at one
// frame a second (the same pixels as a run that draws only those frames).
std::vector<ShowFrame> referenceFrames(const std::string& times)
{
    const std::string out = fs::absolute("reference_frames").string();
    ProgramRun tool = runInFolder(fs::path(SKYDRIFT_DEMO_PACK).parent_path().string(),
                                  std::string("SDL_AUDIODRIVER=dummy '") + SKYDRIFT_RENDER_TOOL + "' --at " + times +
                                      " --fps 1 --quiet --out '" + out + "'");
    EXPECT_EQ(tool.exitCode, 0) << tool.errors;
    std::vector<ShowFrame> frames;
    size_t begin = 0;
    while (begin < times.size()) {
        const size_t end = std::min(times.find(',', begin), times.size());
        ImageRGB picture;
        const std::string path = out + "/frame-" + times.substr(begin, end - begin) + ".png";
        EXPECT_TRUE(loadImageRGB(path.c_str(), picture)) << path;
        ShowFrame frame;
        frame.width = int(picture.width);
        frame.height = int(picture.height);
        frame.rgb = picture.pixels;
        frames.push_back(frame);
        begin = end + 1;
    }
    return frames;
}

// Each 2x2 block averaged into one pixel.
ShowFrame reducedByHalf(const ShowFrame& large)
{
    ShowFrame small;
    small.width = large.width / 2;
    small.height = large.height / 2;
    small.rgb.resize(size_t(small.width) * small.height * 3);
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const int sum = large.at(2 * x, 2 * y)[c] + large.at(2 * x + 1, 2 * y)[c] +
                                large.at(2 * x, 2 * y + 1)[c] + large.at(2 * x + 1, 2 * y + 1)[c];
                small.rgb[(size_t(y) * small.width + x) * 3 + c] = uint8_t((sum + 2) / 4);
            }
    return small;
}

// Twice the size, filtered linearly as a scaled present filters it.
ShowFrame enlargedTwice(const ShowFrame& small)
{
    ShowFrame large;
    large.width = small.width * 2;
    large.height = small.height * 2;
    large.rgb.resize(size_t(large.width) * large.height * 3);
    for (int y = 0; y < large.height; ++y) {
        const double fy = std::clamp((y + 0.5) / 2 - 0.5, 0.0, small.height - 1.0);
        const int y0 = int(fy), y1 = std::min(y0 + 1, small.height - 1);
        for (int x = 0; x < large.width; ++x) {
            const double fx = std::clamp((x + 0.5) / 2 - 0.5, 0.0, small.width - 1.0);
            const int x0 = int(fx), x1 = std::min(x0 + 1, small.width - 1);
            const double wx = fx - x0, wy = fy - y0;
            for (int c = 0; c < 3; ++c)
                large.rgb[(size_t(y) * large.width + x) * 3 + c] = uint8_t(std::lround(
                    (1 - wy) * ((1 - wx) * small.at(x0, y0)[c] + wx * small.at(x1, y0)[c]) +
                    wy * ((1 - wx) * small.at(x0, y1)[c] + wx * small.at(x1, y1)[c])));
        }
    }
    return large;
}

int luminance(const uint8_t* p)
{
    return (299 * p[0] + 587 * p[1] + 114 * p[2]) / 1000;
}

// Mean squared luminance step between neighbouring pixels: steep edges
// count far more than the same change spread over a blur.
double gradientEnergy(const ShowFrame& frame)
{
    double sum = 0.0;
    for (int y = 0; y + 1 < frame.height; ++y)
        for (int x = 0; x + 1 < frame.width; ++x) {
            const int here = luminance(frame.at(x, y));
            const int dx = luminance(frame.at(x + 1, y)) - here, dy = luminance(frame.at(x, y + 1)) - here;
            sum += double(dx) * dx + double(dy) * dy;
        }
    return sum / (double(frame.width - 1) * (frame.height - 1));
}

// Pixels whose luminance differs by more than `step` from some neighbour.
bool onEdge(const ShowFrame& frame, int x, int y, int step)
{
    const int here = luminance(frame.at(x, y));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < frame.width && ny < frame.height &&
                std::abs(luminance(frame.at(nx, ny)) - here) > step)
                return true;
        }
    return false;
}

} // namespace

// The layout maps onto any frame: a 1600x1200 frame reduced 2x2 is the
// reference frame within a few levels in every section, and the 3D sections
// have steeper edges than the reference frame enlarged.
TEST(ShowResolution, LargeFramesKeepTheLayoutAndSharpenTheEdges)
{
    std::string times;
    for (const SectionTime& section : kSectionTimes)
        times += (times.empty() ? "" : ",") + std::to_string(int(section.time));
    const std::vector<ShowFrame> references = referenceFrames(times);
    ASSERT_EQ(references.size(), std::size(kSectionTimes));

    ShowRun run(false, ShowRun::kOnlyAskedFrames, false, FrameChoice{false, {1600, 1200}, 1});
    ASSERT_TRUE(run.started());
    for (size_t i = 0; i < std::size(kSectionTimes); ++i) {
        const SectionTime& section = kSectionTimes[i];
        const ShowFrame large = run.frameAt(section.time);
        ASSERT_EQ(large.width, 1600);
        ASSERT_EQ(large.rgb.size(), size_t(1600) * 1200 * 3);
        const ShowFrame& reference = references[i];
        const double difference = reducedByHalf(large).meanDifference(reference.rgb);
        const double sharp = gradientEnergy(large), enlarged = gradientEnergy(enlargedTwice(reference));
        std::printf("%-10s mean difference %.2f levels, gradient energy %.1f at 1600x1200 against %.1f enlarged\n",
                    section.section, difference, sharp, enlarged);
        EXPECT_LT(difference, 4.0) << section.section;
        if (section.threeD) {
            EXPECT_GT(sharp, enlarged * 1.2) << section.section;
        }
    }
}

// Four samples smooth the silhouettes and change nothing else: the stencil
// shadow and the skyline-limited view cover the same pixels, every large
// change lying on an edge of the one-sample frame (nearly all).
TEST(ShowResolution, FourSamplesSmoothTheEdgesOnly)
{
    const std::vector<ShowFrame> references = referenceFrames("20,130");
    ASSERT_EQ(references.size(), 2u);

    ShowRun run(false, ShowRun::kOnlyAskedFrames, false, FrameChoice{false, {800, 600}, 4});
    ASSERT_TRUE(run.started());
    const float times[] = {20.0f, 130.0f};
    for (size_t i = 0; i < 2; ++i) {
        const ShowFrame smooth = run.frameAt(times[i]);
        const ShowFrame& reference = references[i];
        ASSERT_EQ(smooth.rgb.size(), reference.rgb.size());
        int changed = 0, offEdge = 0, intermediate = 0;
        for (int y = 0; y < reference.height; ++y)
            for (int x = 0; x < reference.width; ++x) {
                const int step = std::abs(luminance(smooth.at(x, y)) - luminance(reference.at(x, y)));
                if (step <= 24)
                    continue;
                ++changed;
                offEdge += !onEdge(reference, x, y, 24);
            }
        // Along the edges the samples mix: values between the two sides.
        for (int y = 1; y + 1 < reference.height; ++y)
            for (int x = 1; x + 1 < reference.width; ++x) {
                const int left = luminance(reference.at(x - 1, y)), right = luminance(reference.at(x + 1, y));
                const int here = luminance(smooth.at(x, y));
                if (std::abs(left - right) > 60 && here > std::min(left, right) + 10 &&
                    here < std::max(left, right) - 10)
                    ++intermediate;
            }
        const double energy = gradientEnergy(smooth), referenceEnergy = gradientEnergy(reference);
        std::printf("at %.0f s: %d pixels changed by more than 24 levels, %d off the edges; %d intermediate edge "
                    "pixels; mean difference %.2f; gradient energy %.1f against %.1f\n",
                    double(times[i]), changed, offEdge, intermediate, smooth.meanDifference(reference.rgb), energy,
                    referenceEnergy);
        EXPECT_LT(smooth.meanDifference(reference.rgb), 1.5) << times[i];
        // Sub-pixel features (a mast, a lit window) may gain or lose a pixel.
        EXPECT_LE(offEdge, changed / 20 + 10) << times[i];
        EXPECT_GT(intermediate, 200) << times[i];
        EXPECT_LT(energy, referenceEnergy) << times[i];
    }
}
