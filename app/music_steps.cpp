#include "app/music_steps.h"

#include "audio/music.h"

void startSoundAndLoadingTune()
{
    // A library that fails to start has printed why; the tune then fails quietly.
    music::startSoundSystem();
    music::playTune("demo\\_SKYD11.xm");
}

void fadeOutLoadingTune() { music::fadeOutTune(); }

void startMainStream() { music::playStream("demo\\SkyDrift.mp3"); }

void shutDownMusic() { music::shutDown(); }
