#include "tools/assetgen/lwo2_export.h"

namespace assetgen {

void saveObject(const PackFolder& pack, const char* resourceName, const PolyMesh& mesh, const ObjectExport& extras)
{
    writers::Lwo2Writer writer;
    writer.tags(mesh.tags());
    for (const auto& [index, image] : extras.clips)
        writer.clip(index, image);
    writer.points(mesh.points());
    if (!extras.uvMapName.empty()) {
        std::vector<writers::Lwo2MapEntry> entries;
        // The meshes' v runs down the picture from its top row, LightWave's
        // up from its bottom row.
        for (uint32_t i = 0; i < mesh.uvs().size(); ++i)
            entries.push_back({i, 0, {mesh.uvs()[i].u, 1 - mesh.uvs()[i].v}});
        writer.vertexMap("TXUV", 2, extras.uvMapName, entries);
    }
    if (!extras.colourMapName.empty()) {
        std::vector<writers::Lwo2MapEntry> entries;
        for (uint32_t i = 0; i < mesh.colours().size(); ++i) {
            const Colour4& c = mesh.colours()[i];
            entries.push_back({i, 0, {c.r, c.g, c.b, c.a}});
        }
        writer.vertexMap("RGBA", 4, extras.colourMapName, entries);
    }
    std::vector<std::vector<uint32_t>> polygons;
    std::vector<std::pair<uint32_t, uint16_t>> polygonTags;
    for (uint32_t i = 0; i < mesh.polygons().size(); ++i) {
        polygons.push_back(mesh.polygons()[i].indices);
        polygonTags.push_back({i, mesh.polygons()[i].tag});
    }
    writer.polygons(polygons);
    writer.surfaceTags(polygonTags);
    for (const std::string& tag : mesh.tags()) {
        writers::Lwo2Surface surface;
        surface.name = tag;
        for (const writers::Lwo2Surface& given : extras.surfaces)
            if (given.name == tag)
                surface = given;
        writer.surface(surface);
    }
    std::string path = pack.pathOf(resourceName);
    checkWritten(writer.save(path), path);
}

} // namespace assetgen
