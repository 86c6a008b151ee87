#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>
#include <vector>
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
std::string blockLine(const char* kind, const LW::LWTextureBlock& block, const std::string& objectPath,
                      const std::string& search)
{
    static const char* projections[] = {"planar", "cylindrical", "spherical", "cubic", "front", "uv"};
    const char* projection = block.projection >= 0 && block.projection <= 5 ? projections[block.projection] : "unknown";
    const std::string found = findObjectPicture(block.imageName, objectPath, search);
    const std::string where = block.imageName.empty() ? ""
                              : found.empty()          ? ", missing"
                              : !isPicture(found)      ? ", not a picture it can decode: " + found
                                                       : ", found at " + found;
    char text[1024];
    std::snprintf(text, sizeof text, "    %s texture '%s' %s%s%s%s%s\n", kind, block.imageName.c_str(), projection,
                  block.uvMap.empty() ? "" : " map ", block.uvMap.c_str(), block.enabled ? "" : " (disabled)",
                  where.c_str());
    return text;
}

// The parts of the edges that have one triangle, each cut at every point of
// another such edge lying inside it, with how many of those edges cover
// each part: where polygons meet along an edge that one side splits with
// extra points (a T-junction), each part is covered once from each side.
std::map<std::pair<uint32_t, uint32_t>, int> boundaryCover(const hlv::EdgeList& edges,
                                                           const std::vector<Vector3f>& positions)
{
    std::vector<hlv::EdgeList::Edge> boundary;
    std::set<uint32_t> boundaryPoints;
    for (uint32_t e = 0; e < edges.edgeCount(); ++e)
        if (edges.incidenceCount(e) == 1) {
            boundary.push_back(edges.edges()[e]);
            boundaryPoints.insert({edges.edges()[e].v0, edges.edges()[e].v1});
        }
    // The points by x, so that each edge looks only at those beside it.
    std::vector<std::pair<float, uint32_t>> byX;
    for (uint32_t point : boundaryPoints)
        byX.push_back({positions[point].x, point});
    std::sort(byX.begin(), byX.end());
    std::map<std::pair<uint32_t, uint32_t>, int> cover;
    for (const hlv::EdgeList::Edge& edge : boundary) {
        const Vector3f a = positions[edge.v0], along = positions[edge.v1] - a;
        const float length2 = dot(along, along);
        std::vector<std::pair<float, uint32_t>> cuts = {{0.0f, edge.v0}, {1.0f, edge.v1}};
        const float margin = 1e-4f * std::sqrt(length2);
        const auto first = std::lower_bound(byX.begin(), byX.end(),
                                            std::make_pair(std::min(a.x, a.x + along.x) - margin, 0u));
        for (auto it = first; it != byX.end() && it->first <= std::max(a.x, a.x + along.x) + margin; ++it) {
            const uint32_t point = it->second;
            if (point == edge.v0 || point == edge.v1 || length2 <= 0)
                continue;
            const Vector3f offset = positions[point] - a;
            const float t = dot(offset, along) / length2;
            const Vector3f off = offset - along * t;
            if (t > 1e-5f && t < 1 - 1e-5f && dot(off, off) <= 1e-10f * length2)
                cuts.push_back({t, point});
        }
        std::sort(cuts.begin(), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); ++i)
            ++cover[std::minmax(cuts[i].second, cuts[i + 1].second)];
    }
    return cover;
}

// Closed: every edge between exactly two triangles, or covered once from
// each side where one side splits it at extra points. A manifold mesh may
// still be open (a single quad's outline edges have one triangle each).
const char* closure(const hlv::EdgeList& edges, const std::vector<Vector3f>& positions)
{
    if (!edges.isManifold())
        return "not manifold";
    for (uint32_t e = 0; e < edges.edgeCount(); ++e)
        if (edges.incidenceCount(e) == 0)
            return "open";
    for (const auto& [part, count] : boundaryCover(edges, positions))
        if (count != 2)
            return "open";
    return "closed";
}

} // namespace

std::string describeObject(const std::string& path, bool json, const std::string& search)
{
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record);
    const LW::SubdivisionCounts subdivision = object.subdivision;
    std::unique_ptr<hlv::RobustMesh> mesh = std::move(object.mesh);
    mesh->build(kShadowBuild);
    const hlv::EdgeList& edges = mesh->edgeList();
    const uint32_t uvSets = mesh->parts().empty() ? 0 : mesh->parts()[0].uvLayerCount;
    size_t textures = 0, missing = 0, undecodable = 0;
    for (const auto& surface : record.surfaces)
        for (const auto* blocks : {&surface->colourBlocks, &surface->diffuseBlocks})
            for (const LW::LWTextureBlock& block : *blocks) {
                ++textures;
                const std::string found = findObjectPicture(block.imageName, path, search);
                missing += !block.imageName.empty() && found.empty();
                undecodable += !found.empty() && !isPicture(found);
            }

    if (json) {
        JsonObject object;
        object.add("kind", "object")
            .add("points", mesh->positions().size())
            .add("triangles", mesh->triangleCount())
            .add("parts", mesh->partCount())
            .add("edges", edges.edgeCount())
            .add("manifold", edges.isManifold())
            .add("closed", std::string(closure(edges, mesh->positions())) == "closed")
            .add("surfaces", record.surfaces.size())
            .add("textures", textures)
            .add("textures_missing", missing)
            .add("textures_undecodable", undecodable)
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
                  closure(edges, mesh->positions()), uvSets, box.min.x, box.min.y, box.min.z,
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
            out += blockLine("colour", block, path, search);
        for (const auto& block : surface->diffuseBlocks)
            out += blockLine("diffuse", block, path, search);
    }
    return out;
}

} // namespace hlvtool
