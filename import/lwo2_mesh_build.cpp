#include "import/lwo2_mesh_build.h"

#include <algorithm>
#include <set>

#include "import/importer_context.h"
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

// The surface of each tag; null where the tag names none.
std::vector<const LWSurface*> tagSurfaces(const Lwo2Object& object, const Scene& scene)
{
    std::vector<const LWSurface*> surfaces;
    for (uint32_t index : object.tagSurface)
        surfaces.push_back(index < scene.surfaces.size() ? scene.surfaces[index].get() : nullptr);
    return surfaces;
}

const LWSurface* surfaceOf(const std::vector<const LWSurface*>& surfaces, const hlv::RobustMesh::TaggedTriangle& tri)
{
    return tri.tag < surfaces.size() ? surfaces[tri.tag] : nullptr;
}

// Corner colours: the first map for every triangle (the show), or the map
// each surface names (LightWave), white where a surface names none.
void setCornerColours(hlv::RobustMesh& mesh, const Lwo2Object& object, const std::vector<const LWSurface*>& surfaces,
                      MeshRules rules)
{
    if (object.colorMaps.empty())
        return;
    const ColourMap* first = &object.colorMaps.begin()->second;
    if (rules == MeshRules::Show && object.colorMaps.size() > 1)
        hlv::log("\nCan only use one Vertex Color Map ; only '%s' id kept.", object.colorMaps.begin()->first.c_str());
    auto mapOf = [&](const LWSurface* surface) -> const ColourMap* {
        if (rules == MeshRules::Show)
            return first;
        if (!surface || surface->vertexColourMap.empty())
            return nullptr;
        auto found = object.colorMaps.find(surface->vertexColourMap);
        return found == object.colorMaps.end() ? nullptr : &found->second;
    };
    std::vector<uint32_t> colours, corners;
    colours.reserve(object.triangles.size() * 3);
    corners.reserve(object.triangles.size() * 3);
    for (size_t t = 0; t < object.triangles.size(); ++t) {
        const hlv::RobustMesh::TaggedTriangle& tri = object.triangles[t];
        const ColourMap* map = mapOf(surfaceOf(surfaces, tri));
        if (!map)
            continue;
        const uint32_t points[3] = {tri.a, tri.b, tri.c};
        for (uint32_t k = 0; k < 3; ++k) {
            colours.push_back(packColour(map->at(object.triangleSource[t], points[k])));
            corners.push_back(static_cast<uint32_t>(t * 3 + k));
        }
    }
    if (!colours.empty())
        mesh.setCornerColours(colours, corners);
}

} // namespace

std::vector<const LWTextureBlock*> uvSetLayers(const LWSurface* surface, MeshRules rules)
{
    if (!surface)
        return {};
    if (rules == MeshRules::Show) {
        // Only colour-only surfaces are mapped, from their first block.
        if (surface->colourBlocks.empty() || !surface->diffuseBlocks.empty())
            return {};
        return {&surface->colourBlocks[0]};
    }
    std::vector<const LWTextureBlock*> blocks;
    const auto colour = LWSurface::enabledOf(surface->colourBlocks);
    const auto diffuse = LWSurface::enabledOf(surface->diffuseBlocks);
    if (!colour.empty())
        blocks.push_back(colour[0]);
    if (!diffuse.empty())
        blocks.push_back(diffuse[0]);
    return blocks;
}

size_t uvSetCount(const LWSurface* surface, MeshRules rules)
{
    if (!surface)
        return 0;
    if (rules == MeshRules::Show)
        return surface->colourBlocks.size() + surface->diffuseBlocks.size();
    return uvSetLayers(surface, rules).size();
}

namespace {

uint32_t addUVSets(hlv::RobustMesh& mesh, const std::vector<const LWSurface*>& surfaces, MeshRules rules)
{
    hlv::log("\n%d surfaces", static_cast<int>(surfaces.size()));
    size_t sets = 0;
    for (size_t j = 0; j < surfaces.size(); ++j) {
        const size_t blocks = uvSetCount(surfaces[j], rules);
        hlv::log("\n[S%d] UVsets:%d", static_cast<int>(j), static_cast<int>(blocks));
        sets = std::max(sets, std::min<size_t>(blocks, 2));
    }
    hlv::log("\n%d UVsets", static_cast<int>(sets));
    for (size_t i = 0; i < sets; ++i)
        mesh.addUVSet();
    return static_cast<uint32_t>(sets);
}

// The UV map of a UV-mapped block, looked up once for the run of triangles
// that use the block rather than for every corner. Null (LightWave rules)
// when the object has no such map: its corners stay at (0, 0).
class BlockMaps {
public:
    BlockMaps(const Lwo2Object& object, MeshRules rules) : object_(object), rules_(rules) {}

    MeshRules rules() const { return rules_; }

