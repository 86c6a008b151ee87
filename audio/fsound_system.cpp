// The library's start, stop, error and channel calls.

#include <memory>
#include <system_error>

#include "audio/library.h"
#include "audio/test_hooks.h"

namespace {

bool knownOutputType(int type)
{
    return type >= -1 && type <= FSOUND_OUTPUT_NOSOUND_NONREALTIME;
}

std::unique_ptr<audio::Output> openOutput(int type, int rate)
{
    if (type == FSOUND_OUTPUT_NOSOUND_NONREALTIME)
        return nullptr;
    if (type != FSOUND_OUTPUT_NOSOUND) {
        if (auto device = audio::openDeviceOutput(rate))
            return device;
    }
    return audio::startSilentOutput(rate);
}

} // namespace

float FSOUND_GetVersion()
{
    audio::LibraryCall call;
    return call.state().version;
}

signed char FSOUND_SetOutput(int outputType)
{
    audio::LibraryCall call;
    if (call.state().initialised) {
        call.fail(FMOD_ERR_BUSY);
        return audio::kFalse;
    }
    if (!knownOutputType(outputType)) {
        call.fail(FMOD_ERR_INVALID_PARAM);
        return audio::kFalse;
    }
    call.state().outputType = outputType;
    return audio::kTrue;
}

signed char FSOUND_SetDriver(int driver)
{
    audio::LibraryCall call;
    if (call.state().initialised) {
        call.fail(FMOD_ERR_BUSY);
        return audio::kFalse;
    }
    if (driver != 0) {
        call.fail(FMOD_ERR_INVALID_PARAM);
        return audio::kFalse;
    }
    call.state().driver = driver;
    return audio::kTrue;
}

signed char FSOUND_Init(int mixRate, int maxChannels, unsigned int /*flags*/)
{
    int outputType = 0;
    {
        audio::LibraryCall call;
        if (call.state().initialised) {
            call.fail(FMOD_ERR_BUSY);
            return audio::kFalse;
        }
        if (mixRate < 8000 || mixRate > 192000 || maxChannels < 1 || maxChannels > 256) {
            call.fail(FMOD_ERR_INVALID_PARAM);
            return audio::kFalse;
        }
        call.state().mixer = std::make_unique<audio::Mixer>(mixRate, maxChannels);
        call.state().initialised = true;
        outputType = call.state().outputType;
    }
    // The output's thread takes the lock to mix, so it is started outside it.
    std::unique_ptr<audio::Output> output;
    int error = FMOD_ERR_NONE;
    try {
        output = openOutput(outputType, mixRate);
    } catch (const std::system_error&) {
        error = FMOD_ERR_INIT;
    }
    audio::LibraryCall call;
    if (error != FMOD_ERR_NONE) {
        call.state().initialised = false;
        call.state().mixer.reset();
        call.fail(error);
        return audio::kFalse;
    }
    call.state().output = std::move(output);
    return audio::kTrue;
}

int FSOUND_GetError()
{
    audio::Library& state = audio::library();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.error;
}

void FSOUND_Close()
{
    std::unique_ptr<audio::Output> output;
    std::unique_ptr<audio::Mixer> mixer;
    {
        audio::LibraryCall call;
        if (!call.state().initialised)
            call.fail(FMOD_ERR_UNINITIALIZED);
        call.state().initialised = false;
        output = std::move(call.state().output);
        mixer = std::move(call.state().mixer);
    }
    // Stopping the output waits for its thread, which may be waiting for
    // the lock: it must be released first.
    output.reset();
}

signed char FSOUND_SetPan(int channel, int pan)
{
    audio::LibraryCall call;
    audio::Mixer* mixer = call.mixer();
    if (!mixer)
        return audio::kFalse;
    if (!mixer->setPan(channel, pan)) {
        call.fail(FMOD_ERR_INVALID_PARAM);
        return audio::kFalse;
    }
    return audio::kTrue;
}

namespace audio {

void setReportedVersion(float version)
{
    LibraryCall call;
    call.state().version = version;
}

void mixForCapture(float* out, int frames)
{
    mixAndNotify(out, frames);
}

} // namespace audio
