// The only file of the audio library that talks to SDL: the audio device.

#include <SDL.h>

#include <cstdio>
#include <string>

#include "audio/library.h"
#include "audio/output.h"
#include "platform/sound_errors.h"

namespace audio {
namespace {

class DeviceOutput : public Output {
public:
    explicit DeviceOutput(SDL_AudioDeviceID device) : device_(device) {}
    ~DeviceOutput() override
    {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    SDL_AudioDeviceID device_;
};

void SDLCALL fillBuffer(void* /*userdata*/, Uint8* stream, int length)
{
    const int frames = length / static_cast<int>(2 * sizeof(float));
    mixAndNotify(reinterpret_cast<float*>(stream), frames);
}

// One line instead of the drivers' own: what the viewer needs to know is
// that the show goes on without sound, and why.
std::unique_ptr<Output> noDevice()
{
    std::string why = SDL_GetError();
    if (!platform::hasSoundCard())
        why = "this machine has no sound card and no sound server answered (" + why + ")";
    else if (why.empty())
        why = "no sound device could be opened";
    std::fprintf(stderr, "Sky Drift plays without sound: %s\n", why.c_str());
    return nullptr;
}

} // namespace

std::unique_ptr<Output> openDeviceOutput(int rate)
{
    platform::silenceSoundLibraryErrors();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return noDevice();
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fillBuffer;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device takes.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        std::unique_ptr<Output> none = noDevice();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return none;
    }
    SDL_PauseAudioDevice(device, 0);
    return std::make_unique<DeviceOutput>(device);
}

} // namespace audio
