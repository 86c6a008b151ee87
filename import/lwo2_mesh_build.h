#pragma once
#include <memory>
#include <vector>

#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"
#include "import/lwo2_object.h"
#include "import/texture_projection.h"

namespace LW {

// Which reading of the surfaces builds the mesh.
//  - Show: the show's own objects. Corner colours from the first colour map;
//    texture coordinates of the first colour block in set 0 for surfaces
//    with colour blocks only; a UV block without a usable map, or an
//    unknown projection, fails the load.
//  - LightWave: any object as LightWave shows it. Enabled layers only; the
//    first colour layer in set 0 and the first diffuse layer in set 1 (in
//    set 0 when there is no colour layer); corner colours from the map each
//    surface names (VCOL), white elsewhere; a layer whose map the object
//    lacks is drawn at (0, 0) with one warning; normals smoothed by each
//    surface's smoothing angle, within the surface.
// Both take LightWave's UVs (v up from the bottom of the picture) to the
// pictures' top-row-first coordinates.
enum class MeshRules { Show, LightWave };

// The texture layers that give the surface's UV sets, in set order.
std::vector<const LWTextureBlock*> uvSetLayers(const LWSurface* surface, MeshRules rules);

// How many texture layers of the surface give UV sets (the mesh has at most
// two); 0 for none.
size_t uvSetCount(const LWSurface* surface, MeshRules rules);

std::unique_ptr<hlv::RobustMesh> buildLwo2Mesh(const Lwo2Object& object, const Scene& scene,
                                               MeshRules rules = MeshRules::Show);

} // namespace LW
