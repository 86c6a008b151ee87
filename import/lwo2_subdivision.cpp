#include "import/lwo2_subdivision.h"

#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>
#include <opensubdiv/far/topologyRefinerFactory.h>

#include <algorithm>
#include <map>
#include <memory>

#include "import/importer_context.h"
#include "log/logger.h"

namespace LW {

namespace {

using OpenSubdiv::Far::TopologyDescriptor;
using OpenSubdiv::Far::TopologyRefiner;
using OpenSubdiv::Far::TopologyRefinerFactory;

// N floats refined as OpenSubdiv refines primvars.
template <size_t N>
struct Value {
    std::array<float, N> v{};
    void Clear() { v.fill(0.0f); }
    void AddWithWeight(const Value& source, float weight)
    {
        for (size_t i = 0; i < N; ++i)
            v[i] += weight * source.v[i];
    }
};

// Every level's values one after another, level 0 first, as the refiner
// interpolates from one level into the next.
template <size_t N>
struct LevelValues {
    std::vector<Value<N>> values;
    std::vector<size_t> starts;  // of each level

    void refine(const TopologyRefiner& refiner, bool faceVarying, int channel)
    {
        const OpenSubdiv::Far::PrimvarRefiner primvars(refiner);
        starts = {0};
        for (int level = 1; level <= refiner.GetMaxLevel(); ++level) {
            const auto& topology = refiner.GetLevel(level);
            const size_t count =
                size_t(faceVarying ? topology.GetNumFVarValues(channel) : topology.GetNumVertices());
            starts.push_back(values.size());
            values.resize(values.size() + count);
            Value<N>* source = &values[starts[size_t(level) - 1]];
            Value<N>* target = &values[starts[size_t(level)]];
            if (faceVarying)
                primvars.InterpolateFaceVarying(level, source, target, channel);
            else
                primvars.Interpolate(level, source, target);
        }
    }
    const Value<N>& last(size_t index) const { return values[starts.back() + index]; }
};

// The corner values of one map through the subdivision, a face-varying
// channel of its own: each cage corner its own value, so that a map's
// per-polygon values and seams stay within their polygons.
template <size_t N>
struct MapChannel {
    VertexMap<N>* map;
    LevelValues<N> refined;
};

template <size_t N>
void fillCorners(MapChannel<N>& channel, const std::vector<CagePolygon>& cage)
{
    for (const CagePolygon& polygon : cage)
        for (uint32_t point : polygon.points) {
            Value<N> value;
            value.v = channel.map->at(polygon.polygon, point);
            channel.refined.values.push_back(value);
        }
}

// Gives the new point its value as a corner of the new polygon: the point's
// own value when it has none yet, a per-polygon value where the corner
// differs from it (a seam).
template <size_t N>
void setCorner(VertexMap<N>& map, std::vector<bool>& set, uint32_t polygon, uint32_t point,
               const std::array<float, N>& value)
{
    if (map.values.size() <= point)
        map.values.resize(point + 1);
    if (set.size() <= point)
        set.resize(point + 1, false);
    if (!set[point]) {
        map.values[point] = value;
        set[point] = true;
    } else if (map.values[point] != value) {
        map.overrides[{polygon, point}] = value;
    }
}

// Points no triangle uses any more (the cage's own) are dropped, every map
// renumbered with them.
void dropUnusedPoints(Lwo2Object& object)
{
    std::vector<uint32_t> renumbered(object.points.size(), UINT32_MAX);
    for (const auto& tri : object.triangles)
        for (uint32_t point : {tri.a, tri.b, tri.c})
            renumbered[point] = 0;
    uint32_t next = 0;
    for (size_t i = 0; i < object.points.size(); ++i)
        if (renumbered[i] == 0) {
            object.points[next] = object.points[i];
            renumbered[i] = next++;
        }
    object.points.resize(next);
    for (auto& tri : object.triangles) {
        tri.a = renumbered[tri.a];
        tri.b = renumbered[tri.b];
        tri.c = renumbered[tri.c];
    }
    auto renumber = [&](auto& map) {
        auto values = std::move(map.values);
        map.values.assign(std::min<size_t>(values.size(), next), {});
        for (size_t i = 0; i < values.size(); ++i)
            if (renumbered[i] != UINT32_MAX)
                map.values[renumbered[i]] = values[i];
        auto overrides = std::move(map.overrides);
        map.overrides.clear();
        for (const auto& [key, value] : overrides)
            if (key.second < renumbered.size() && renumbered[key.second] != UINT32_MAX)
                map.overrides[{key.first, renumbered[key.second]}] = value;
    };
    for (auto& entry : object.uvMaps)
        renumber(entry.second);
    for (auto& entry : object.colorMaps)
        renumber(entry.second);
}

} // namespace

SubdivisionCounts subdividePatches(Lwo2Object& object, uint32_t level)
{
    SubdivisionCounts counts;
    counts.level = std::min(level, kMaxSubdivisionLevel);
    const std::vector<CagePolygon>& cage = object.cagePolygons;
    counts.cagePolygons = uint32_t(cage.size());
    for (const CagePolygon& polygon : cage)
        counts.cageTriangles += object.polygonTriangles[polygon.polygon].count;
    if (counts.level == 0 || cage.empty())
        return counts;
    uint64_t firstLevelQuads = 0;
    for (const CagePolygon& polygon : cage)
        firstLevelQuads += polygon.points.size();
    const uint32_t asked = counts.level;
    while (counts.level > 1 && (firstLevelQuads << (2 * (counts.level - 1))) > kMaxSubdividedQuads)
        --counts.level;
    if (counts.level < asked)
        hlv::log("\n%s** Warning: SubPatch level %u would make %llu quads; level %u is used", indent(), asked,
                 static_cast<unsigned long long>(firstLevelQuads << (2 * (asked - 1))), counts.level);

    // The cage's own numbering of the points it uses.
    std::map<uint32_t, int> cagePoint;
    std::vector<uint32_t> objectPoint;
    std::vector<int> vertexCounts;
    std::vector<int> vertexIndices;
    for (const CagePolygon& polygon : cage) {
        vertexCounts.push_back(int(polygon.points.size()));
        for (uint32_t point : polygon.points) {
            auto [it, added] = cagePoint.emplace(point, int(objectPoint.size()));
            if (added)
                objectPoint.push_back(point);
            vertexIndices.push_back(it->second);
        }
    }
    std::vector<MapChannel<2>> uvChannels;
    for (auto& entry : object.uvMaps)
        uvChannels.push_back({&entry.second, {}});
    std::vector<MapChannel<4>> colourChannels;
    for (auto& entry : object.colorMaps)
        colourChannels.push_back({&entry.second, {}});
    // Each cage corner is a face-varying value of its own.
    std::vector<int> cornerIndices(vertexIndices.size());
    for (size_t i = 0; i < cornerIndices.size(); ++i)
        cornerIndices[i] = int(i);
    std::vector<TopologyDescriptor::FVarChannel> channels(uvChannels.size() + colourChannels.size());
    for (auto& channel : channels) {
        channel.numValues = int(cornerIndices.size());
        channel.valueIndices = cornerIndices.data();
    }

    TopologyDescriptor descriptor;
    descriptor.numVertices = int(objectPoint.size());
    descriptor.numFaces = int(cage.size());
    descriptor.numVertsPerFace = vertexCounts.data();
    descriptor.vertIndicesPerFace = vertexIndices.data();
    descriptor.numFVarChannels = int(channels.size());
    descriptor.fvarChannels = channels.empty() ? nullptr : channels.data();
    OpenSubdiv::Sdc::Options options;
    options.SetVtxBoundaryInterpolation(OpenSubdiv::Sdc::Options::VTX_BOUNDARY_EDGE_ONLY);
    options.SetFVarLinearInterpolation(OpenSubdiv::Sdc::Options::FVAR_LINEAR_ALL);
    std::unique_ptr<TopologyRefiner> refiner(TopologyRefinerFactory<TopologyDescriptor>::Create(
        descriptor, TopologyRefinerFactory<TopologyDescriptor>::Options(OpenSubdiv::Sdc::SCHEME_CATMARK, options)));
    if (!refiner) {
        hlv::log("\n%s** Warning: the SubPatch cage of %u polygons cannot be subdivided; it is drawn as its faces",
                 indent(), counts.cagePolygons);
        counts.level = 0;
        return counts;
    }
    refiner->RefineUniform(TopologyRefiner::UniformOptions(int(counts.level)));

    LevelValues<3> positions;
    for (uint32_t point : objectPoint) {
        Value<3> value;
        value.v = {object.points[point].x, object.points[point].y, object.points[point].z};
        positions.values.push_back(value);
    }
    positions.refine(*refiner, false, 0);
    int channel = 0;
    for (auto& uv : uvChannels) {
        fillCorners(uv, cage);
        uv.refined.refine(*refiner, true, channel++);
    }
    for (auto& colour : colourChannels) {
        fillCorners(colour, cage);
        colour.refined.refine(*refiner, true, channel++);
    }

    // The cage's triangles give way to the quads.
    std::vector<bool> isCage(object.polygonTriangles.size(), false);
    std::vector<uint16_t> cageTag(cage.size(), 0);
    for (size_t f = 0; f < cage.size(); ++f) {
        isCage[cage[f].polygon] = true;
        const TriangleRange range = object.polygonTriangles[cage[f].polygon];
        if (range.count > 0)
            cageTag[f] = uint16_t(object.triangles[range.first].tag);
    }
    std::vector<hlv::RobustMesh::TaggedTriangle> triangles;
    std::vector<uint32_t> sources;
    for (size_t t = 0; t < object.triangles.size(); ++t)
        if (!isCage[object.triangleSource[t]]) {
            triangles.push_back(object.triangles[t]);
            sources.push_back(object.triangleSource[t]);
        }

    const auto& last = refiner->GetLevel(int(counts.level));
    const uint32_t firstPoint = uint32_t(object.points.size());
    for (int v = 0; v < last.GetNumVertices(); ++v) {
        const auto& p = positions.last(size_t(v)).v;
        object.points.push_back({p[0], p[1], p[2]});
    }
    std::vector<std::vector<bool>> uvSet(uvChannels.size()), colourSet(colourChannels.size());
    for (int face = 0; face < last.GetNumFaces(); ++face) {
        // The cage polygon it came from, through every level.
        int base = face;
        for (int l = int(counts.level); l > 0; --l)
            base = refiner->GetLevel(l).GetFaceParentFace(base);
        const auto vertices = last.GetFaceVertices(face);
        const uint32_t polygon = uint32_t(object.polygonTriangles.size());
        const uint32_t quad[4] = {firstPoint + uint32_t(vertices[0]), firstPoint + uint32_t(vertices[1]),
                                  firstPoint + uint32_t(vertices[2]), firstPoint + uint32_t(vertices[3])};
        object.polygonTriangles.push_back({uint32_t(triangles.size()), 2});
        const uint16_t tag = cageTag[size_t(base)];
        triangles.push_back({quad[0], quad[1], quad[2], tag});
        triangles.push_back({quad[0], quad[2], quad[3], tag});
        sources.push_back(polygon);
        sources.push_back(polygon);
        for (size_t c = 0; c < uvChannels.size(); ++c) {
            const auto corners = last.GetFaceFVarValues(face, int(c));
            for (int k = 0; k < 4; ++k)
                setCorner(*uvChannels[c].map, uvSet[c], polygon, quad[k], uvChannels[c].refined.last(size_t(corners[k])).v);
        }
        for (size_t c = 0; c < colourChannels.size(); ++c) {
            const auto corners = last.GetFaceFVarValues(face, int(c + uvChannels.size()));
            for (int k = 0; k < 4; ++k)
                setCorner(*colourChannels[c].map, colourSet[c], polygon, quad[k],
                          colourChannels[c].refined.last(size_t(corners[k])).v);
        }
    }
    counts.quads = uint32_t(last.GetNumFaces());
    counts.triangles = 2 * counts.quads;
    // The ranges of the polygons kept, in their new places.
    for (TriangleRange& range : object.polygonTriangles)
        range = {0, 0};
    for (size_t t = triangles.size(); t-- > 0;) {
        TriangleRange& range = object.polygonTriangles[sources[t]];
        range.first = uint32_t(t);
        ++range.count;
    }
    object.triangles = std::move(triangles);
    object.triangleSource = std::move(sources);
    object.cagePolygons.clear();
    dropUnusedPoints(object);
    hlv::log("\n%s%u SubPatch polygons subdivided at level %u into %u quads.", indent(), counts.cagePolygons,
             counts.level, counts.quads);
    return counts;
}

} // namespace LW
