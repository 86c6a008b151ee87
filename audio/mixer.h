#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/fmod.h"
#include "audio/id3_chapters.h"
#include "audio/module_player.h"
#include "audio/mp3_decoder.h"

namespace audio {

// An open MP3 stream and where it is.
struct StreamSlot {
    std::unique_ptr<Mp3Decoder> decoder;
    std::vector<ChapterMark> marks;
    FSOUND_STREAMCALLBACK endCallback = nullptr;
    int endParam = 0;
    FSOUND_STREAMCALLBACK synchCallback = nullptr;
    int synchParam = 0;
    int channel = -1;  // -1 while not playing
    size_t nextMark = 0;
    uint64_t framesPlayed = 0;
};

// A stream callback that became due while mixing; it is run after the
// library's lock is released.
struct StreamEvent {
    FSOUND_STREAMCALLBACK callback = nullptr;
    uintptr_t stream = 0;
    bool ended = false;
    std::string name;
    int position = 0;
    int param = 0;
};

// Every tune and stream of the initialised library, and the stream
// channels. Handles are the library's ids; the library's lock guards all of
// it.
class Mixer {
public:
    Mixer(int rate, int channelCount);

    int rate() const { return rate_; }

    void addModule(uintptr_t id, std::unique_ptr<ModulePlayer> module);
    ModulePlayer* module(uintptr_t id);

    void addStream(uintptr_t id, StreamSlot stream);
    StreamSlot* stream(uintptr_t id);
    void removeStream(uintptr_t id);
    // Plays the stream from its start on `channel`, or on the first free
    // channel for FSOUND_FREE. Returns the channel, or -1 with `error` set.
    int playStream(uintptr_t id, int channel, int* error);
    bool setPan(int channel, int pan);

    // Writes `frames` stereo frames to `out`, in [-1, 1], and appends the
    // stream callbacks that became due to `events`.
    void mix(float* out, int frames, std::vector<StreamEvent>& events);

private:
    struct Channel {
        uintptr_t stream = 0;  // 0: free
        int pan = 128;
    };

    void stopChannel(int channel);
    void mixStream(uintptr_t id, StreamSlot& stream, float* out, int frames, std::vector<StreamEvent>& events);

    int rate_;
    std::vector<Channel> channels_;
    std::map<uintptr_t, std::unique_ptr<ModulePlayer>> modules_;
    std::map<uintptr_t, StreamSlot> streams_;
    std::vector<float> scratch_;
};

} // namespace audio
