// The decode cost of one second of music: CPU milliseconds per second of
// sound, and that as a fraction of real time, for a tracker module
// (libopenmpt), an MP3 stream (libmpg123), and both through the mixer.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "audio/fmod.h"
#include "audio/module_player.h"
#include "audio/mp3_decoder.h"
#include "audio/test_hooks.h"
#include "tools/writers/mp3_writer.h"
#include "tools/writers/xm_writer.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 20;
constexpr int kBlock = 1024;

// Eight channels with a note on every other row, each on its own
// instrument, so that every channel mixes all the time.
writers::XmModule benchTune()
{
    writers::XmModule module;
    module.name = "bench";
    module.channels = 8;
    module.order = {0, 0, 0, 0};
    writers::XmPattern pattern;
    pattern.rows = 64;
    pattern.cells.resize(64 * 8);
    for (int channel = 0; channel < 8; ++channel) {
        writers::XmInstrument instrument;
        instrument.name = "wave";
        for (int i = 0; i < 2000; ++i)
            instrument.sample.push_back(static_cast<int16_t>(9000 * std::sin(i * 0.05 * (channel + 1))));
        instrument.loop = writers::XmInstrument::Loop::Forward;
        instrument.loopLength = 2000;
        instrument.panning = static_cast<uint8_t>(channel * 32);
        module.instruments.push_back(instrument);
        for (int row = channel % 2; row < 64; row += 2) {
            writers::XmCell& cell = pattern.cells[size_t(row) * 8 + size_t(channel)];
            cell.note = static_cast<uint8_t>(37 + (row + channel * 5) % 24);
            cell.instrument = static_cast<uint8_t>(channel + 1);
        }
    }
    module.patterns.push_back(pattern);
    return module;
}

// A chord with a little noise, like music rather than a pure tone.
writers::Mp3Audio benchStream()
{
    writers::Mp3Audio audio;
    unsigned noise = 1;
    for (int i = 0; i < kRate * kSeconds; ++i) {
        noise = noise * 1103515245u + 12345u;
        const double t = double(i) / kRate;
        const double chord = std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277 * t) + std::sin(2 * M_PI * 330 * t);
        const double left = 3000 * chord + double(noise >> 20) - 2048;
        audio.samples.push_back(static_cast<int16_t>(left));
        audio.samples.push_back(static_cast<int16_t>(3000 * chord * 0.8));
    }
    return audio;
}

void report(const char* what, std::clock_t start)
{
    const double cpuMs = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
    const double perSecond = cpuMs / kSeconds;
    std::printf("%-36s %7.3f ms CPU per second of sound (%.4f of real time)\n", what, perSecond, perSecond / 1000.0);
}

} // namespace

int main()
{
    std::vector<float> buffer(2 * kBlock);
    const int blocks = kRate * kSeconds / kBlock;

    const std::vector<uint8_t> tuneBytes = writers::encodeXm(benchTune());
    int error = 0;
    auto module = audio::ModulePlayer::load(tuneBytes, &error);
    const std::vector<uint8_t> streamBytes = writers::encodeMp3(benchStream());
    auto decoder = audio::Mp3Decoder::open(streamBytes, kRate, &error);
    if (!module || !decoder) {
        std::printf("could not build the bench music (error %d)\n", error);
        return 1;
    }

    module->play();
    std::clock_t start = std::clock();
    for (int i = 0; i < blocks; ++i) {
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        module->mixInto(buffer.data(), kBlock, kRate);
    }
    report("XM module, 8 channels (libopenmpt)", start);

    start = std::clock();
    for (int i = 0; i < blocks; ++i)
        decoder->read(buffer.data(), kBlock);
    report("MP3 stream, 128 kbit/s (libmpg123)", start);

    // Both at once through the library, as an output thread would pull them.
    const char* tuneFile = "audio_bench.xm";
    const char* streamFile = "audio_bench.mp3";
    if (!writers::writeFileBytes(tuneFile, tuneBytes) || !writers::writeFileBytes(streamFile, streamBytes))
        return 1;
    FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND_NONREALTIME);
    FSOUND_Init(kRate, 32, 0);
    FMUSIC_PlaySong(FMUSIC_LoadSong(tuneFile));
    FSOUND_Stream_Play(FSOUND_FREE, FSOUND_Stream_OpenFile(streamFile, 43, 0));
    start = std::clock();
    for (int i = 0; i < blocks; ++i)
        audio::mixForCapture(buffer.data(), kBlock);
    report("module and stream through the mixer", start);
    FSOUND_Close();
    std::remove(tuneFile);
    std::remove(streamFile);
    return 0;
}
