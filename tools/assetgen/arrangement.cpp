#include "tools/assetgen/arrangement.h"

#include <algorithm>

#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {
// Semitones above C.
constexpr int sCs = 1, sD = 2, sE = 4, sFs = 6, sG = 7, sA = 9, sAs = 10, sB = 11;
} // namespace

namespace chords {
const Chord Dmaj7{note(sD, 2), {note(sFs, 3), note(sA, 3), note(sCs, 4)}, {note(sD, 4), note(sFs, 4), note(sA, 4), note(sCs, 5)}};
const Chord Bm7{note(sB, 1), {note(sFs, 3), note(sA, 3), note(sD, 4)}, {note(sB, 3), note(sD, 4), note(sFs, 4), note(sA, 4)}};
const Chord Gmaj7{note(sG, 1), {note(sFs, 3), note(sB, 3), note(sD, 4)}, {note(sG, 3), note(sB, 3), note(sD, 4), note(sFs, 4)}};
const Chord A{note(sA, 1), {note(sE, 3), note(sA, 3), note(sCs, 4)},
              {note(sA, 3), note(sCs, 4), note(sE, 4), note(sA, 4)}};
const Chord Asus4{note(sA, 1), {note(sE, 3), note(sA, 3), note(sD, 4)},
                  {note(sA, 3), note(sD, 4), note(sE, 4), note(sA, 4)}};
const Chord Em7{note(sE, 2), {note(sG, 3), note(sB, 3), note(sD, 4)}, {note(sE, 4), note(sG, 4), note(sB, 4), note(sD, 5)}};
const Chord FsharpM7{note(sFs, 2), {note(sE, 3), note(sA, 3), note(sCs, 4)},
                     {note(sFs, 3), note(sA, 3), note(sCs, 4), note(sE, 4)}};
const Chord Fsharp7{note(sFs, 2), {note(sE, 3), note(sAs, 3), note(sCs, 4)}, {note(sFs, 3), note(sAs, 3), note(sCs, 4), note(sE, 4)}};
const Chord G{note(sG, 1), {note(sG, 3), note(sB, 3), note(sD, 4)},
              {note(sG, 3), note(sB, 3), note(sD, 4), note(sG, 4)}};
const Chord D{note(sD, 2), {note(sFs, 3), note(sA, 3), note(sD, 4)},
              {note(sD, 4), note(sFs, 4), note(sA, 4), note(sD, 5)}};
const Chord Bm{note(sB, 1), {note(sFs, 3), note(sB, 3), note(sD, 4)},
               {note(sB, 3), note(sD, 4), note(sFs, 4), note(sB, 4)}};
} // namespace chords

const std::vector<Tone>& themeA()
{
    static const std::vector<Tone> tones = {
        {0, note(sFs, 5), 6}, {6, note(sE, 5), 2}, {8, note(sD, 5), 4}, {12, note(sA, 4), 4},
        {16, note(sB, 4), 8}, {24, note(sA, 4), 4}, {28, note(sFs, 4), 4},
        {32, note(sD, 5), 6}, {38, note(sCs, 5), 2}, {40, note(sB, 4), 4}, {44, note(sFs, 5), 4},
        {48, note(sE, 5), 12}, {60, note(sD, 5), 4},
        {64, note(sB, 4), 6}, {70, note(sD, 5), 2}, {72, note(sG, 5), 8},
        {80, note(sFs, 5), 6}, {86, note(sE, 5), 2}, {88, note(sD, 5), 4}, {92, note(sB, 4), 4},
        {96, note(sCs, 5), 8}, {104, note(sE, 5), 4}, {108, note(sA, 5), 4},
        {112, note(sA, 5), 10}, {122, note(sG, 5), 2}, {124, note(sE, 5), 4},
    };
    return tones;
}

