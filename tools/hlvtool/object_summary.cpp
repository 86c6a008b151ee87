#include <cstdio>
#include <memory>

#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"
#include "import/lws_object.h"
#include "tools/hlvtool/json_object.h"
#include "tools/hlvtool/object_pictures.h"
#include "tools/hlvtool/summaries.h"

namespace hlvtool {

namespace {

// Built as the shadow layer builds its meshes.
constexpr unsigned kShadowBuild = hlv::RobustMesh::ComputeNormals | hlv::RobustMesh::BuildEdges;

// "colour texture 'a.png' uv map uv, found at Images/a.png".
std::string blockLine(const char* kind, const LW::LWTextureBlock& block, const std::string& objectPath)
{
    static const char* projections[] = {"planar", "cylindrical", "spherical", "cubic", "front", "uv"};
    const char* projection = block.projection >= 0 && block.projection <= 5 ? projections[block.projection] : "unknown";
    const std::string found = findObjectPicture(block.imageName, objectPath);
    const std::string where = block.imageName.empty() ? "" : found.empty() ? ", missing" : ", found at " + found;
    char text[1024];
    std::snprintf(text, sizeof text, "    %s texture '%s' %s%s%s%s%s\n", kind, block.imageName.c_str(), projection,
                  block.uvMap.empty() ? "" : " map ", block.uvMap.c_str(), block.enabled ? "" : " (disabled)",
                  where.c_str());
    return text;
}

// Closed: every edge between exactly two triangles. A manifold mesh may
// still be open (a single quad's outline edges have one triangle each).
const char* closure(const hlv::EdgeList& edges)
{
    if (!edges.isManifold())
        return "not manifold";
    for (uint32_t e = 0; e < edges.edgeCount(); ++e)
        if (edges.incidenceCount(e) != 2)
            return "open";
    return "closed";
}

} // namespace

std::string describeObject(const std::string& path, bool json)
{
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record);
    const LW::SubdivisionCounts subdivision = object.subdivision;
    std::unique_ptr<hlv::RobustMesh> mesh = std::move(object.mesh);
    mesh->build(kShadowBuild);
    const hlv::EdgeList& edges = mesh->edgeList();
    const uint32_t uvSets = mesh->parts().empty() ? 0 : mesh->parts()[0].uvLayerCount;
    size_t textures = 0, missing = 0;
    for (const auto& surface : record.surfaces)
        for (const auto* blocks : {&surface->colourBlocks, &surface->diffuseBlocks})
            for (const LW::LWTextureBlock& block : *blocks) {
                ++textures;
                missing += !block.imageName.empty() && findObjectPicture(block.imageName, path).empty();
            }

    if (json) {
        JsonObject object;
        object.add("kind", "object")
            .add("points", mesh->positions().size())
            .add("triangles", mesh->triangleCount())
            .add("parts", mesh->partCount())
            .add("edges", edges.edgeCount())
            .add("manifold", edges.isManifold())
            .add("closed", std::string(closure(edges)) == "closed")
            .add("surfaces", record.surfaces.size())
            .add("textures", textures)
            .add("textures_missing", missing)
            .add("uvsets", uvSets);
        if (subdivision.cagePolygons > 0)
            object.add("subpatch_polygons", subdivision.cagePolygons)
                .add("cage_triangles", subdivision.cageTriangles)
                .add("subdivision_level", subdivision.level)
                .add("subdivided_triangles", subdivision.triangles);
        return object.text() + "\n";
    }
    const BoundingBox& box = mesh->boundingBox();
    char text[1024];
    std::snprintf(text, sizeof text,
                  "object\n  %zu points, %u triangles, %u parts, %u edges, %s, %u UV sets\n  box (%g %g %g) - (%g %g %g)\n",
                  mesh->positions().size(), mesh->triangleCount(), mesh->partCount(), edges.edgeCount(),
                  closure(edges), uvSets, box.min.x, box.min.y, box.min.z,
                  box.max.x, box.max.y, box.max.z);
    std::string out = text;
    if (subdivision.cagePolygons > 0) {
        std::snprintf(text, sizeof text, "  %u SubPatch polygons (%u triangles as a cage) subdivided at level %u into %u quads (%u triangles)\n",
                      subdivision.cagePolygons, subdivision.cageTriangles, subdivision.level, subdivision.quads,
                      subdivision.triangles);
        out += text;
    }
    out += "surfaces\n";
    for (const auto& surface : record.surfaces) {
        std::snprintf(text, sizeof text, "  '%s' colour (%g %g %g) diffuse %g\n", surface->name.c_str(),
                      surface->colour[0], surface->colour[1], surface->colour[2], surface->diffuse);
        out += text;
        for (const auto& block : surface->colourBlocks)
            out += blockLine("colour", block, path);
        for (const auto& block : surface->diffuseBlocks)
            out += blockLine("diffuse", block, path);
    }
    return out;
}

} // namespace hlvtool
