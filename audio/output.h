#pragma once
#include <memory>

namespace audio {

// Where mixed sound goes. An output pulls samples with mixAndNotify from a
// thread of its own until it is destroyed.
class Output {
public:
    virtual ~Output() = default;
};

// The system's audio device through SDL2, 44100 Hz (or `rate`) float
// stereo. Null when no device can be opened.
std::unique_ptr<Output> openDeviceOutput(int rate);

// No device: mixes in real time and discards the sound, so that tunes and
// streams still advance and stream callbacks still fire.
std::unique_ptr<Output> startSilentOutput(int rate);

} // namespace audio
