#pragma once
#include <string>

// Writes the show's sound from show time 0 to `seconds` to `path` as raw
// 32-bit float stereo frames at 44100 Hz, mixed by the sound library exactly
// as the show plays it: the main stream from 0, closed for the closing tune
// at 166.1 s. The loading tune is not part of it. False with a message in
// `error` on failure.
bool writeSoundtrack(const std::string& path, float seconds, std::string* error);

// The raw format of the soundtrack, as ffmpeg's input options.
extern const char* const kSoundtrackFormat;
