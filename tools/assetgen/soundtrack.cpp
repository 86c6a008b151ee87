// The soundtrack, part by part: a dawn intro without drums, the shadows'
// half-time groove with the theme, the hall's slow modal line, the cubes'
// four-to-the-floor rush, the metaballs' answer theme, the landscape's full
// return of the theme, and a resolving coda.
#include "tools/assetgen/soundtrack.h"

#include "tools/assetgen/arrangement.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

using namespace chords;

// Starts a part of `rows` rows: whole bars, then the remainder as one short
// bar that carries the transition.
int startPart(Score& score, Soundtrack& track, const char* name, int rows, int* bars, int* remainder)
{
    int row = score.addBars(rows / kBar);
    *bars = rows / kBar;
    *remainder = rows % kBar;
    if (*remainder)
        score.addBars(1, *remainder);
    track.parts.push_back({name, row});
    return row;
}

void intro(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "intro", 155, &bars, &rest);
    const std::vector<Chord> progression = {Dmaj7, Bm7, Gmaj7, Em7, Asus4};
    for (int bar = 0; bar < bars; bar += 2) {
        const Chord& chord = progression[size_t(bar / 2)];
        int length = (bar + 2 <= bars ? 2 * kBar : kBar + rest);
        padChord(score, row + bar * kBar, length, chord, 34 + bar * 3, (bar / 2) % 2 == 1);
        if (bar >= 4)
            for (int b = bar; b < bar + 2 && b < bars; ++b)
                bassBar(score, row + b * kBar, chord, BassStyle::Long, 40);
        if (bar >= 2)
            for (int b = bar; b < bar + 2 && b < bars; ++b)
                arpeggio(score, kChBell, kBell, row + b * kBar, kBar, chord, 4, 22 + b * 2, 1);
    }
    riserInto(score, row + 155);
}

void shadows(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "shadows", 270, &bars, &rest);
    crash(score, row);
    std::vector<Chord> perBar = harmony(score, row, bars, {Dmaj7, Bm7, Gmaj7, A}, 2, BassStyle::Syncopated, 36, 50);
    grooveBars(score, row, {perBar.begin(), perBar.begin() + 2}, DrumStyle::HalfTime, 40, 2, 30, 0);
    grooveBars(score, row + 2 * kBar, {perBar.begin() + 2, perBar.end()}, DrumStyle::HalfTime, 58, 2, 30, 0);
    melody(score, row + 8 * kBar, themeA(), 46);
    fillBar(score, row + bars * kBar, rest, A, false);
}

void hall(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "hall", 326, &bars, &rest);
    crash(score, row, 40);
    const std::vector<Chord> progression = {Bm, Gmaj7, Em7, Fsharp7, Bm, Gmaj7, Em7, Fsharp7, Em7, Fsharp7};
    std::vector<Chord> perBar = harmony(score, row, bars, progression, 2, BassStyle::Long, 40, 46);
    for (int bar = 0; bar < bars; ++bar) {
        if (bar >= 2)
            drumBar(score, row + bar * kBar, DrumStyle::Sparse, 54);
        if (bar % 2 == 1)
            arpeggio(score, kChBell, kBell, row + bar * kBar + 8, 8, perBar[size_t(bar)], 2, 20, 1);
    }
    melody(score, row + 2 * kBar, hallMelody(), 44, 0);
    melody(score, row + 10 * kBar, hallMelody(), 40, 1);
    bellMelody(score, row + 18 * kBar, {{0, hallMelody()[0].note, 0}, {16, hallMelody()[1].note, 0}}, 30, 1);
    padChord(score, row + bars * kBar, rest, Fsharp7, 40, true);
    riserInto(score, row + 326);
}

void cubes(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "cubes", 185, &bars, &rest);
    crash(score, row, 60);
    const std::vector<Chord> progression = {Bm, G, D, A, Bm, G, D, A, Bm, G, A};
    std::vector<Chord> perBar = harmony(score, row, bars, progression, 1, BassStyle::Offbeat, 32, 52);
    for (int bar = 0; bar < bars; ++bar) {
        drumBar(score, row + bar * kBar, DrumStyle::FourFloor, 60);
        arpeggio(score, kChArp, kPluck, row + bar * kBar, kBar, perBar[size_t(bar)], 1, 28, 1);
        score.play(kChBell, row + bar * kBar, uint8_t(perBar[size_t(bar)].arp[3] + 12), kBell, 30);
        if (bar % 4 == 3)
            crash(score, row + (bar + 1) * kBar, 36);
    }
    fillBar(score, row + bars * kBar, rest, A, true);
}

