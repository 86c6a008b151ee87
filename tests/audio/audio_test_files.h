#pragma once
// Tunes and streams made for the audio tests, and captured sound.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/writers/mp3_writer.h"

namespace audiotest {

// A looping XM module: one square-wave instrument with the given sample
// panning (0 = hard left), a note held on channel 1. Returns the file name.
std::string writeTune(const std::string& fileName, uint8_t panning = 128);

// A stereo MP3 of a 440 Hz tone at 44100 Hz. Returns the file name.
std::string writeStream(const std::string& fileName, double seconds, const std::vector<writers::Mp3Marker>& markers = {});

// A file of plain text.
std::string writeText(const std::string& fileName, const std::string& text);

// `frames` stereo frames mixed now (FSOUND_OUTPUT_NOSOUND_NONREALTIME).
std::vector<float> capture(int frames);

// The largest magnitude on one channel (0 left, 1 right) of captured sound.
float peak(const std::vector<float>& sound, int channel);

// Starts the library with nothing mixing until capture() is called.
void startCapturingLibrary();

} // namespace audiotest
