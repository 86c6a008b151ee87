#include "app/music_steps.h"

// The sound library arrives with audio/; until then the show runs silent.

void startSoundAndLoadingTune() {}

void fadeOutLoadingTune() {}

void startMainStream() {}

void shutDownMusic() {}
