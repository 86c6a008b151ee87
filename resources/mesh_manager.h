#pragma once
#include "geometry/robust_mesh.h"
#include "resources/resource_manager.h"

// The meshes made from LightWave objects, by path.
class MeshManager : public ResourceManager<hlv::RobustMesh> {
public:
    // Reads the LWO2 object at `name` (with `searchDirectory`, which may be
    // null, as the one extra directory to look in), keeps the result under
    // `name` - null included, for an IFF file of another form - and returns
    // it. The mesh is not built yet; the caller builds it with the flags it
    // needs. Load failures propagate (the bool false) and add nothing. A
    // name already held returns the held mesh without reading again.
    hlv::RobustMesh* load(const char* name, const char* searchDirectory);
};

// The process-wide mesh manager, built during static initialisation and
// destroyed, with every mesh it still owns, at exit.
extern MeshManager meshManager;
