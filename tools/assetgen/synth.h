#pragma once
// The instruments of the show's music, synthesised into XM samples. Every
// sample is made at 44.1 kHz and tuned so that the note C-4 plays it at that
// rate; tonal samples hold C-4 (looped ones at a pitch whose period is a
// whole number of samples, corrected by the finetune).

#include "tools/writers/xm_writer.h"

namespace assetgen {

// The instrument numbers the scores use (1-based, as in the pattern cells).
enum Instrument : uint8_t {
    kKick = 1,
    kSnare,
    kHatClosed,
    kHatOpen,
    kBass,
    kPad,
    kLead,
    kPluck,
    kBell,
    kRiser,
    kCrash,
    kInstrumentCount = kCrash
};

// All instruments, in the order of the enumeration.
std::vector<writers::XmInstrument> showInstruments();

} // namespace assetgen
