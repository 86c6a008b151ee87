#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/fmod.h"
#include "audio/music.h"
#include "audio/test_hooks.h"
#include "platform/clock.h"
#include "tests/audio/audio_test_files.h"

namespace {

float secondsTaken(void (*work)())
{
    const uint32_t start = platform::timeGetTime();
    work();
    return platform::elapsedSeconds(start, platform::timeGetTime());
}

size_t count(const std::string& text, const std::string& part)
{
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

std::vector<float> readFloats(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> values(bytes.size() / sizeof(float));
    std::memcpy(values.data(), bytes.data(), values.size() * sizeof(float));
    return values;
}

} // namespace

TEST(Music, OldLibraryIsRefusedAndNeverStarted)
{
    audio::setReportedVersion(3.32f);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(music::startSoundSystem());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error : You are using the wrong DLL version!  You should be using FMOD 3.33\n");

    EXPECT_FALSE(music::playTune(audiotest::writeTune("old_library.xm").c_str()));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
    // Without sound the fade still takes its second.
    EXPECT_GE(secondsTaken(music::fadeOutTune), 1.0f);
    audio::setReportedVersion(3.33f);
}

TEST(Music, FadeTakesOneSecondAndStopsTheTune)
{
    audiotest::startCapturingLibrary();
    ASSERT_TRUE(music::playTune(audiotest::writeTune("fade.xm").c_str()));
    EXPECT_GT(audiotest::peak(audiotest::capture(4410), 0), 0.01f);
    EXPECT_GE(secondsTaken(music::fadeOutTune), 1.0f);
    audiotest::capture(1024);
    EXPECT_EQ(audiotest::peak(audiotest::capture(4410), 0), 0.0f);

    // A tune that failed to load leaves a null handle, faded all the same.
    EXPECT_FALSE(music::playTune("no_such_dir\\missing.xm"));
    EXPECT_GE(secondsTaken(music::fadeOutTune), 1.0f);
    FSOUND_Close();
}

TEST(Music, MissingStreamIsReportedAndSilencesTheRest)
{
    audiotest::startCapturingLibrary();
    ASSERT_TRUE(music::playTune(audiotest::writeTune("before_stream.xm").c_str()));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(music::playStream("no_such_dir\\SkyDrift.mp3"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error!\nFile not found\n");

    // The library is closed: the closing tune plays nothing, quitting is safe.
    music::switchToTune(audiotest::writeTune("closing_after_failure.xm").c_str());
    EXPECT_EQ(audiotest::peak(audiotest::capture(4410), 0), 0.0f);
    music::shutDown();
}

TEST(Music, WholeShowSequenceIsHeardOnTheDiskOutput)
{
    const std::string diskFile = "music_disk_output.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", diskFile.c_str(), 1);
    const std::string loading = audiotest::writeTune("loading.xm");
    const std::string closing = audiotest::writeTune("closing.xm");
    const std::string stream = audiotest::writeStream("main.mp3", 0.4, {{"drop", 200, 300}});

    testing::internal::CaptureStdout();
    ASSERT_TRUE(music::startSoundSystem());
    ASSERT_TRUE(music::playTune(loading.c_str()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    music::fadeOutTune();
    ASSERT_TRUE(music::playStream(stream.c_str()));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    music::switchToTune(closing.c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    music::shutDown();
    const std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(count(printed, "\nSYNCHPOINT : \"drop\"\n"), 1u) << printed;
    EXPECT_EQ(count(printed, "\nSTREAM ENDED!!\n"), 1u) << printed;
    const std::vector<float> heard = readFloats(diskFile);
    ASSERT_GT(heard.size(), 44100u * 2);
    float loudest = 0.0f;
    for (float value : heard)
        loudest = std::max(loudest, std::fabs(value));
    EXPECT_GT(loudest, 0.1f);
}
