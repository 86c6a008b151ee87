#include "import/lwo2_mesh_build.h"

#include <algorithm>

#include "import/importer_context.h"
#include "import/texture_projection.h"
#include "log/logger.h"

namespace LW {

namespace {

uint32_t channelByte(float value)
{
    // A NaN would pass through clamp, and converting it is undefined.
    if (!(value > 0.0f))
        return 0;
    return static_cast<uint32_t>(std::min(value * 255.0f, 255.0f));
}

// Red in the top byte, alpha in the low one.
uint32_t packColour(const ColourMap::Value& c)
{
    return channelByte(c[0]) << 24 | channelByte(c[1]) << 16 | channelByte(c[2]) << 8 | channelByte(c[3]);
}

void setCornerColours(hlv::RobustMesh& mesh, const Lwo2Object& object)
{
    if (object.colorMaps.empty())
        return;
    const auto& first = *object.colorMaps.begin();
    if (object.colorMaps.size() > 1)
        hlv::log("\nCan only use one Vertex Color Map ; only '%s' id kept.", first.first.c_str());
    std::vector<uint32_t> colours, corners;
    colours.reserve(object.triangles.size() * 3);
    corners.reserve(object.triangles.size() * 3);
    for (size_t t = 0; t < object.triangles.size(); ++t) {
        const hlv::RobustMesh::TaggedTriangle& tri = object.triangles[t];
        const uint32_t points[3] = {tri.a, tri.b, tri.c};
        for (uint32_t k = 0; k < 3; ++k) {
            colours.push_back(packColour(first.second.at(object.triangleSource[t], points[k])));
            corners.push_back(static_cast<uint32_t>(t * 3 + k));
        }
    }
    mesh.setCornerColours(colours, corners);
}

// The surface of each tag; null where the tag names none.
std::vector<const LWSurface*> tagSurfaces(const Lwo2Object& object, const Scene& scene)
{
    std::vector<const LWSurface*> surfaces;
    for (uint32_t index : object.tagSurface)
        surfaces.push_back(index < scene.surfaces.size() ? scene.surfaces[index].get() : nullptr);
    return surfaces;
}

uint32_t addUVSets(hlv::RobustMesh& mesh, const std::vector<const LWSurface*>& surfaces)
{
    hlv::log("\n%d surfaces", static_cast<int>(surfaces.size()));
    size_t sets = 0;
    for (size_t j = 0; j < surfaces.size(); ++j) {
        const size_t blocks = surfaces[j] ? surfaces[j]->colourBlocks.size() + surfaces[j]->diffuseBlocks.size() : 0;
        hlv::log("\n[S%d] UVsets:%d", static_cast<int>(j), static_cast<int>(blocks));
        sets = std::max(sets, std::min<size_t>(blocks, 2));
    }
    hlv::log("\n%d UVsets", static_cast<int>(sets));
    for (size_t i = 0; i < sets; ++i)
        mesh.addUVSet();
    return static_cast<uint32_t>(sets);
}

// The UV map of a UV-mapped block, looked up once for the run of triangles
// that use the block rather than for every corner.
class BlockMaps {
public:
    explicit BlockMaps(const Lwo2Object& object) : object_(object) {}

    const UVMap& of(const LWTextureBlock& block)
    {
        if (&block == block_)
            return *map_;
        if (block.uvMap.empty())
            loadFailure("Missing vmap!!");
        auto map = object_.uvMaps.find(block.uvMap);
        if (map == object_.uvMaps.end())
            loadFailure("Missing unknown VMAP !");
        block_ = &block;
        map_ = &map->second;
        return *map_;
    }

private:
    const Lwo2Object& object_;
    const LWTextureBlock* block_ = nullptr;
    const UVMap* map_ = nullptr;
};

TexCoord mapCorner(const LWTextureBlock& block, const Lwo2Object& object, uint32_t polygon, uint32_t point,
                   const Vector3f& faceNormal, BlockMaps& maps)
{
    if (block.projection != UVMapped) {
        if (block.projection < Planar || block.projection > Cubic)
            loadFailure("Unknown mapping type!!");
        return projectPoint(block, object.points[point], faceNormal);
    }
    const UVMap::Value uv = maps.of(block).at(polygon, point);
    return {uv[0], uv[1]};
}

void setTextureCoordinates(hlv::RobustMesh& mesh, const Lwo2Object& object, const std::vector<const LWSurface*>& surfaces)
{
    BlockMaps maps(object);
    for (size_t t = 0; t < object.triangles.size(); ++t) {
        const hlv::RobustMesh::TaggedTriangle& tri = object.triangles[t];
        const LWSurface* surface = tri.tag < surfaces.size() ? surfaces[tri.tag] : nullptr;
        if (!surface || surface->colourBlocks.empty() || !surface->diffuseBlocks.empty())
            continue;
        const uint32_t points[3] = {tri.a, tri.b, tri.c};
        const Vector3f& p0 = object.points[tri.a];
        const Vector3f normal = cross(object.points[tri.b] - p0, object.points[tri.c] - p0);
        float uv[6];
        for (int k = 0; k < 3; ++k) {
            const TexCoord corner =
                mapCorner(surface->colourBlocks[0], object, object.triangleSource[t], points[k], normal, maps);
            uv[2 * k] = corner.u;
            uv[2 * k + 1] = corner.v;
        }
        mesh.setTriangleUVs(0, static_cast<uint32_t>(t), uv);
    }
}

} // namespace

std::unique_ptr<hlv::RobustMesh> buildLwo2Mesh(const Lwo2Object& object, const Scene& scene)
{
    auto mesh = std::make_unique<hlv::RobustMesh>();
    mesh->setPoints(object.points);
    mesh->setTriangles(object.triangles);
    setCornerColours(*mesh, object);
    const std::vector<const LWSurface*> surfaces = tagSurfaces(object, scene);
    addUVSets(*mesh, surfaces);
    setTextureCoordinates(*mesh, object, surfaces);
    return mesh;
}

} // namespace LW
