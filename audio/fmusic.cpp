// The module calls.

#include <vector>

#include "audio/library.h"
#include "audio/resource_file.h"

FMUSIC_MODULE* FMUSIC_LoadSong(const char* resourceName)
{
    if (audio::currentMixingRate() == 0)
        return nullptr;
    // Reading and parsing happen outside the lock so that playing tunes and
    // streams do not stall meanwhile.
    std::vector<unsigned char> bytes;
    int error = audio::readResource(resourceName, bytes);
    std::unique_ptr<audio::ModulePlayer> module;
    if (error == FMOD_ERR_NONE)
        module = audio::ModulePlayer::load(bytes, &error);

    audio::LibraryCall call;
    audio::Mixer* mixer = call.mixer();
    if (!mixer)
        return nullptr;
    if (!module) {
        call.fail(error);
        return nullptr;
    }
    const uintptr_t id = ++call.state().lastHandle;
    mixer->addModule(id, std::move(module));
    return reinterpret_cast<FMUSIC_MODULE*>(id);
}

int FMUSIC_GetType(FMUSIC_MODULE* handle)
{
    audio::LibraryCall call;
    audio::ModulePlayer* module = call.find(handle);
    return module ? module->type() : FMUSIC_TYPE_NONE;
}

signed char FMUSIC_SetMasterVolume(FMUSIC_MODULE* handle, int volume)
{
    return audio::changeObject(handle, [volume](audio::ModulePlayer& module) {
        if (volume < 0 || volume > 255)
            return FMOD_ERR_INVALID_PARAM;
        module.setVolume(volume);
        return FMOD_ERR_NONE;
    });
}

signed char FMUSIC_SetPanSeperation(FMUSIC_MODULE* handle, float separation)
{
    return audio::changeObject(handle, [separation](audio::ModulePlayer& module) {
        if (!(separation >= 0.0f && separation <= 1.0f))
            return FMOD_ERR_INVALID_PARAM;
        module.setPanSeparation(separation);
        return FMOD_ERR_NONE;
    });
}

signed char FMUSIC_PlaySong(FMUSIC_MODULE* handle)
{
    return audio::changeObject(handle, [](audio::ModulePlayer& module) {
        module.play();
        return FMOD_ERR_NONE;
    });
}

signed char FMUSIC_StopSong(FMUSIC_MODULE* handle)
{
    return audio::changeObject(handle, [](audio::ModulePlayer& module) {
        module.stop();
        return FMOD_ERR_NONE;
    });
}
