#pragma once
// Writes a PolyMesh as a LightWave object: points, FACE polygons, the tag
// list and polygon tags, one SURF per tag, and on request a UV map, a vertex
// colour map and image clips for the surfaces' texture blocks.

#include <string>
#include <vector>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/poly_mesh.h"
#include "tools/writers/lwo2_writer.h"

namespace assetgen {

struct ObjectExport {
    std::vector<writers::Lwo2Surface> surfaces;  // by tag name; missing tags get a plain grey surface
    std::vector<std::pair<uint32_t, std::string>> clips;
    std::string uvMapName;      // writes a TXUV map of the mesh's UVs when set
    std::string colourMapName;  // writes an RGBA map of the mesh's colours when set
};

void saveObject(const PackFolder& pack, const char* resourceName, const PolyMesh& mesh, const ObjectExport& extras);

} // namespace assetgen