const std::vector<Tone>& themeB()
{
    static const std::vector<Tone> tones = {
        {0, note(sB, 4), 4}, {4, note(sD, 5), 4}, {8, note(sFs, 5), 8},
        {16, note(sE, 5), 8}, {24, note(sD, 5), 4}, {28, note(sB, 4), 4},
        {32, note(sCs, 5), 4}, {36, note(sE, 5), 4}, {40, note(sA, 5), 8},
        {48, note(sG, 5), 6}, {54, note(sFs, 5), 2}, {56, note(sE, 5), 8},
        {64, note(sFs, 5), 4}, {68, note(sE, 5), 4}, {72, note(sCs, 5), 8},
        {80, note(sA, 4), 8}, {88, note(sCs, 5), 8},
        {96, note(sD, 5), 6}, {102, note(sCs, 5), 2}, {104, note(sB, 4), 4}, {108, note(sA, 4), 4},
        {112, note(sB, 4), 16},
    };
    return tones;
}

const std::vector<Tone>& hallMelody()
{
    static const std::vector<Tone> tones = {
        {0, note(sB, 4), 16},
        {16, note(sD, 5), 8}, {24, note(sCs, 5), 8},
        {32, note(sB, 4), 12}, {44, note(sA, 4), 4},
        {48, note(sFs, 4), 16},
        {64, note(sG, 4), 8}, {72, note(sA, 4), 8},
        {80, note(sB, 4), 16},
        {96, note(sE, 5), 8}, {104, note(sD, 5), 8},
        {112, note(sCs, 5), 12}, {124, note(sAs, 4), 4},
    };
    return tones;
}

void padChord(Score& score, int row, int rows, const Chord& chord, int volume, bool secondGroup)
{
    static const uint8_t kPan[3] = {0x50, 0x80, 0xB0};
    int first = secondGroup ? kChPadB : kChPadA;
    for (int v = 0; v < 3; ++v) {
        // The pad's saws carry far more energy than the lead's near-sine, so
        // they sit a quarter below the level asked for.
        score.play(first + v, row, chord.pad[v], kPad, volume * 3 / 4, rows);
        score.effect(first + v, row, 0x08, kPan[v]);
    }
}

void bassBar(Score& score, int row, const Chord& chord, BassStyle style, int volume)
{
    switch (style) {
    case BassStyle::Long:
        score.play(kChBass, row, chord.bass, kBass, volume, 15);
        break;
    case BassStyle::Syncopated:
        score.play(kChBass, row, chord.bass, kBass, volume, 5);
        score.play(kChBass, row + 6, chord.bass, kBass, volume - 10, 2);
        score.play(kChBass, row + 10, uint8_t(chord.bass + 12), kBass, volume - 6, 3);
        score.play(kChBass, row + 14, chord.bass, kBass, volume - 12, 2);
        break;
    case BassStyle::Offbeat:
        for (int r = 0; r < kBar; r += 4) {
            score.play(kChBass, row + r, chord.bass, kBass, volume - 16, 1);
            score.play(kChBass, row + r + 2, uint8_t(chord.bass + 12), kBass, volume, 2);
        }
        break;
    }
}

void drumBar(Score& score, int row, DrumStyle style, int volume)
{
    auto v = [volume](int level) { return level * volume / 64; };
    switch (style) {
    case DrumStyle::HalfTime:
        score.play(kChKick, row, note(0, 4), kKick, v(64));
        score.play(kChKick, row + 10, note(0, 4), kKick, v(52));
        score.play(kChSnare, row + 8, note(0, 4), kSnare, v(54));
        score.play(kChSnare, row + 14, note(0, 4), kSnare, v(14));
        for (int r = 0; r < kBar; r += 2)
            score.play(kChHat, row + r, note(0, 4), r == 12 ? kHatOpen : kHatClosed, v(r % 4 == 0 ? 34 : 22));
        break;
    case DrumStyle::FourFloor:
        for (int r = 0; r < kBar; r += 4) {
            score.play(kChKick, row + r, note(0, 4), kKick, v(64));
            score.play(kChHat, row + r + 2, note(0, 4), kHatOpen, v(30));
        }
        score.play(kChSnare, row + 4, note(0, 4), kSnare, v(56));
        score.play(kChSnare, row + 12, note(0, 4), kSnare, v(56));
        for (int r = 1; r < kBar; r += 4)
            score.play(kChHat, row + r + 2, note(0, 4), kHatClosed, v(18));
        break;
    case DrumStyle::Sparse:
        score.play(kChKick, row, note(0, 4), kKick, v(46));
        score.play(kChKick, row + 9, note(0, 4), kKick, v(30));
        score.play(kChSnare, row + 12, note(0, 4), kSnare, v(18));
        score.play(kChHat, row + 8, note(0, 4), kHatOpen, v(20));
        break;
    }
}

