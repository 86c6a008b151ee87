#include "timeline/music_events.h"

#include "audio/music.h"

EvtStartMusic::EvtStartMusic(float time, const char* fileName_) : TimeLineEvent(time), fileName(fileName_) {}

void EvtStartMusic::execute(float) { music::switchToTune(fileName.c_str()); }
