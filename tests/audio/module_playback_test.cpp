#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "audio/fmod.h"
#include "tests/audio/audio_test_files.h"

namespace {

float rms(const std::vector<float>& sound)
{
    double sum = 0.0;
    for (float value : sound)
        sum += double(value) * value;
    return static_cast<float>(std::sqrt(sum / double(sound.size())));
}

} // namespace

TEST(ModulePlayback, GeneratedXmIsHeardAtItsVolume)
{
    audiotest::startCapturingLibrary();
    std::filesystem::create_directories("tunes");
    audiotest::writeTune("tunes/volume.xm");
    FMUSIC_MODULE* tune = FMUSIC_LoadSong("tunes\\volume.xm");
    ASSERT_NE(tune, nullptr);
    EXPECT_EQ(FMUSIC_GetType(tune), FMUSIC_TYPE_XM);
    EXPECT_EQ(audiotest::peak(audiotest::capture(4410), 0), 0.0f) << "loaded but not yet played";

    ASSERT_TRUE(FMUSIC_PlaySong(tune));
    const float full = rms(audiotest::capture(4410));
    EXPECT_GT(full, 0.01f);

    ASSERT_TRUE(FMUSIC_SetMasterVolume(tune, 128));
    audiotest::capture(1024);  // past the volume change
    EXPECT_NEAR(rms(audiotest::capture(4410)) / full, 128.0f / 255.0f, 0.05f);

    ASSERT_TRUE(FMUSIC_SetMasterVolume(tune, 0));
    const std::vector<float> muted = audiotest::capture(4410);
    EXPECT_EQ(audiotest::peak(muted, 0), 0.0f);
    EXPECT_EQ(audiotest::peak(muted, 1), 0.0f);
    EXPECT_FALSE(FMUSIC_SetMasterVolume(tune, 256));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);

    // The tune repeats: it is still heard long after its 16 rows.
    ASSERT_TRUE(FMUSIC_SetMasterVolume(tune, 255));
    audiotest::capture(44100 * 3);
    EXPECT_GT(rms(audiotest::capture(4410)), 0.01f);

    ASSERT_TRUE(FMUSIC_StopSong(tune));
    EXPECT_EQ(audiotest::peak(audiotest::capture(4410), 0), 0.0f);
    FSOUND_Close();
}

TEST(ModulePlayback, PanSeparationNarrowsTheStereoImage)
{
    audiotest::startCapturingLibrary();
    FMUSIC_MODULE* tune = FMUSIC_LoadSong(audiotest::writeTune("hard_left.xm", 0).c_str());
    ASSERT_NE(tune, nullptr);
    ASSERT_TRUE(FMUSIC_PlaySong(tune));
    audiotest::capture(2048);
    const std::vector<float> wide = audiotest::capture(4410);
    EXPECT_GT(audiotest::peak(wide, 0), 0.05f);
    EXPECT_LT(audiotest::peak(wide, 1), audiotest::peak(wide, 0) * 0.05f);

    ASSERT_TRUE(FMUSIC_SetPanSeperation(tune, 0.0f));
    audiotest::capture(2048);
    const std::vector<float> mono = audiotest::capture(4410);
    EXPECT_NEAR(audiotest::peak(mono, 1), audiotest::peak(mono, 0), audiotest::peak(mono, 0) * 0.05f);

    EXPECT_FALSE(FMUSIC_SetPanSeperation(tune, 1.5f));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    FSOUND_Close();
}
