#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/module_player.h"
#include "tests/support/run_program.h"

namespace {

constexpr int kRate = 44100;

std::vector<float> readFloats(const std::string& path)
{
    std::string bytes = readWholeFile(path);
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

double rms(const std::vector<float>& samples, size_t begin, size_t end)
{
    double sum = 0.0;
    for (size_t i = begin; i < end; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(end - begin));
}

} // namespace

// The video's soundtrack is the show's mix: the stream up to 166.1 s, then
// the closing tune alone, from its first row, in the frame where the show
// switches; the loading tune nowhere.
TEST(ShowSoundtrackTest, StreamThenClosingTuneFromItsStart)
{
    const std::filesystem::path build = std::filesystem::path(SKYDRIFT_DEMO_PACK).parent_path();
    const std::string folder = "show_soundtrack";
    std::filesystem::create_directories(folder);
    std::error_code ignored;
    std::filesystem::create_directory_symlink(SKYDRIFT_DEMO_PACK, folder + "/demo", ignored);
    const float seconds = 168.0f;
    ProgramRun run = runInFolder(folder, "'" + (build / "tools" / "skydrift-render").string() +
                                             "' --soundtrack sound.f32 --until 168");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<float> sound = readFloats(folder + "/sound.f32");
    ASSERT_EQ(sound.size(), size_t(seconds * kRate) * 2);

    // The closing tune as rendered on its own from the start.
    const size_t switchFrame = size_t(166.1 * kRate + 0.5);
    std::string tuneBytes = readWholeFile(SKYDRIFT_DEMO_PACK "/_SKYD22.xm");
    int error = 0;
    auto tune = audio::ModulePlayer::load(std::vector<unsigned char>(tuneBytes.begin(), tuneBytes.end()), &error);
    ASSERT_TRUE(tune);
    tune->play();
    const int frames = int(sound.size() / 2 - switchFrame);
    std::vector<float> alone(size_t(frames) * 2, 0.0f);
    tune->mixInto(alone.data(), frames, kRate);

    double largestGap = 0.0;
    for (size_t i = 0; i < alone.size(); ++i)
        largestGap = std::max(largestGap, double(std::fabs(alone[i] - sound[switchFrame * 2 + i])));
    EXPECT_GT(rms(alone, 0, alone.size()), 0.01) << "the closing tune is silent";
    EXPECT_LT(largestGap, 1e-4) << "after 166.1 s the soundtrack is not the closing tune alone";

    // Before the switch the stream plays, and it is not the closing tune.
    const size_t before = (switchFrame - kRate) * 2;
    EXPECT_GT(rms(sound, before, switchFrame * 2), 0.01);
    double sameAsTune = 0.0;
    for (size_t i = 0; i < size_t(kRate) * 2; ++i)
        sameAsTune = std::max(sameAsTune, double(std::fabs(sound[i] - alone[i])));
    EXPECT_GT(sameAsTune, 0.01) << "the soundtrack starts with the closing tune";
}
