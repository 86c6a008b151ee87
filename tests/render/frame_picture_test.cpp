#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "render/frame_picture.h"

namespace {

using Pattern = std::function<uint8_t(int x, int y, int channel)>;

std::vector<uint8_t> makeFrame(int width, int height, const Pattern& pattern)
{
    std::vector<uint8_t> frame(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                frame[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(c)] = pattern(x, y, c);
    return frame;
}

uint8_t at(const std::vector<uint8_t>& picture, int width, int x, int y, int channel)
{
    return picture[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(channel)];
}

} // namespace

// Every pixel of the picture, checked against what a viewer should see
// there: the frame one to one, the frame scaled, or a black bar.
TEST(FrameInPicture, FramesLandWhereTheWindowWouldShowThem)
{
    const Pattern coordinates = [](int x, int y, int c) { return uint8_t(c == 0 ? x * 7 : c == 1 ? y * 5 : 99); };
    const Pattern checker = [](int x, int y, int) { return uint8_t((x + y) % 2 ? 255 : 0); };
    const Pattern halves = [](int x, int, int c) { return uint8_t(x < 400 ? (c == 0 ? 255 : 0) : (c == 2 ? 255 : 0)); };
    const struct {
        const char* what;
        int frameWidth, frameHeight, width, height;
        Pattern frame;
        FrameRect shown;
        // The expected colour of picture pixel (x, y) inside `shown`.
        std::function<int(int x, int y, int c)> expected;
    } cases[] = {
        {"a native frame between bars, one to one", 1440, 1080, 1920, 1080, coordinates, {240, 0, 1440, 1080},
         [&](int x, int y, int c) { return coordinates(x - 240, y, c); }},
        {"the same size: the frame itself", 800, 600, 800, 600, coordinates, {0, 0, 800, 600},
         [&](int x, int y, int c) { return coordinates(x, y, c); }},
        {"a larger fallback frame halved: a one-pixel checker turns even grey", 800, 600, 400, 300, checker,
         {0, 0, 400, 300}, [](int, int, int) { return 128; }},
        {"a larger fallback frame halved keeps its halves", 800, 600, 400, 300, halves, {0, 0, 400, 300},
         [](int x, int, int c) { return x < 200 ? (c == 0 ? 255 : 0) : (c == 2 ? 255 : 0); }},
        {"a smaller fallback frame scaled up between bars", 800, 600, 1920, 1080, halves, {240, 0, 1440, 1080},
         [](int x, int, int c) {
             // Left of the seam red, right blue, one blended pixel each side of it.
             if (x < 240 + 719)
                 return c == 0 ? 255 : 0;
             if (x > 240 + 720)
                 return c == 2 ? 255 : 0;
             return -1;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(frameInTarget(c.frameWidth, c.frameHeight, c.width, c.height) == c.shown);
        const std::vector<uint8_t> picture =
            frameInPicture(makeFrame(c.frameWidth, c.frameHeight, c.frame), c.frameWidth, c.frameHeight, c.width, c.height);
        ASSERT_EQ(picture.size(), size_t(c.width) * size_t(c.height) * 3);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const bool inside =
                    x >= c.shown.x && x < c.shown.x + c.shown.width && y >= c.shown.y && y < c.shown.y + c.shown.height;
                for (int channel = 0; channel < 3; ++channel) {
                    const int want = inside ? c.expected(x, y, channel) : 0;
                    if (want >= 0 && at(picture, c.width, x, y, channel) != want && ++wrong <= 3)
                        ADD_FAILURE() << "pixel " << x << "," << y << " channel " << channel << ": "
                                      << int(at(picture, c.width, x, y, channel)) << ", not " << want;
                }
            }
        EXPECT_EQ(wrong, 0);
    }
}
