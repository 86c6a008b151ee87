#include "audio/music.h"

#include <cstdio>

#include "audio/fmod.h"
#include "audio/fmod_errors.h"
#include "platform/clock.h"

namespace music {
namespace {

constexpr float kRequiredVersion = 3.33f;

FMUSIC_MODULE* tune = nullptr;
FSOUND_STREAM* stream = nullptr;
int streamChannel = -1;

void reportError()
{
    std::printf("Error!\n");
    std::printf("%s\n", FMOD_ErrorString(FSOUND_GetError()));
}

signed char streamCallback(FSOUND_STREAM* /*stream*/, void* buffer, int /*length*/, int /*param*/)
{
    if (buffer)
        std::printf("\nSYNCHPOINT : \"%s\"\n", static_cast<const char*>(buffer));
    else
        std::printf("\nSTREAM ENDED!!\n");
    return 1;
}

} // namespace

bool startSoundSystem()
{
    if (FSOUND_GetVersion() < kRequiredVersion) {
        std::printf("Error : You are using the wrong DLL version!  You should be using FMOD %.02f\n", static_cast<double>(kRequiredVersion));
        return false;
    }
    FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND);
    FSOUND_SetDriver(0);
    if (!FSOUND_Init(44100, 32, 0)) {
        reportError();
        FSOUND_Close();
        return false;
    }
    return true;
}

bool playTune(const char* resourceName)
{
    tune = FMUSIC_LoadSong(resourceName);
    if (!tune)
        return false;
    const int type = FMUSIC_GetType(tune);
    if (type != FMUSIC_TYPE_IT)
        FMUSIC_SetMasterVolume(tune, 255);
    if (type == FMUSIC_TYPE_MOD || type == FMUSIC_TYPE_S3M)
        FMUSIC_SetPanSeperation(tune, 0.85f);
    FMUSIC_PlaySong(tune);
    return true;
}

void fadeOutTune()
{
    const uint32_t start = platform::timeGetTime();
    float elapsed = platform::elapsedSeconds(start, platform::timeGetTime());
    while (elapsed < 1.0f) {
        FMUSIC_SetMasterVolume(tune, static_cast<int>((1.0f - elapsed) * 128.0f));
        elapsed = platform::elapsedSeconds(start, platform::timeGetTime());
    }
    FMUSIC_StopSong(tune);
}

bool playStream(const char* resourceName)
{
    stream = FSOUND_Stream_OpenFile(resourceName, 43, 0);
    if (stream) {
        FSOUND_Stream_SetEndCallback(stream, streamCallback, 0);
        FSOUND_Stream_SetSynchCallback(stream, streamCallback, 0);
        streamChannel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    }
    if (!stream || streamChannel == -1) {
        reportError();
        FSOUND_Close();
        return false;
    }
    FSOUND_SetPan(streamChannel, FSOUND_STEREOPAN);
    return true;
}

void switchToTune(const char* resourceName)
{
    FSOUND_Stream_Close(stream);
    playTune(resourceName);
}

void shutDown()
{
    FMUSIC_StopSong(tune);
    FSOUND_Close();
}

} // namespace music
