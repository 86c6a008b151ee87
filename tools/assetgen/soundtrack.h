#pragma once
// The show's soundtrack and its two tunes as modules. A row lasts 0.1 s
// (speed 6 at 150 BPM), so the soundtrack's parts start exactly at the
// show's section times.

#include <vector>

#include "tools/writers/xm_writer.h"

namespace assetgen {

constexpr int kMusicBpm = 150;
constexpr int kMusicSpeed = 6;
constexpr double kSecondsPerRow = 2.5 * kMusicSpeed / kMusicBpm;

struct SoundtrackPart {
    const char* name;
    int startRow;
};

struct Soundtrack {
    writers::XmModule module;
    std::vector<SoundtrackPart> parts;
    int rows = 0;
};

Soundtrack composeSoundtrack();
writers::XmModule composeLoadingTune();
writers::XmModule composeClosingTune();

} // namespace assetgen
