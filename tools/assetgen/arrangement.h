#pragma once
// The musical vocabulary of the show's scores: its chords, the channel
// layout every module shares, and the parts (pads, bass, drums, arpeggios,
// melodies, fills) that the soundtrack and the two tunes are built from.

#include <vector>

#include "tools/assetgen/score.h"

namespace assetgen {

enum Channel : int {
    kChKick,
    kChSnare,
    kChHat,
    kChBass,
    kChPadA,  // three voices
    kChPadB = kChPadA + 3,  // three more, so a chord's release overlaps the next
    kChLead = kChPadB + 3,
    kChEcho,
    kChArp,
    kChBell,
    kChFx,
    kChannelCount
};

struct Chord {
    uint8_t bass;
    uint8_t pad[3];
    uint8_t arp[4];
};

// The key is D major: the chords the scores use.
namespace chords {
extern const Chord Dmaj7, Bm7, Gmaj7, A, Asus4, Em7, FsharpM7, Fsharp7, G, D, Bm;
}

// A melody note: start row (from the melody's start), note, length in rows.
struct Tone {
    int row;
    uint8_t note;
    int length;
};

// The main theme over Dmaj7 | Bm7 | Gmaj7 | A (two bars each).
const std::vector<Tone>& themeA();
// Its answer over Gmaj7 | A | F#m7 | Bm7.
const std::vector<Tone>& themeB();
// The slow modal line of the hall over Bm | Gmaj7 | Em7 | F#7.
const std::vector<Tone>& hallMelody();

enum class DrumStyle { HalfTime, FourFloor, Sparse };
enum class BassStyle { Long, Syncopated, Offbeat };

constexpr int kBar = 16;

void padChord(Score& score, int row, int rows, const Chord& chord, int volume, bool secondGroup);
void bassBar(Score& score, int row, const Chord& chord, BassStyle style, int volume);
void drumBar(Score& score, int row, DrumStyle style, int volume);
// Chord tones in turn every `step` rows for `rows` rows, up then down.
void arpeggio(Score& score, int channel, uint8_t instrument, int row, int rows, const Chord& chord, int step,
              int volume, int octaveShift = 0);
// The melody on the lead (with a quieter echo three rows later), or on the bell.
void melody(Score& score, int row, const std::vector<Tone>& tones, int volume, int octaveShift = 0, bool echo = true);
void bellMelody(Score& score, int row, const std::vector<Tone>& tones, int volume, int octaveShift = 0);
// A snare roll over `rows` rows, growing louder.
void snareRoll(Score& score, int row, int rows);
// The short bar that closes a part: the pad holds `chord` under a snare roll.
void fillBar(Score& score, int row, int rows, const Chord& chord, bool secondGroup);
// Drums and a pluck arpeggio over each bar of `perBar` from `row`.
void grooveBars(Score& score, int row, const std::vector<Chord>& perBar, DrumStyle drums, int drumVolume, int arpStep,
                int arpVolume, int arpOctave);
// The riser ending at `endRow`, and a crash at `row`.
void riserInto(Score& score, int endRow);
void crash(Score& score, int row, int volume = 56);

// Pads and bass following `progression`, one chord every `barsPerChord`
// bars from `row`, for `bars` bars; returns the chord of each bar.
std::vector<Chord> harmony(Score& score, int row, int bars, const std::vector<Chord>& progression, int barsPerChord,
                           BassStyle bass, int padVolume, int bassVolume);

} // namespace assetgen
