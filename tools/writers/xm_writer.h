#pragma once
// FastTracker 2 modules (".xm", version 0x0104) for the tests and the asset
// generator: header, patterns, and instruments of one 16-bit sample each.

#include <cstdint>
#include <string>
#include <vector>

namespace writers {

// One channel of one row; zero fields are left out of the file.
struct XmCell {
    uint8_t note = 0;        // 1..96 = C-0..B-7, 97 = key off
    uint8_t instrument = 0;  // 1-based
    uint8_t volume = 0;      // volume column: 0x10..0x50 sets volume 0..64
    uint8_t effect = 0;
    uint8_t parameter = 0;
};

struct XmPattern {
    uint16_t rows = 64;          // 1..256
    std::vector<XmCell> cells;   // row by row, `channels` per row; missing cells are empty
};

struct XmEnvelopePoint {
    uint16_t tick = 0;
    uint16_t value = 0;  // 0..64
};

struct XmInstrument {
    std::string name;
    std::vector<int16_t> sample;  // mono, played at C-4 = 8363 Hz before relativeNote
    enum class Loop : uint8_t { None = 0, Forward = 1, PingPong = 2 } loop = Loop::None;
    uint32_t loopStart = 0;   // in samples
    uint32_t loopLength = 0;  // in samples
    uint8_t volume = 64;      // 0..64
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
    // Up to 12 points, ticks rising; empty for none.
    std::vector<XmEnvelopePoint> volumeEnvelope;
    int sustainPoint = -1;      // index into the envelope, -1 for none
    uint16_t fadeout = 0;       // after key off, 0..4095
};

struct XmModule {
    std::string name;
    uint16_t channels = 4;  // 1..32
    uint16_t speed = 6;     // ticks per row
    uint16_t bpm = 125;
    uint16_t restartPosition = 0;
    bool linearFrequencies = true;
    std::vector<uint8_t> order;  // 1..256 pattern indices
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;  // up to 128
};

// The file's bytes; empty when the module breaks one of the limits above.
std::vector<uint8_t> encodeXm(const XmModule& module);

// Writes the module to a file-system path. False when it breaks a limit or
// the file cannot be written.
bool writeXm(const std::string& path, const XmModule& module);

// Writes bytes to a file-system path; false when that fails.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace writers
