#include <gtest/gtest.h>

#include "audio/fmod.h"
#include "audio/fmod_errors.h"
#include "tests/audio/audio_test_files.h"

TEST(SoundLibraryErrors, CallsBeforeInitFailWithCodeTwo)
{
    const std::string tune = audiotest::writeTune("before_init.xm");
    EXPECT_EQ(FMUSIC_LoadSong(tune.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(FSOUND_Stream_OpenFile("before_init.mp3", 43, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
    EXPECT_FALSE(FSOUND_SetPan(0, FSOUND_STEREOPAN));
    EXPECT_STREQ(FMOD_ErrorString(FSOUND_GetError()), "This command failed because FSOUND_Init was not called");
}

TEST(SoundLibraryErrors, MissingAndForeignFilesGiveTheirCodes)
{
    audiotest::startCapturingLibrary();
    EXPECT_EQ(FSOUND_Stream_OpenFile("no_such_dir\\missing.mp3", 43, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(FMUSIC_LoadSong("no_such_dir\\missing.xm"), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_NOTFOUND);

    const std::string text = audiotest::writeText("not_audio.txt", "This is a shopping list, not a song.\n");
    EXPECT_EQ(FSOUND_Stream_OpenFile(text.c_str(), 43, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_FORMAT);
    EXPECT_EQ(FMUSIC_LoadSong(text.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_FORMAT);
    const std::string empty = audiotest::writeText("empty.mp3", "");
    EXPECT_EQ(FSOUND_Stream_OpenFile(empty.c_str(), 43, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_FORMAT);
    // An empty tune is refused too: libopenmpt's probe threw for it, which
    // ended the show at start-up instead of leaving it silent.
    const std::string emptyTune = audiotest::writeText("empty.xm", "");
    EXPECT_EQ(FMUSIC_LoadSong(emptyTune.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_FORMAT);

    // A module whose header claims more patterns than it holds is
    // recognised but cannot be read.
    std::string module;
    std::FILE* whole = std::fopen(audiotest::writeTune("whole.xm").c_str(), "rb");
    ASSERT_NE(whole, nullptr);
    for (int c = std::fgetc(whole); c != EOF; c = std::fgetc(whole))
        module.push_back(static_cast<char>(c));
    std::fclose(whole);
    ASSERT_GT(module.size(), 70u);
    module[70] = '\xFF';  // pattern count, low byte
    const std::string broken = audiotest::writeText("broken.xm", module);
    EXPECT_EQ(FMUSIC_LoadSong(broken.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_BAD);

    // Handles the library never gave out.
    EXPECT_FALSE(FMUSIC_PlaySong(nullptr));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    EXPECT_FALSE(FSOUND_Stream_Close(nullptr));
    EXPECT_FALSE(FSOUND_SetPan(32, 0));
    FSOUND_Close();
}

TEST(SoundLibraryErrors, ErrorTextsCoverTheTableAndNothingElse)
{
    EXPECT_STREQ(FMOD_ErrorString(FMOD_ERR_NONE), "No errors");
    EXPECT_STREQ(FMOD_ErrorString(FMOD_ERR_FILE_NOTFOUND), "File not found");
    EXPECT_STREQ(FMOD_ErrorString(FMOD_ERR_MEMORY), "Not enough memory ");
    EXPECT_STREQ(FMOD_ErrorString(FMOD_ERR_MEDIAPLAYER), "Required Mediaplayer codec is not installed");
    EXPECT_STREQ(FMOD_ErrorString(20), "Unknown error");
    EXPECT_STREQ(FMOD_ErrorString(-1), "Unknown error");
}

TEST(SoundLibraryErrors, CloseMakesLaterCallsHarmless)
{
    audiotest::startCapturingLibrary();
    FMUSIC_MODULE* tune = FMUSIC_LoadSong(audiotest::writeTune("closed.xm").c_str());
    FSOUND_STREAM* stream = FSOUND_Stream_OpenFile(audiotest::writeStream("closed.mp3", 0.2).c_str(), 43, 0);
    ASSERT_NE(tune, nullptr);
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(FMUSIC_PlaySong(tune));
    ASSERT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    FSOUND_Close();

    EXPECT_FALSE(FMUSIC_StopSong(tune));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
    EXPECT_FALSE(FMUSIC_SetMasterVolume(tune, 0));
    EXPECT_FALSE(FSOUND_Stream_Close(stream));
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
    EXPECT_EQ(FMUSIC_LoadSong("closed.xm"), nullptr);
    FSOUND_Close();
    EXPECT_EQ(audiotest::peak(audiotest::capture(1024), 0), 0.0f);

    // Handles from before the close mean nothing to a new start.
    audiotest::startCapturingLibrary();
    EXPECT_FALSE(FMUSIC_PlaySong(tune));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    // The set-up calls after the start fail with code 1, whatever they pass.
    const char* const busy = "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.";
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(FSOUND_GetError(), 1);
    EXPECT_STREQ(FMOD_ErrorString(FSOUND_GetError()), busy);
    EXPECT_FALSE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND));
    EXPECT_EQ(FSOUND_GetError(), 1);
    FSOUND_GetVersion();  // succeeds, so the next code is the driver call's own
    ASSERT_EQ(FSOUND_GetError(), FMOD_ERR_NONE);
    EXPECT_FALSE(FSOUND_SetDriver(0));
    EXPECT_EQ(FSOUND_GetError(), 1);
    EXPECT_STREQ(FMOD_ErrorString(FSOUND_GetError()), busy);
    FSOUND_Close();
}
