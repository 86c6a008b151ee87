#pragma once
// The music steps of start-up and shut-down. Their failures are printed and
// the show goes on without sound.

void startSoundAndLoadingTune();   // sound library, then "demo\_SKYD11.xm"
void fadeOutLoadingTune();         // one second, then stopped
void startMainStream();            // "demo\SkyDrift.mp3"
void shutDownMusic();              // current tune stopped, sound library closed
