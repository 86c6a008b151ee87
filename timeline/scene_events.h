#pragma once
#include <string>

#include "timeline/timeline.h"

namespace hlv {

// Starts a background load of a scene file; the scene brush that draws it
// waits for the load if it has not finished by then.
class EvtLoadScene : public TimeLineEvent {
public:
    EvtLoadScene(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};

// Releases a scene from the scene manager; an unknown name does nothing.
class EvtUnloadScene : public TimeLineEvent {
public:
    EvtUnloadScene(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};

} // namespace hlv
