#include "resources/mesh_manager.h"

#include "import/lwo2_loader.h"

MeshManager meshManager;

hlv::RobustMesh* MeshManager::load(const char* name, const char* searchDirectory)
{
    if (contains(name))
        return find(name);
    hlv::RobustMesh* mesh = loadLWO2(name, searchDirectory);
    add(name, mesh);
    return mesh;
}
