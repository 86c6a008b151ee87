#include "tests/audio/audio_test_files.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include <gtest/gtest.h>

#include "audio/fmod.h"
#include "audio/test_hooks.h"
#include "tools/writers/xm_writer.h"

namespace audiotest {

std::string writeTune(const std::string& fileName, uint8_t panning)
{
    writers::XmInstrument square;
    square.name = "square";
    for (int i = 0; i < 64; ++i)
        square.sample.push_back(i < 32 ? 12000 : -12000);
    square.loop = writers::XmInstrument::Loop::Forward;
    square.loopLength = 64;
    square.panning = panning;

    writers::XmModule module;
    module.name = "test tune";
    module.channels = 2;
    module.order = {0};
    writers::XmPattern pattern;
    pattern.rows = 16;
    pattern.cells.resize(16 * 2);
    pattern.cells[0].note = 49;  // C-4
    pattern.cells[0].instrument = 1;
    module.patterns.push_back(pattern);
    module.instruments.push_back(square);
    EXPECT_TRUE(writers::writeXm(fileName, module));
    return fileName;
}

std::string writeStream(const std::string& fileName, double seconds, const std::vector<writers::Mp3Marker>& markers)
{
    writers::Mp3Audio audio;
    const int frames = static_cast<int>(seconds * 44100);
    for (int i = 0; i < frames; ++i) {
        const auto value = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * i / 44100.0));
        audio.samples.push_back(value);
        audio.samples.push_back(value);
    }
    EXPECT_TRUE(writers::writeMp3(fileName, audio, markers));
    return fileName;
}

std::string writeText(const std::string& fileName, const std::string& text)
{
    std::ofstream(fileName, std::ios::binary) << text;
    return fileName;
}

std::vector<float> capture(int frames)
{
    std::vector<float> sound(static_cast<size_t>(frames) * 2);
    audio::mixForCapture(sound.data(), frames);
    return sound;
}

float peak(const std::vector<float>& sound, int channel)
{
    float largest = 0.0f;
    for (size_t i = static_cast<size_t>(channel); i < sound.size(); i += 2)
        largest = std::max(largest, std::fabs(sound[i]));
    return largest;
}

void startCapturingLibrary()
{
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND_NONREALTIME));
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
}

} // namespace audiotest
