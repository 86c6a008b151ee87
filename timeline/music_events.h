#pragma once
#include <string>

#include "timeline/timeline.h"

// Closes the main stream and starts the closing tune.
class EvtStartMusic : public hlv::TimeLineEvent {
public:
    EvtStartMusic(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};
