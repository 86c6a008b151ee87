#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "tests/app/show_run.h"
#include "tests/support/sharpness.h"

namespace {

GreyPicture luminance(const ShowFrame& frame) { return greyPicture(frame.rgb.data(), frame.width, frame.height, 3); }

// Where a section shows a picture with fine detail in it (stars, lettering,
// the balloon's gores and ropes), at a time it is on screen, away from 3D
// edges (which a larger frame sharpens anyway), in layout pixels.
struct PictureArea {
    float time;
    const char* what;
    PictureRect area;  // in layout pixels
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
        const GreyPicture magnifiedReference = magnified(luminance(reference[i]), 2);
        const GreyPicture native = luminance(large[i]);
        const double ratio =
            gradientEnergy(native, picture.area, 2) / gradientEnergy(magnifiedReference, picture.area, 2);
        std::printf("%6.1f s  %-30s  sharpness %.2f times the magnified reference\n", double(picture.time),
                    picture.what, ratio);
        EXPECT_GE(ratio, kSharperAtLeast) << picture.what << " at " << picture.time << " s";
        // The same picture in the same place, not merely a busier one.
        EXPECT_NEAR(meanLuminance(native, picture.area, 2), meanLuminance(magnifiedReference, picture.area, 2), 6.0)
            << picture.what << " at " << picture.time << " s";
    }
}
