#pragma once
// The object under construction while an LWO2 file is read.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "geometry/robust_mesh.h"
#include "import/lw_scene.h"
#include "import/polygon_tessellator.h"
#include "math/vector3.h"

namespace LW {

// Per-point values of a vertex map, with per-polygon overrides (VMAD).
template <size_t N>
struct VertexMap {
    using Value = std::array<float, N>;
    std::vector<Value> values;                                     // per point
    std::map<std::pair<uint32_t, uint32_t>, Value> overrides;      // (polygon, point) -> value

    // The value that `point` has as a corner of `polygon`.
    Value at(uint32_t polygon, uint32_t point) const
    {
        auto it = overrides.find({polygon, point});
        if (it != overrides.end())
            return it->second;
        return point < values.size() ? values[point] : Value{};
    }
};

using UVMap = VertexMap<2>;
using ColourMap = VertexMap<4>;

// One LAYR chunk: a part of the object with its own points, polygons and
// vertex maps. `parent` is -1 when the layer has none.
struct Lwo2Layer {
    uint16_t number = 0;
    uint16_t flags = 0;
    Vector3f pivot{0, 0, 0};
    std::string name;
    int32_t parent = -1;
};

// The triangles [first, first + count) that one polygon produced; a count of
// 0 stands for a polygon that produced none (lines, degenerate polygons).
struct TriangleRange {
    uint32_t first = 0;
    uint32_t count = 0;
};

constexpr uint32_t kNoSurface = UINT32_MAX;

// A polygon of a SubPatch list (SUBD, PTCH) with its points in order: the
// cage that subdivision refines. Its triangles stand for it until then.
struct CagePolygon {
    uint32_t polygon = 0;
    std::vector<uint32_t> points;
};

struct Lwo2Object {
    std::vector<Vector3f> points;
    std::vector<hlv::RobustMesh::TaggedTriangle> triangles;
    // Polygons are numbered through the whole file, every polygon list and
    // layer after the one before; the file's own numbers start again in each
    // list.
    std::vector<uint32_t> triangleSource;               // polygon of each triangle
    std::vector<TriangleRange> polygonTriangles;        // per polygon
    // Per polygon, its POLS type: FACE, or PTCH or SUBD for a subdivision
    // cage (drawn as its faces until subdivided).
    std::vector<uint32_t> polygonTypes;
    std::vector<std::string> tags;
    std::vector<uint32_t> tagSurface;                   // tag -> index into the scene's surfaces, or kNoSurface
    // This object's surfaces by name: each object (and each layer read on
    // its own) has its own, whatever other objects call theirs.
    std::map<std::string, uint32_t> surfaceNames;
    // Surfaces described (SURF) before any polygon read used their name;
    // each becomes the object's surface when one does.
    std::map<std::string, std::unique_ptr<LWSurface>> describedSurfaces;
    std::map<std::string, UVMap> uvMaps;
    std::map<std::string, ColourMap> colorMaps;
    std::map<uint32_t, std::string> clips;              // clip index -> still image file
    std::vector<Lwo2Layer> layers;                      // every LAYR of the file, read or not
    // Points the tessellator added while the file is read; triangles name
    // them kAddedPoint + k until placeAddedPoints.
    std::vector<AddedPoint> addedPoints;
    std::vector<CagePolygon> cagePolygons;
};

// Once the file is read: appends the added points after the file's points,
// renumbers the triangles that use them, and gives them vertex-map values
// (and per-polygon values) mixed from their sources as their position is.
void placeAddedPoints(Lwo2Object& object);

// The index in `scene` of the object's surface `name`, made when the object
// has none of that name yet: as the file described it, or with LightWave's
// defaults.
uint32_t objectSurface(Scene& scene, Lwo2Object& object, const std::string& name);

} // namespace LW
