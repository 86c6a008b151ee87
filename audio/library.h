#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "audio/mixer.h"
#include "audio/output.h"

namespace audio {

// The library's TRUE and FALSE.
constexpr signed char kTrue = 1;
constexpr signed char kFalse = 0;

// The one sound library of the process.
struct Library {
    // Guards everything below. API calls hold it briefly; the output's
    // thread holds it while it mixes one buffer.
    std::mutex mutex;
    // Mixing threads waiting for the lock. API calls let them go first, so
    // that a caller in a busy loop (the fade) cannot starve the output.
    std::atomic<int> mixersWaiting{0};
    bool initialised = false;
    int error = 0;
    int outputType = FSOUND_OUTPUT_DSOUND;
    int driver = 0;
    float version = 3.33f;
    // The last handle given out; handles are never reused.
    uintptr_t lastHandle = 0;
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<Output> output;
};

Library& library();

// Mixes `frames` stereo frames into `out` (silence when the library is
// closed), then runs the stream callbacks that became due, outside the lock.
void mixAndNotify(float* out, int frames);

// The mixing rate, or 0 with FMOD_ERR_UNINITIALIZED set when the library is
// not initialised.
int currentMixingRate();

// The lock of one API call. It clears the error on entry; the accessors set
// FMOD_ERR_UNINITIALIZED or FMOD_ERR_INVALID_PARAM when they return null.
class LibraryCall {
public:
    LibraryCall();

    Library& state() { return library_; }
    void fail(int error) { library_.error = error; }
    Mixer* mixer();
    ModulePlayer* find(const FMUSIC_MODULE* handle);
    StreamSlot* find(const FSOUND_STREAM* handle);

private:
    template <typename Found, typename Lookup>
    Found* findBy(const void* handle, Lookup lookup);

    static Library& afterWaitingMixers();

    Library& library_;
    std::lock_guard<std::mutex> lock_;
};

// Runs `change` on the tune or stream behind `handle` and returns the
// library's TRUE or FALSE. `change` returns FMOD_ERR_NONE or its error.
template <typename Handle, typename Change>
signed char changeObject(Handle* handle, Change change)
{
    LibraryCall call;
    auto* object = call.find(handle);
    if (!object)
        return kFalse;
    const int error = change(*object);
    if (error != FMOD_ERR_NONE) {
        call.fail(error);
        return kFalse;
    }
    return kTrue;
}

} // namespace audio
