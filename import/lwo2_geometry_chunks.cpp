// Layers, points, polygons and their surface tags.
#include <algorithm>

#include "import/importer_context.h"
#include "import/lwo2_reader.h"
#include "import/polygon_tessellator.h"

namespace LW {

void Lwo2Reader::readLayer(size_t end)
{
    Lwo2Layer layer;
    layer.number = in_.readU2();
    layer.flags = in_.readU2();
    layer.pivot.x = in_.readF4();
    layer.pivot.y = in_.readF4();
    layer.pivot.z = in_.readF4();
    layer.name = in_.readS0();
    // The parent came later to the format; 0xFFFF, like its absence, means none.
    if (end - in_.tell() >= 2) {
        const uint16_t parent = in_.readU2();
        layer.parent = parent == 0xFFFF ? -1 : parent;
    }
    trace("\n%sLayer %d '%s'", indent(), layer.number, layer.name.c_str());
    readingLayer_ = selectedLayer_ == 0 || layer.number + 1u == selectedLayer_;
    pointBase_ = object_.points.size();
    object_.layers.push_back(std::move(layer));
}

void Lwo2Reader::readPoints(size_t end)
{
    if (object_.layers.empty())
        dataBeforeLayers_ = true;
    const size_t count = (end - in_.tell()) / 12;
    object_.points.reserve(object_.points.size() + count);
    for (size_t i = 0; i < count; ++i) {
        Vector3f p;
        p.x = in_.readF4();
        p.y = in_.readF4();
        p.z = in_.readF4();
        object_.points.push_back(p);
    }
    trace("\n%s%d points.", indent(), static_cast<int>(count));
}

uint32_t Lwo2Reader::readPointIndex(const char* what)
{
    const uint32_t index = in_.readVX();
    const size_t count = object_.points.size() - pointBase_;
    if (index >= count) {
        if (object_.layers.empty())
            loadFailuref("%s uses point %u, but the object has only %zu points.", what, index, count);
        loadFailuref("%s uses point %u, but its layer has only %zu points.", what, index, count);
    }
    return static_cast<uint32_t>(pointBase_ + index);
}

namespace {

// Polygon lists that are no surface: what the trace calls them.
struct SkippedType {
    uint32_t id;
    const char* name;
    const char* plural;
};
const SkippedType kSkippedTypes[] = {
    {makeId("CURV"), "Curves", "curves"},
    {makeId("BONE"), "Bones", "bones"},
    {makeId("MBAL"), "Metaballs", "metaballs"},
};

} // namespace

void Lwo2Reader::readPolygons(size_t end)
{
    // The file numbers polygons afresh in every list, and the surface tags
    // and vertex maps after it refer to those numbers.
    polygonBase_ = static_cast<uint32_t>(object_.polygonTriangles.size());
    const uint32_t type = in_.readID4();
    // Subdivision cages (patches, subdivision surfaces) are drawn as the
    // faces they are made of.
    if (type != makeId("FACE") && type != makeId("PTCH") && type != makeId("SUBD")) {
        skipPolygons(type, end);
        return;
    }
    patchList_ = type != makeId("FACE");
    PolygonCounts counts;
    uint32_t polygon = 0;
    for (; in_.tell() < end; ++polygon) {
        readPolygon(polygon, in_.readU2() & 0x3FFu, counts);
        object_.polygonTypes.push_back(type);
    }
    trace("\n%s%d polygons read.", indent(), static_cast<int>(polygon));
    if (counts.skipped)
        trace("\n%s%d polygons were skipped because they couldn't be properly triangulated.", indent(),
              static_cast<int>(counts.skipped));
    if (counts.lines)
        trace("\n%sLines are not supported (%d lines were skipped).", indent(), static_cast<int>(counts.lines));
    if (counts.outlined)
        trace("\n%s%d polygons were triangulated by their outline (holes, crossing or bent edges).", indent(),
              static_cast<int>(counts.outlined));
}

void Lwo2Reader::skipPolygons(uint32_t type, size_t end)
{
    for (const SkippedType& skipped : kSkippedTypes) {
        if (skipped.id != type)
            continue;
        int count = 0;
        for (; in_.tell() < end; ++count) {
            const uint32_t vertices = in_.readU2() & 0x3FFu;
            for (uint32_t v = 0; v < vertices; ++v)
                in_.readVX();
        }
        trace("\n%s%s are not supported (%d %s were skipped).", indent(), skipped.name, count, skipped.plural);
        return;
    }
    trace("\n%sUnknown polygon type : %s", indent(), IdText(type).c_str());
}

void Lwo2Reader::readPolygon(uint32_t listIndex, uint32_t vertexCount, PolygonCounts& counts)
{
    const uint32_t polygon = polygonBase_ + listIndex;
    std::vector<uint32_t>& indices = polygonIndices_;
    indices.resize(vertexCount);
    for (uint32_t& index : indices)
        index = readPointIndex("A polygon");

    // Triangles of this polygon are appended from here on.
    object_.polygonTriangles.push_back({static_cast<uint32_t>(object_.triangles.size()), 0});
    if (patchList_ && vertexCount >= 3) {
        std::vector<uint32_t> sorted = indices;
        std::sort(sorted.begin(), sorted.end());
        // A cage polygon that uses a point twice has no place in the scheme:
        // it stays as its faces.
        if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end())
            object_.cagePolygons.push_back({polygon, indices});
    }
    if (vertexCount == 2) {
        ++counts.lines;
        return;
    }
    if (vertexCount == 3) {
        if (indices[0] == indices[1] || indices[1] == indices[2] || indices[0] == indices[2]) {
            trace("\n%sRemoving degenerate triangle (%d) !", indent(), static_cast<int>(listIndex));
            ++counts.skipped;
            return;
        }
        addTriangle(polygon, indices[0], indices[1], indices[2]);
        return;
    }
    if (!tessellator_)
        tessellator_ = std::make_unique<PolygonTessellator>();
    std::vector<uint32_t>& triangles = tessellatedIndices_;
    const size_t added = object_.addedPoints.size();
    if (!tessellator_->tessellate(indices, object_.points, triangles, object_.addedPoints)) {
        ++counts.skipped;
        return;
    }
    if (tessellator_->usedOutline())
        ++counts.outlined;
    for (size_t k = added; k < object_.addedPoints.size(); ++k)
        object_.addedPoints[k].polygon = polygon;
    for (size_t i = 0; i + 2 < triangles.size(); i += 3)
        addTriangle(polygon, triangles[i], triangles[i + 1], triangles[i + 2]);
}

