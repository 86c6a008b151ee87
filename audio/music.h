#pragma once
// The show's music: the loading tune, its fade, the main stream, the closing
// tune and the shutdown. Every failure is printed on standard output and
// otherwise ignored; the show goes on without sound.

namespace music {

// Checks the library version (3.33 or later) and initialises it at 44100 Hz
// with 32 channels. False when the library is too old or fails to start.
bool startSoundSystem();

// Loads `resourceName` into the tune slot (the previous tune is not freed)
// and plays it. False when it cannot be loaded.
bool playTune(const char* resourceName);

// Lowers the tune's volume from half to nothing over one second, busy, then
// stops it. Takes the second even when there is no tune.
void fadeOutTune();

// Opens and plays the main stream, panned as stereo. On failure prints the
// error and closes the library for the rest of the run.
bool playStream(const char* resourceName);

// The closing-tune action: closes the stream and plays `resourceName`.
void switchToTune(const char* resourceName);

// At quit: stops the current tune and closes the library.
void shutDown();

} // namespace music