void metaballs(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "metaballs", 330, &bars, &rest);
    crash(score, row, 50);
    const std::vector<Chord> progression = {Gmaj7, A, FsharpM7, Bm7, Gmaj7, A, FsharpM7, Bm7, Em7, A};
    std::vector<Chord> perBar = harmony(score, row, bars, progression, 2, BassStyle::Syncopated, 34, 50);
    grooveBars(score, row, perBar, DrumStyle::HalfTime, 56, 2, 26, 1);
    melody(score, row + 2 * kBar, themeB(), 44);
    melody(score, row + 10 * kBar, themeB(), 44);
    bellMelody(score, row + 10 * kBar, themeB(), 26, 1);
    fillBar(score, row + bars * kBar, rest, A, false);
    riserInto(score, row + 330);
}

void landscape(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "landscape", 395, &bars, &rest);
    crash(score, row, 64);
    std::vector<Chord> perBar = harmony(score, row, bars, {Dmaj7, Bm7, Gmaj7, A}, 2, BassStyle::Syncopated, 40, 52);
    for (int bar = 0; bar < bars; ++bar) {
        int drums = bar < 16 ? 60 : 60 - (bar - 15) * 6;
        drumBar(score, row + bar * kBar, bar < 20 ? DrumStyle::HalfTime : DrumStyle::Sparse, drums);
        arpeggio(score, kChArp, kPluck, row + bar * kBar, kBar, perBar[size_t(bar)], bar < 8 ? 2 : 1, 28,
                 bar < 8 ? 0 : 1);
    }
    melody(score, row, themeA(), 48);
    melody(score, row + 8 * kBar, themeA(), 48);
    bellMelody(score, row + 8 * kBar, themeA(), 28, 1);
    melody(score, row + 16 * kBar, themeA(), 38, -1);
    padChord(score, row + bars * kBar, rest, Asus4, 36, false);
}

void coda(Score& score, Soundtrack& track)
{
    int bars, rest;
    int row = startPart(score, track, "coda", 66, &bars, &rest);
    padChord(score, row, 40, Dmaj7, 36, true);
    score.play(kChBass, row, Dmaj7.bass, kBass, 36, 40);
    bellMelody(score, row, {{0, Dmaj7.arp[0], 0}, {4, Dmaj7.arp[1], 0}, {8, Dmaj7.arp[2], 0}, {12, Dmaj7.arp[3], 0}}, 28, 1);
}

} // namespace

Soundtrack composeSoundtrack()
{
    Soundtrack track;
    Score score(kChannelCount);
    intro(score, track);
    shadows(score, track);
    hall(score, track);
    cubes(score, track);
    metaballs(score, track);
    landscape(score, track);
    coda(score, track);
    track.rows = score.rows();
    track.module = score.module("Sky Drift", kMusicBpm, kMusicSpeed, showInstruments());
    return track;
}

writers::XmModule composeLoadingTune()
{
    Score score(kChannelCount);
    int row = score.addBars(8);
    std::vector<Chord> perBar = harmony(score, row, 8, {Dmaj7, Bm7, Gmaj7, Asus4}, 2, BassStyle::Long, 40, 36);
    for (int bar = 0; bar < 8; ++bar)
        arpeggio(score, kChBell, kBell, row + bar * kBar, kBar, perBar[size_t(bar)], 4, 26, 1);
    return score.module("Sky Drift - loading", kMusicBpm, kMusicSpeed, showInstruments());
}

writers::XmModule composeClosingTune()
{
    Score score(kChannelCount);
    int row = score.addBars(16);
    std::vector<Chord> perBar = harmony(score, row, 16, {Dmaj7, Bm7, Gmaj7, A}, 2, BassStyle::Syncopated, 36, 46);
    grooveBars(score, row, {perBar.begin(), perBar.begin() + 8}, DrumStyle::Sparse, 46, 2, 26, 0);
    grooveBars(score, row + 8 * kBar, {perBar.begin() + 8, perBar.end()}, DrumStyle::HalfTime, 46, 2, 26, 0);
    melody(score, row + 8 * kBar, themeA(), 42);
    return score.module("Sky Drift - closing", kMusicBpm, kMusicSpeed, showInstruments());
}

} // namespace assetgen
