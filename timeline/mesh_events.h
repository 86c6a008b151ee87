#pragma once
#include <string>

#include "timeline/timeline.h"

namespace hlv {

// Releases a mesh from the mesh manager; an unknown name does nothing.
class EvtUnloadMesh : public TimeLineEvent {
public:
    EvtUnloadMesh(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};

} // namespace hlv