void Lwo2Reader::addTriangle(uint32_t polygon, uint32_t a, uint32_t b, uint32_t c)
{
    ++object_.polygonTriangles.back().count;
    object_.triangles.push_back({a, b, c, 0});
    object_.triangleSource.push_back(polygon);
}

void Lwo2Reader::readTags(size_t end)
{
    object_.tags.clear();
    while (in_.tell() < end) {
        object_.tags.push_back(in_.readS0());
        trace("\n%s%s", indent(), object_.tags.back().c_str());
    }
}

void Lwo2Reader::readPolygonTags(size_t end)
{
    const uint32_t type = in_.readID4();
    if (type != makeId("SURF")) {
        trace("\n%sUnknown hunk: %s", indent(), IdText(type).c_str());
        return;
    }
    // The tag list holds every tag of the file; each PTAG chunk (one per
    // layer) ties them to the object's surfaces again. Read as LightWave
    // reads it, a tag becomes a surface when a polygon read uses it: a
    // layer read on its own has the surfaces of its own polygons only.
    if (lightWave_) {
        object_.tagSurface.resize(object_.tags.size(), kNoSurface);
    } else {
        object_.tagSurface.clear();
        for (const std::string& tag : object_.tags) {
            const bool known = object_.surfaceNames.count(tag) != 0;
            object_.tagSurface.push_back(objectSurface(scene_, object_, tag));
            if (known)
                trace("\n%sAlready loaded (%d); discarding.", indent(), static_cast<int>(object_.tagSurface.back()));
            else
                trace("\n%sSurface number %d", indent(), static_cast<int>(object_.tagSurface.back()));
        }
    }
    while (in_.tell() < end) {
        const uint32_t polygon = in_.readVX();
        const uint16_t tag = in_.readU2();
        if (lightWave_ && tag < object_.tags.size() && object_.tagSurface[tag] == kNoSurface)
            object_.tagSurface[tag] = objectSurface(scene_, object_, object_.tags[tag]);
        if (polygon >= object_.polygonTriangles.size() - polygonBase_)
            continue;
        const TriangleRange range = object_.polygonTriangles[polygonBase_ + polygon];
        for (uint32_t t = range.first; t < range.first + range.count; ++t)
            object_.triangles[t].tag = tag;
    }
}

} // namespace LW
