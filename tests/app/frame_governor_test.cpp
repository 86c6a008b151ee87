#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "app/frame_governor.h"

namespace {

std::string text(const std::vector<FrameLevel>& levels)
{
    std::ostringstream out;
    for (const FrameLevel& level : levels)
        out << level.size.width << "x" << level.size.height << "/" << level.samples << " ";
    return out.str();
}

constexpr double kRefresh = 1000.0 / 60.0;

} // namespace

// What the show steps down through: samples first (the frame keeps its
// size), then frames of about half the pixels, down to the show's own
// 800x600; what the user pinned stays.
TEST(FrameGovernor, LevelsGoThroughFewerSamplesThenSmallerFrames)
{
    const struct {
        FrameLevel chosen;
        bool sizePinned, samplesPinned;
        const char* expected;
    } cases[] = {
        {{{1440, 1080}, 4}, false, false, "1440x1080/4 1440x1080/2 1440x1080/1 1016x762/1 800x600/1 "},
        {{{2880, 2160}, 4}, false, false,
         "2880x2160/4 2880x2160/2 2880x2160/1 2032x1524/1 1432x1074/1 1008x756/1 800x600/1 "},
        {{{1024, 768}, 8}, false, false, "1024x768/8 1024x768/4 1024x768/2 1024x768/1 800x600/1 "},
        {{{1440, 1080}, 3}, false, false, "1440x1080/3 1440x1080/1 1016x762/1 800x600/1 "},
        {{{1440, 1080}, 4}, true, false, "1440x1080/4 1440x1080/2 1440x1080/1 "},
        {{{1440, 1080}, 4}, false, true, "1440x1080/4 1016x762/4 800x600/4 "},
        {{{1440, 1080}, 4}, true, true, "1440x1080/4 "},
        {{{800, 600}, 1}, false, false, "800x600/1 "},
        {{{808, 606}, 1}, false, false, "808x606/1 800x600/1 "},
    };
    for (const auto& c : cases) {
        const std::vector<FrameLevel> levels = frameLevels(c.chosen, c.sizePinned, c.samplesPinned);
        EXPECT_EQ(text(levels), c.expected);
        for (const FrameLevel& level : levels) {
            EXPECT_EQ(level.size.width % 8, 0) << text(levels);
            EXPECT_EQ(level.size.width * 3, level.size.height * 4) << text(levels);
        }
    }
}

// Frame times fed in phases; each phase may open a new section. The level
// reached after each phase, and how many steps were taken on the way.
TEST(FrameGovernor, StepsDownWhenFramesMissTheRefreshAndUpOnlyWhereASectionStarts)
{
    using Times = std::function<double(size_t frame)>;
    const Times fast = [](size_t) { return 6.0; };
    const Times held = [](size_t) { return 12.0; };
    const Times slow = [](size_t) { return 47.0; };
    // A load or a cut: one long frame now and then.
    const Times hitches = [](size_t i) { return i % 20 == 19 ? 117.0 : 6.0; };
    // With vertical synchronisation a frame that misses shows for two periods.
    const Times synced = [](size_t i) { return i % 2 ? 2 * kRefresh : kRefresh; };
    // `n` frames in every window of 30 miss (counted from after the settling frames).
    auto missing = [](size_t n) {
        return Times([n](size_t i) {
            const size_t counted = i < FrameGovernor::kSettle ? 0 : i - FrameGovernor::kSettle;
            return counted % FrameGovernor::kWindow < n ? 30.0 : 6.0;
        });
    };
    const size_t window = FrameGovernor::kSettle + FrameGovernor::kWindow;

    struct Phase {
        bool newSection;
        size_t frames;
        Times times;
        size_t level;  // after the phase
    };
    const struct {
        const char* name;
        std::vector<Phase> phases;
        size_t steps;
    } cases[] = {
        {"held frames stay", {{false, 600, held, 0}}, 0},
        {"fast frames within a section stay", {{false, 600, fast, 0}}, 0},
        {"slow frames step once a window", {{false, window - 1, slow, 0}, {false, 1, slow, 1}}, 1},
        {"slow frames step down to the lowest and no further", {{false, 20 * window, slow, 4}}, 4},
        {"single long frames are not a frame rate", {{false, 600, hitches, 0}}, 0},
        {"a quarter missed is kept", {{false, 10 * window, missing(7), 0}}, 0},
        {"more than a quarter missed steps", {{false, window, missing(8), 1}}, 1},
        {"every other frame shown twice steps", {{false, window, synced, 1}}, 1},
        {"faster again within the section stays down",
         {{false, 2 * window, slow, 2}, {false, 600, fast, 2}}, 2},
        {"a new section with room steps up one level",
         {{false, 2 * window, slow, 2}, {false, 100, fast, 2}, {true, 1, fast, 1}, {false, 600, fast, 1}}, 3},
        {"a new section without room stays",
         {{false, 2 * window, slow, 2}, {false, 100, held, 2}, {true, 600, held, 2}}, 2},
        {"a new section at the top stays", {{false, 100, fast, 0}, {true, 600, fast, 0}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameGovernor governor(frameLevels({{1440, 1080}, 4}, false, false), kRefresh);
        size_t steps = 0;
        for (const Phase& phase : c.phases) {
            if (phase.newSection)
                governor.sectionStarted();
            for (size_t i = 0; i < phase.frames; ++i)
                steps += governor.frameDrawn(phase.times(i)) != FrameGovernor::Decision::Keep;
            EXPECT_EQ(governor.levelIndex(), phase.level);
        }
        EXPECT_EQ(steps, c.steps);
    }
}