void arpeggio(Score& score, int channel, uint8_t instrument, int row, int rows, const Chord& chord, int step,
              int volume, int octaveShift)
{
    static const int kOrder[6] = {0, 1, 2, 3, 2, 1};
    for (int r = 0, i = 0; r < rows; r += step, ++i) {
        uint8_t n = uint8_t(chord.arp[kOrder[i % 6]] + 12 * octaveShift);
        score.play(channel, row + r, n, instrument, (i % 4 == 0) ? volume : volume * 3 / 4);
    }
}

void melody(Score& score, int row, const std::vector<Tone>& tones, int volume, int octaveShift, bool echo)
{
    for (const Tone& t : tones) {
        uint8_t n = uint8_t(t.note + 12 * octaveShift);
        score.play(kChLead, row + t.row, n, kLead, volume, t.length);
        if (echo) {
            score.play(kChEcho, row + t.row + 3, n, kLead, volume / 3, t.length);
            score.effect(kChEcho, row + t.row + 3, 0x08, 0xC8);
        }
    }
}

void bellMelody(Score& score, int row, const std::vector<Tone>& tones, int volume, int octaveShift)
{
    for (const Tone& t : tones)
        score.play(kChBell, row + t.row, uint8_t(t.note + 12 * octaveShift), kBell, volume);
}

void snareRoll(Score& score, int row, int rows)
{
    for (int r = 0; r < rows; ++r)
        if (r >= rows / 2 || r % 2 == 0)
            score.play(kChSnare, row + r, note(0, 4), kSnare, 20 + 40 * r / (rows > 1 ? rows - 1 : 1));
}

void fillBar(Score& score, int row, int rows, const Chord& chord, bool secondGroup)
{
    padChord(score, row, rows, chord, 36, secondGroup);
    snareRoll(score, row, rows);
}

void grooveBars(Score& score, int row, const std::vector<Chord>& perBar, DrumStyle drums, int drumVolume, int arpStep,
                int arpVolume, int arpOctave)
{
    for (size_t bar = 0; bar < perBar.size(); ++bar) {
        drumBar(score, row + int(bar) * kBar, drums, drumVolume);
        arpeggio(score, kChArp, kPluck, row + int(bar) * kBar, kBar, perBar[bar], arpStep, arpVolume, arpOctave);
    }
}

void riserInto(Score& score, int endRow)
{
    score.play(kChFx, endRow - 32, note(0, 4), kRiser, 44);
}

void crash(Score& score, int row, int volume)
{
    score.play(kChFx, row, note(0, 4), kCrash, volume);
}

std::vector<Chord> harmony(Score& score, int row, int bars, const std::vector<Chord>& progression, int barsPerChord,
                           BassStyle bass, int padVolume, int bassVolume)
{
    std::vector<Chord> perBar;
    for (int bar = 0; bar < bars; ++bar) {
        int index = bar / barsPerChord;
        const Chord& chord = progression[size_t(index) % progression.size()];
        perBar.push_back(chord);
        if (bar % barsPerChord == 0) {
            int length = std::min(barsPerChord, bars - bar) * kBar;
            padChord(score, row + bar * kBar, length, chord, padVolume, index % 2 == 1);
        }
        bassBar(score, row + bar * kBar, chord, bass, bassVolume);
    }
    return perBar;
}

} // namespace assetgen