    const UVMap* of(const LWTextureBlock& block)
    {
        if (&block == block_)
            return map_;
        block_ = &block;
        auto map = object_.uvMaps.find(block.uvMap);
        map_ = map == object_.uvMaps.end() ? nullptr : &map->second;
        if (!map_ && rules_ == MeshRules::Show)
            loadFailure(block.uvMap.empty() ? "Missing vmap!!" : "Missing unknown VMAP !");
        if (!map_ && warned_.insert(block.uvMap).second)
            hlv::log("\n%sWarning: the object has no UV map '%s'; its texture is drawn at the picture's corner.",
                     indent(), block.uvMap.c_str());
        return map_;
    }

private:
    const Lwo2Object& object_;
    const MeshRules rules_;
    const LWTextureBlock* block_ = nullptr;
    const UVMap* map_ = nullptr;
    std::set<std::string> warned_;
};

TexCoord mapCorner(const LWTextureBlock& block, const Lwo2Object& object, uint32_t polygon, uint32_t point,
                   const Vector3f& faceNormal, BlockMaps& maps)
{
    if (block.projection != UVMapped) {
        const bool show = maps.rules() == MeshRules::Show;
        if (block.projection < Planar || block.projection > (show ? Cubic : Front)) {
            if (show)
                loadFailure("Unknown mapping type!!");
            return {};  // named when the object was read
        }
        return projectPoint(block, object.points[point], faceNormal);
    }
    const UVMap* map = maps.of(block);
    if (!map)
        return fromLightWaveUV(0, 0);
    const UVMap::Value uv = map->at(polygon, point);
    return fromLightWaveUV(uv[0] * block.uTiles, uv[1] * block.vTiles);
}

// The centre of the polygon that triangle `t` belongs to: the mean of its
// triangles' distinct corners.
Vector3f polygonCentre(const Lwo2Object& object, size_t t)
{
    const uint32_t polygon = object.triangleSource[t];
    TriangleRange range{uint32_t(t), 1};
    if (polygon < object.polygonTriangles.size() && object.polygonTriangles[polygon].count > 0)
        range = object.polygonTriangles[polygon];
    std::set<uint32_t> corners;
    for (uint32_t i = range.first; i < range.first + range.count && i < object.triangles.size(); ++i)
        corners.insert({object.triangles[i].a, object.triangles[i].b, object.triangles[i].c});
    Vector3f sum{0, 0, 0};
    for (uint32_t point : corners)
        sum = sum + object.points[point];
    return sum * (1.0f / float(corners.size()));
}

bool wrapsAround(const LWTextureBlock& block)
{
    return block.projection == Cylindrical || block.projection == Spherical;
}

void setTextureCoordinates(hlv::RobustMesh& mesh, uint32_t setCount, const Lwo2Object& object,
                           const std::vector<const LWSurface*>& surfaces, MeshRules rules)
{
    BlockMaps maps(object, rules);
    uint32_t centredPolygon = UINT32_MAX;
    Vector3f polygonMiddle{0, 0, 0};
    for (size_t t = 0; t < object.triangles.size(); ++t) {
        const hlv::RobustMesh::TaggedTriangle& tri = object.triangles[t];
        const std::vector<const LWTextureBlock*> blocks = uvSetLayers(surfaceOf(surfaces, tri), rules);
        const uint32_t points[3] = {tri.a, tri.b, tri.c};
        const Vector3f& p0 = object.points[tri.a];
        const Vector3f normal = cross(object.points[tri.b] - p0, object.points[tri.c] - p0);
        for (uint32_t set = 0; set < blocks.size() && set < setCount; ++set) {
            float uv[6];
            const LWTextureBlock& block = *blocks[set];
            // Wrapped maps keep the whole polygon on one side of the seam.
            const bool wraps = wrapsAround(block) && rules == MeshRules::LightWave;
            if (wraps && centredPolygon != object.triangleSource[t]) {
                centredPolygon = object.triangleSource[t];
                polygonMiddle = polygonCentre(object, t);
            }
            const TexCoord centre = wraps ? projectPoint(block, polygonMiddle, normal) : TexCoord{};
            for (int k = 0; k < 3; ++k) {
                TexCoord corner = mapCorner(block, object, object.triangleSource[t], points[k], normal, maps);
                if (wraps)
                    corner = alongPolygon(block, object.points[points[k]], corner, centre);
                uv[2 * k] = corner.u;
                uv[2 * k + 1] = corner.v;
            }
            mesh.setTriangleUVs(set, static_cast<uint32_t>(t), uv);
        }
    }
}

} // namespace

std::unique_ptr<hlv::RobustMesh> buildLwo2Mesh(const Lwo2Object& object, const Scene& scene, MeshRules rules)
{
    auto mesh = std::make_unique<hlv::RobustMesh>();
    mesh->setPoints(object.points);
    mesh->setTriangles(object.triangles);
    const std::vector<const LWSurface*> surfaces = tagSurfaces(object, scene);
    setCornerColours(*mesh, object, surfaces, rules);
    const uint32_t sets = addUVSets(*mesh, surfaces, rules);
    setTextureCoordinates(*mesh, sets, object, surfaces, rules);
    if (rules == MeshRules::LightWave) {
        std::vector<float> smoothing;
        for (const LWSurface* surface : surfaces)
            smoothing.push_back(surface ? surface->smoothingAngle : 0.0f);
        mesh->setSmoothingAngles(smoothing);
    }
    return mesh;
}

} // namespace LW
