#pragma once
// Hooks for tests and benchmarks; the show never calls them.

namespace audio {

// Makes FSOUND_GetVersion report `version` (the layer reports 3.33).
void setReportedVersion(float version);

// Mixes `frames` stereo float frames into `out` now, as an output would,
// running the stream callbacks that become due. Meant for
// FSOUND_OUTPUT_NOSOUND_NONREALTIME, where nothing else mixes.
void mixForCapture(float* out, int frames);

} // namespace audio
