// The MP3 stream calls.

#include <vector>

#include "audio/id3_chapters.h"
#include "audio/library.h"
#include "audio/resource_file.h"

FSOUND_STREAM* FSOUND_Stream_OpenFile(const char* resourceName, unsigned int /*mode*/, int /*length*/)
{
    const int rate = audio::currentMixingRate();
    if (rate == 0)
        return nullptr;
    // Reading and the first decode happen outside the lock so that playing
    // tunes and streams do not stall meanwhile.
    std::vector<unsigned char> bytes;
    int error = audio::readResource(resourceName, bytes);
    audio::StreamSlot slot;
    if (error == FMOD_ERR_NONE) {
        slot.marks = audio::readChapterMarks(bytes.data(), bytes.size());
        slot.decoder = audio::Mp3Decoder::open(std::move(bytes), rate, &error);
    }

    audio::LibraryCall call;
    audio::Mixer* mixer = call.mixer();
    if (!mixer)
        return nullptr;
    if (!slot.decoder) {
        call.fail(error);
        return nullptr;
    }
    const uintptr_t id = ++call.state().lastHandle;
    mixer->addStream(id, std::move(slot));
    return reinterpret_cast<FSOUND_STREAM*>(id);
}

signed char FSOUND_Stream_SetEndCallback(FSOUND_STREAM* handle, FSOUND_STREAMCALLBACK callback, int param)
{
    return audio::changeObject(handle, [&](audio::StreamSlot& stream) {
        stream.endCallback = callback;
        stream.endParam = param;
        return FMOD_ERR_NONE;
    });
}

signed char FSOUND_Stream_SetSynchCallback(FSOUND_STREAM* handle, FSOUND_STREAMCALLBACK callback, int param)
{
    return audio::changeObject(handle, [&](audio::StreamSlot& stream) {
        stream.synchCallback = callback;
        stream.synchParam = param;
        return FMOD_ERR_NONE;
    });
}

int FSOUND_Stream_Play(int channel, FSOUND_STREAM* handle)
{
    audio::LibraryCall call;
    if (!call.find(handle))
        return -1;
    int error = FMOD_ERR_NONE;
    const int played = call.mixer()->playStream(reinterpret_cast<uintptr_t>(handle), channel, &error);
    if (played < 0)
        call.fail(error);
    return played;
}

signed char FSOUND_Stream_Close(FSOUND_STREAM* handle)
{
    audio::LibraryCall call;
    if (!call.find(handle))
        return audio::kFalse;
    call.mixer()->removeStream(reinterpret_cast<uintptr_t>(handle));
    return audio::kTrue;
}
