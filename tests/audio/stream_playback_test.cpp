#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/fmod.h"
#include "tests/audio/audio_test_files.h"

namespace {

std::mutex heardLock;
std::vector<std::string> heard;  // synch point names, "END" for the end
std::atomic<int> ends{0};

signed char recordCallback(FSOUND_STREAM* /*stream*/, void* buffer, int /*length*/, int param)
{
    std::lock_guard<std::mutex> lock(heardLock);
    if (buffer) {
        heard.push_back(static_cast<const char*>(buffer));
    } else {
        heard.push_back("END");
        ends += param;
    }
    return 1;
}

FSOUND_STREAM* openWithCallbacks(const std::string& file)
{
    heard.clear();
    ends = 0;
    FSOUND_STREAM* stream = FSOUND_Stream_OpenFile(file.c_str(), 43, 0);
    EXPECT_NE(stream, nullptr);
    EXPECT_TRUE(FSOUND_Stream_SetEndCallback(stream, recordCallback, 1));
    EXPECT_TRUE(FSOUND_Stream_SetSynchCallback(stream, recordCallback, 0));
    return stream;
}

} // namespace

TEST(StreamPlayback, PlaysToTheEndAndCallsBackOnceWithItsMarks)
{
    audiotest::startCapturingLibrary();
    const std::string file = audiotest::writeStream("marked.mp3", 0.5, {{"intro", 0, 100}, {"drop", 250, 400}});
    FSOUND_STREAM* stream = openWithCallbacks(file);

    const int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_EQ(channel, 0);
    EXPECT_TRUE(FSOUND_SetPan(channel, FSOUND_STEREOPAN));
    const std::vector<float> start = audiotest::capture(4410);
    EXPECT_GT(audiotest::peak(start, 0), 0.2f);
    EXPECT_EQ(heard, std::vector<std::string>{"intro"});

    audiotest::capture(44100);
    audiotest::capture(44100);
    EXPECT_EQ(heard, (std::vector<std::string>{"intro", "drop", "END"}));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(audiotest::peak(audiotest::capture(4410), 0), 0.0f) << "the stream is over";

    // Its channel is free again; playing again starts from the beginning.
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    audiotest::capture(44100);
    EXPECT_EQ(ends, 2);
    EXPECT_TRUE(FSOUND_Stream_Close(stream));
    EXPECT_FALSE(FSOUND_Stream_Close(stream));
    FSOUND_Close();
}

TEST(StreamPlayback, PanMovesTheStreamBetweenSides)
{
    audiotest::startCapturingLibrary();
    FSOUND_STREAM* stream = FSOUND_Stream_OpenFile(audiotest::writeStream("panned.mp3", 1.0).c_str(), 43, 0);
    ASSERT_NE(stream, nullptr);
    const int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    audiotest::capture(4410);
    const std::vector<float> middle = audiotest::capture(4410);

    ASSERT_TRUE(FSOUND_SetPan(channel, FSOUND_STEREOPAN));
    const std::vector<float> stereo = audiotest::capture(4410);
    EXPECT_NEAR(audiotest::peak(middle, 0), audiotest::peak(stereo, 0) * 127.0f / 255.0f, 0.02f);

    ASSERT_TRUE(FSOUND_SetPan(channel, 0));
    const std::vector<float> left = audiotest::capture(4410);
    EXPECT_GT(audiotest::peak(left, 0), 0.2f);
    EXPECT_EQ(audiotest::peak(left, 1), 0.0f);
    EXPECT_FALSE(FSOUND_SetPan(channel, 256));
    FSOUND_Close();
}

TEST(StreamPlayback, WithoutADeviceTheStreamStillRunsInRealTime)
{
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND));
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_STREAM* stream = openWithCallbacks(audiotest::writeStream("silent.mp3", 0.3));
    ASSERT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    for (int waited = 0; waited < 100 && ends == 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(ends, 1);
    FSOUND_Close();
}

TEST(StreamPlayback, ChannelsRunOut)
{
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND_NONREALTIME));
    ASSERT_TRUE(FSOUND_Init(44100, 1, 0));
    const std::string file = audiotest::writeStream("one_channel.mp3", 0.2);
    FSOUND_STREAM* first = FSOUND_Stream_OpenFile(file.c_str(), 43, 0);
    FSOUND_STREAM* second = FSOUND_Stream_OpenFile(file.c_str(), 43, 0);
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, first), 0);
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, second), -1);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_CHANNEL_ALLOC);
    // Closing the first frees its channel.
    EXPECT_TRUE(FSOUND_Stream_Close(first));
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, second), 0);
    FSOUND_Close();
}
