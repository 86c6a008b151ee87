#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tests/app/show_run.h"

namespace {

// FNV-1a, 64 bits: enough to tell any changed pixel from the recorded frame.
uint64_t pixelHash(const std::vector<uint8_t>& rgb)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t byte : rgb)
        hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}

// One frame inside each section, as this machine's renderer drew it when it
// was recorded. A change here is a deliberate change of the show's pixels:
// look at the frames before recording new hashes.
struct RecordedFrame {
    float time;
    const char* section;
    uint64_t hash;
};
constexpr RecordedFrame kRecordedFrames[] = {
    {5.0f, "intro", 0x454552157e7c209aull},       {20.0f, "shadows", 0xae5fb8a3e8365a43ull},
    {50.0f, "mosque", 0x6fe4def66d44a0e5ull},     {80.0f, "cubes", 0xd91087ef8515e5b7ull},
    {100.0f, "metaballs", 0x263e19e384be6e4bull}, {130.0f, "landscape", 0x269dcbf00fd9225bull},
    {170.0f, "ending", 0x4bf744f6c69165f6ull},    {243.0f, "logo", 0xdf49fc91bc701e70ull},
};

} // namespace

// The 800x600 frame without anti-aliasing is the show's reference: every
// section keeps its pixels exactly, whatever else the display paths offer.
TEST(ShowFramesTest, ReferenceFramesKeepTheirPixelsInEverySection)
{
    ShowRun run(false, ShowRun::kOnlyAskedFrames);
    ASSERT_TRUE(run.started());
    for (const RecordedFrame& recorded : kRecordedFrames) {
        const ShowFrame frame = run.frameAt(recorded.time);
        ASSERT_EQ(frame.rgb.size(), size_t(800) * 600 * 3) << recorded.section;
        char hash[32];
        std::snprintf(hash, sizeof hash, "0x%016llxull", static_cast<unsigned long long>(pixelHash(frame.rgb)));
        EXPECT_EQ(pixelHash(frame.rgb), recorded.hash) << recorded.section << " at " << recorded.time << " s: " << hash;
    }
}
