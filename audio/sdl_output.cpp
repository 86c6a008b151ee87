// The only file of the audio library that talks to SDL: the audio device.

#include <SDL.h>

#include "audio/library.h"
#include "audio/output.h"

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

} // namespace

std::unique_ptr<Output> openDeviceOutput(int rate)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
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
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(device, 0);
    return std::make_unique<DeviceOutput>(device);
}

} // namespace audio
