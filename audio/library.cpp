#include "audio/library.h"

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace audio {

Library& library()
{
    static Library instance;
    return instance;
}

void mixAndNotify(float* out, int frames)
{
    std::vector<StreamEvent> events;
    {
        Library& state = library();
        ++state.mixersWaiting;
        std::lock_guard<std::mutex> lock(state.mutex);
        --state.mixersWaiting;
        if (state.mixer)
            state.mixer->mix(out, frames, events);
        else
            std::fill(out, out + 2 * frames, 0.0f);
    }
    for (StreamEvent& event : events) {
        void* buffer = event.ended ? nullptr : const_cast<char*>(event.name.c_str());
        event.callback(reinterpret_cast<FSOUND_STREAM*>(event.stream), buffer, event.position, event.param);
    }
}

int currentMixingRate()
{
    LibraryCall call;
    Mixer* mixer = call.mixer();
    return mixer ? mixer->rate() : 0;
}

Library& LibraryCall::afterWaitingMixers()
{
    Library& state = library();
    while (state.mixersWaiting.load() > 0)
        std::this_thread::yield();
    return state;
}

LibraryCall::LibraryCall()
    : library_(afterWaitingMixers()), lock_(library_.mutex)
{
    library_.error = FMOD_ERR_NONE;
}

Mixer* LibraryCall::mixer()
{
    if (!library_.initialised || !library_.mixer) {
        fail(FMOD_ERR_UNINITIALIZED);
        return nullptr;
    }
    return library_.mixer.get();
}

template <typename Found, typename Lookup>
Found* LibraryCall::findBy(const void* handle, Lookup lookup)
{
    Mixer* all = mixer();
    if (!all)
        return nullptr;
    Found* found = lookup(*all, reinterpret_cast<uintptr_t>(handle));
    if (!found)
        fail(FMOD_ERR_INVALID_PARAM);
    return found;
}

ModulePlayer* LibraryCall::find(const FMUSIC_MODULE* handle)
{
    return findBy<ModulePlayer>(handle, [](Mixer& all, uintptr_t id) { return all.module(id); });
}

StreamSlot* LibraryCall::find(const FSOUND_STREAM* handle)
{
    return findBy<StreamSlot>(handle, [](Mixer& all, uintptr_t id) { return all.stream(id); });
}

} // namespace audio
