#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "tests/app/show_run.h"

namespace {

// Luminance, one float a pixel, top row first.
struct Grey {
    int width = 0, height = 0;
    std::vector<float> values;
    float at(int x, int y) const { return values[size_t(y) * size_t(width) + size_t(x)]; }
};

Grey luminance(const ShowFrame& frame)
{
    Grey grey{frame.width, frame.height, std::vector<float>(size_t(frame.width) * size_t(frame.height))};
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const uint8_t* p = frame.at(x, y);
            grey.values[size_t(y) * size_t(frame.width) + size_t(x)] = 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
        }
    return grey;
}

// The small frame magnified `factor` times as a linear-filtered texture is:
// pixel centres onto pixel centres, edges clamped. This is what a larger
// frame shows of a picture that has no more pixels than the small frame.
Grey magnified(const Grey& small, int factor)
{
    Grey large{small.width * factor, small.height * factor, {}};
    large.values.resize(size_t(large.width) * size_t(large.height));
    auto source = [&](int pixel, int size) {
        float at = (float(pixel) + 0.5f) / float(factor) - 0.5f;
        return std::clamp(at, 0.0f, float(size - 1));
    };
    for (int y = 0; y < large.height; ++y) {
        const float sy = source(y, small.height);
        const int y0 = int(sy), y1 = std::min(y0 + 1, small.height - 1);
        const float fy = sy - float(y0);
        for (int x = 0; x < large.width; ++x) {
            const float sx = source(x, small.width);
            const int x0 = int(sx), x1 = std::min(x0 + 1, small.width - 1);
            const float fx = sx - float(x0);
            const float top = small.at(x0, y0) * (1 - fx) + small.at(x1, y0) * fx;
            const float bottom = small.at(x0, y1) * (1 - fx) + small.at(x1, y1) * fx;
            large.values[size_t(y) * size_t(large.width) + size_t(x)] = top * (1 - fy) + bottom * fy;
        }
    }
    return large;
}

// A rectangle of the 800x600 layout.
struct Area {
    int x, y, width, height;
};

// Gradient energy: the mean squared difference between neighbouring pixels,
// across and down, over `area` scaled to the picture. Soft pictures have
// little of it; every sharp edge and fine texture adds to it.
double gradientEnergy(const Grey& picture, const Area& area)
{
    const int scale = picture.width / 800;
    const int left = area.x * scale, top = area.y * scale;
    const int right = std::min(left + area.width * scale, picture.width - 1);
    const int bottom = std::min(top + area.height * scale, picture.height - 1);
    double sum = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const double across = picture.at(x + 1, y) - picture.at(x, y);
            const double down = picture.at(x, y + 1) - picture.at(x, y);
            sum += across * across + down * down;
        }
    return sum / (double(right - left) * double(bottom - top));
}

double meanOver(const Grey& picture, const Area& area)
{
    const int scale = picture.width / 800;
    double sum = 0;
    for (int y = area.y * scale; y < (area.y + area.height) * scale; ++y)
        for (int x = area.x * scale; x < (area.x + area.width) * scale; ++x)
            sum += picture.at(x, y);
    return sum / (double(area.width) * scale * double(area.height) * scale);
}

// Where a section shows a picture with fine detail in it (stars, lettering,
// the balloon's gores and ropes), at a time it is on screen, away from 3D
// edges (which a larger frame sharpens anyway), in layout pixels.
struct PictureArea {
    float time;
    const char* what;
    Area area;
};
constexpr PictureArea kPictureAreas[] = {
    {3.0f, "intro sky, stars", {0, 0, 300, 150}},
    {75.2f, "title lettering", {150, 180, 500, 150}},
    {100.0f, "balloon figure", {0, 0, 256, 600}},
    {108.0f, "greetings text", {300, 300, 480, 240}},
    {243.0f, "closing logo lettering", {100, 150, 600, 200}},
};

// Drawn from pictures of the frame's own size these areas have at least
// this much more gradient energy than the reference frame magnified (about
// 2.7 to 4.2 here); drawn from the reference pictures, about 1.0 to 1.3.
constexpr double kSharperAtLeast = 2.0;

} // namespace

TEST(HighDetailFramesTest, LargeFramesAreSharperThanTheReferenceFrameMagnified)
{
    std::vector<ShowFrame> reference, large;
    {
        ShowRun run(false, ShowRun::kOnlyAskedFrames);
        ASSERT_TRUE(run.started());
        for (const PictureArea& picture : kPictureAreas)
            reference.push_back(run.frameAt(picture.time));
    }
    {
        ShowRun run(false, ShowRun::kOnlyAskedFrames, false, FrameChoice{false, {1600, 1200}, 1});
        ASSERT_TRUE(run.started());
        for (const PictureArea& picture : kPictureAreas)
            large.push_back(run.frameAt(picture.time));
    }
    for (size_t i = 0; i < std::size(kPictureAreas); ++i) {
        const PictureArea& picture = kPictureAreas[i];
        ASSERT_EQ(large[i].width, 1600) << picture.what;
        const Grey magnifiedReference = magnified(luminance(reference[i]), 2);
        const Grey native = luminance(large[i]);
        const double ratio = gradientEnergy(native, picture.area) / gradientEnergy(magnifiedReference, picture.area);
        std::printf("%6.1f s  %-30s  sharpness %.2f times the magnified reference\n", double(picture.time),
                    picture.what, ratio);
        EXPECT_GE(ratio, kSharperAtLeast) << picture.what << " at " << picture.time << " s";
        // The same picture in the same place, not merely a busier one.
        EXPECT_NEAR(meanOver(native, picture.area), meanOver(magnifiedReference, picture.area), 6.0)
            << picture.what << " at " << picture.time << " s";
    }
}
