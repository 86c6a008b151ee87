#pragma once
#include <memory>

#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"
#include "import/lwo2_object.h"

namespace LW {

// The raw mesh of a read object: points, tagged triangles, corner colours
// from the first colour map, and texture coordinates from each surface's
// first colour block.
std::unique_ptr<hlv::RobustMesh> buildLwo2Mesh(const Lwo2Object& object, const Scene& scene);

} // namespace LW
