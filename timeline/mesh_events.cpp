#include "timeline/mesh_events.h"

#include "resources/mesh_manager.h"

namespace hlv {

EvtUnloadMesh::EvtUnloadMesh(float time, const char* fileName_) : TimeLineEvent(time), fileName(fileName_) {}

void EvtUnloadMesh::execute(float)
{
    meshManager.release(fileName.c_str());
}

} // namespace hlv
