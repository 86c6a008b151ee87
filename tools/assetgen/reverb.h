#pragma once
// A small stereo room (parallel damped combs into all-passes) laid over the
// rendered soundtrack, so that the dry tracker voices sit in one space.

#include <vector>

namespace assetgen {

// `stereo` holds interleaved left/right samples; `wet` is the level of the room.
void addReverb(std::vector<float>& stereo, float wet);

// Scales the samples so the loudest one reaches `peak`.
void normalise(std::vector<float>& samples, float peak);

} // namespace assetgen
