#include "geometry/corner_attributes.h"

#include "geometry/point_weld.h"
#include "geometry/radix_sort.h"
#include "geometry/sorted_runs.h"
#include "log/logger.h"

namespace hlv {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kMissing = 0xFFFFFFFFu;

// Keeps `width` values per corner of the kept triangles.
template <typename T>
void keepCorners(std::vector<T>& values, const std::vector<uint32_t>& kept, size_t width)
{
    if (values.empty())
        return;
    std::vector<T> compact;
    compact.reserve(kept.size() * 3 * width);
    for (uint32_t t : kept)
        compact.insert(compact.end(), values.begin() + t * 3 * width, values.begin() + (t + 1) * 3 * width);
    values.swap(compact);
}

} // namespace

void CornerAttributes::setColours(const std::vector<uint32_t>& colours, const std::vector<uint32_t>& corners,
                                  uint32_t cornerCount)
{
    colours_ = colours;
    cornerColour_.assign(cornerCount, kMissing);
    for (size_t i = 0; i < corners.size() && i < colours.size(); ++i)
        if (corners[i] < cornerCount)
            cornerColour_[corners[i]] = static_cast<uint32_t>(i);
    bool missing = false;
    for (uint32_t& index : cornerColour_) {
        if (index == kMissing) {
            index = static_cast<uint32_t>(colours_.size());
            missing = true;
        }
    }
    if (missing)
        colours_.push_back(kWhite);
}

uint32_t CornerAttributes::addUVSet(uint32_t cornerCount)
{
    UVSet set;
    set.uv.assign(size_t(cornerCount) * 2, 0.0f);
    set.assigned.assign(cornerCount, 0);
    uvSets_.push_back(std::move(set));
    return uvSetCount() - 1;
}

void CornerAttributes::setTriangleUVs(uint32_t set, uint32_t triangle, const float uv[6])
{
    if (set >= uvSets_.size() || size_t(triangle) * 3 + 3 > uvSets_[set].assigned.size())
        return;
    UVSet& s = uvSets_[set];
    for (int k = 0; k < 3; ++k) {
        const size_t corner = size_t(triangle) * 3 + k;
        s.uv[2 * corner] = uv[2 * k];
        s.uv[2 * corner + 1] = uv[2 * k + 1];
        s.assigned[corner] = 1;
    }
}

void CornerAttributes::keepTriangles(const std::vector<uint32_t>& kept)
{
    keepCorners(cornerColour_, kept, 1);
    for (UVSet& set : uvSets_) {
        keepCorners(set.uv, kept, 2);
        keepCorners(set.assigned, kept, 1);
    }
    keepCorners(cornerNormal_, kept, 1);
}

void CornerAttributes::mergeDuplicates()
{
    if (hasColours())
        mergeColours();
    if (!uvSets_.empty())
        mergeUVs();
}

void CornerAttributes::mergeColours()
{
    RadixSort sorter;
    sorter.sort(colours_.data(), colours_.size());
    std::vector<uint32_t> runOf, lastOfRun;
    numberRuns(sorter.ranks(), [this](uint32_t a, uint32_t b) { return colours_[a] == colours_[b]; }, runOf, &lastOfRun);

    std::vector<uint32_t> merged;
    merged.reserve(lastOfRun.size());
    for (uint32_t member : lastOfRun)
        merged.push_back(colours_[member]);
    for (uint32_t& index : cornerColour_)
        index = runOf[index];
    logMerge(colours_.size(), merged.size());
    colours_.swap(merged);
}

void CornerAttributes::mergeUVs()
{
    // Every (set, corner) entry, keyed by set and mark, then u, then v.
    const size_t corners = uvSets_[0].assigned.size();
    const size_t count = corners * uvSets_.size();
    std::vector<float> us(count), vs(count);
    std::vector<uint32_t> group(count);
    for (size_t s = 0; s < uvSets_.size(); ++s) {
        for (size_t c = 0; c < corners; ++c) {
            const size_t e = s * corners + c;
            us[e] = uvSets_[s].uv[2 * c];
            vs[e] = uvSets_[s].uv[2 * c + 1];
            group[e] = static_cast<uint32_t>(s * 2 + uvSets_[s].assigned[c]);
        }
    }
    RadixSort sorter;
    sorter.sort(vs.data(), count).sort(us.data(), count).sort(group.data(), count);
    auto same = [&](uint32_t a, uint32_t b) {
        return group[a] == group[b] && withinWeldTolerance(us[a], us[b]) && withinWeldTolerance(vs[a], vs[b]);
    };
    std::vector<uint32_t> runOf, lastOfRun;
    numberRuns(sorter.ranks(), same, runOf, &lastOfRun);

    uvList_.clear();
    uvList_.reserve(lastOfRun.size() * 2);
    for (uint32_t member : lastOfRun) {
        uvList_.push_back(us[member]);
        uvList_.push_back(vs[member]);
    }
    for (size_t s = 0; s < uvSets_.size(); ++s) {
        UVSet& set = uvSets_[s];
        set.index.assign(runOf.begin() + s * corners, runOf.begin() + (s + 1) * corners);
        set.uv = {};
        set.assigned = {};
    }
    logMerge(count, lastOfRun.size());
}

void CornerAttributes::setNormals(std::vector<Vector3f> normals, std::vector<uint32_t> cornerNormal)
{
    normals_ = std::move(normals);
    cornerNormal_ = std::move(cornerNormal);
}

uint32_t CornerAttributes::buildRenderVertices(const std::vector<IndexTriangle>& triangles)
{
    // One key column per attribute the corners carry; position first.
    const size_t corners = triangles.size() * 3;
    std::vector<std::vector<uint32_t>> columns;
    columns.emplace_back(corners);
    for (size_t c = 0; c < corners; ++c)
        columns[0][c] = triangles[c / 3][c % 3];
    if (hasNormals())
        columns.push_back(cornerNormal_);
    for (const UVSet& set : uvSets_)
        columns.push_back(set.index);
    // The colour is part of the key too: corners that differ only in colour
    // merged into one vertex would lose one of the colours.
    if (hasColours())
        columns.push_back(cornerColour_);

    RadixSort sorter;
    for (const std::vector<uint32_t>& column : columns)
        sorter.sort(column.data(), corners);
    auto same = [&columns](uint32_t a, uint32_t b) {
        for (const std::vector<uint32_t>& column : columns)
            if (column[a] != column[b])
                return false;
        return true;
    };
    const uint32_t unique = numberRuns(sorter.ranks(), same, cornerVertex_, &vertexCorner_);
    logMerge(corners, unique);
    log("\n%d unique vertices", static_cast<int>(unique));
    return unique;
}

} // namespace hlv
