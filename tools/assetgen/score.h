#pragma once
// A tracker score written on one long grid of rows and cut into patterns at
// the bar lines, so that music can be placed at absolute rows (a section
// that starts at 42.5 s starts at row 425 when a row lasts 0.1 s).

#include <cstdint>
#include <string>
#include <vector>

#include "tools/writers/xm_writer.h"

namespace assetgen {

// Note numbers as the XM cells take them: C-0 = 1.
constexpr uint8_t note(int semitoneFromC, int octave) { return uint8_t(octave * 12 + semitoneFromC + 1); }
constexpr uint8_t kKeyOff = 97;

class Score {
public:
    explicit Score(int channels) : channels_(channels) {}

    // Appends `count` bars of `rows` rows; returns the first new row.
    int addBars(int count, int rows = 16);
    int rows() const { return int(cells_.size()) / channels_; }

    // A note with an optional length in rows: the key-off goes at
    // row + length unless something else already sits there.
    void play(int channel, int row, uint8_t noteNumber, uint8_t instrument, int volume = 64, int length = 0);
    void effect(int channel, int row, uint8_t effect, uint8_t parameter);
    void keyOff(int channel, int row);

    // The module: one pattern per bar (identical bars share one pattern).
    writers::XmModule module(const std::string& name, int bpm, int speed, std::vector<writers::XmInstrument> instruments,
                             int restartBar = 0) const;

private:
    writers::XmCell* cell(int channel, int row);

    int channels_;
    std::vector<writers::XmCell> cells_;
    std::vector<int> barRows_;
};

} // namespace assetgen
