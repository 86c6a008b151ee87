#pragma once
// MP3 files for the tests and the asset generator, encoded by libmp3lame,
// optionally with named markers that players report as synchronisation
// points: an ID3v2.4 tag of "CHAP" frames, each titled by a "TIT2"
// sub-frame.

#include <cstdint>
#include <string>
#include <vector>

namespace writers {

struct Mp3Marker {
    std::string name;
    uint32_t startMilliseconds = 0;
    uint32_t endMilliseconds = 0;
};

struct Mp3Audio {
    std::vector<int16_t> samples;  // interleaved when stereo
    int channels = 2;              // 1 or 2
    int sampleRate = 44100;
};

// The file's bytes; empty when LAME refuses the audio (an unsupported rate,
// a channel count other than 1 or 2, a partial stereo frame).
std::vector<uint8_t> encodeMp3(const Mp3Audio& audio, const std::vector<Mp3Marker>& markers = {}, int kilobitsPerSecond = 128);

// Encodes and writes to a file-system path; false when either fails.
bool writeMp3(const std::string& path, const Mp3Audio& audio, const std::vector<Mp3Marker>& markers = {}, int kilobitsPerSecond = 128);

} // namespace writers
