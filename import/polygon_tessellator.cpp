#include "import/polygon_tessellator.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace LW {

namespace {

bool g_outlineTriangulation = true;

// The mesh welds points closer than this on every axis; the outline does
// the same before it triangulates.
constexpr float kWeldTolerance = 0.00001f;

// What the callbacks of one polygon share; the outline's also need the
// points and the list of added points.
struct TessellationOutput {
    std::vector<uint32_t>* indices;
    bool failed = false;
    std::vector<AddedPoint>* added = nullptr;
    const std::vector<Vector3f>* points = nullptr;
};

#if defined(_WIN32)
#define TESS_CALLBACK CALLBACK
#else
#define TESS_CALLBACK
#endif

void TESS_CALLBACK onBegin(GLenum, void*) {}
void TESS_CALLBACK onEnd(void*) {}
// Registering an edge-flag callback makes the tessellator emit independent
// triangles only (no fans or strips).
void TESS_CALLBACK onEdgeFlag(GLboolean, void*) {}

void TESS_CALLBACK onVertex(void* vertex, void* data)
{
    auto* output = static_cast<TessellationOutput*>(data);
    output->indices->push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(vertex)));
}

// The outline passes index + 1 as the vertex data, so that point 0 is not
// the null pointer that GLU takes for "no vertex" from a combine callback.
void* outlineVertexData(uint32_t index) { return reinterpret_cast<void*>(uintptr_t(index) + 1); }
uint32_t outlineIndex(void* vertex) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(vertex) - 1); }

void TESS_CALLBACK onOutlineVertex(void* vertex, void* data)
{
    static_cast<TessellationOutput*>(data)->indices->push_back(outlineIndex(vertex));
}

void TESS_CALLBACK onError(GLenum, void* data) { static_cast<TessellationOutput*>(data)->failed = true; }

const Vector3f& positionOf(uint32_t index, const TessellationOutput& output)
{
    return index >= kAddedPoint ? (*output.added)[index - kAddedPoint].position : (*output.points)[index];
}

bool near(const Vector3f& a, const Vector3f& b)
{
    return std::fabs(a.x - b.x) < kWeldTolerance && std::fabs(a.y - b.y) < kWeldTolerance &&
           std::fabs(a.z - b.z) < kWeldTolerance;
}

// New vertices cannot be expressed as point indices: refuse the polygon.
void TESS_CALLBACK onCombine(GLdouble[3], void*[4], GLfloat[4], void** out, void* data)
{
    static_cast<TessellationOutput*>(data)->failed = true;
    *out = nullptr;
}

// The outline takes a crossing that falls on one of its points (or a merge
// of copies of one point) as that point, and any other as a new point.
void TESS_CALLBACK onOutlineCombine(GLdouble coords[3], void* data[4], GLfloat weights[4], void** out,
                                    void* polygonData)
{
    auto* output = static_cast<TessellationOutput*>(polygonData);
    *out = nullptr;
    AddedPoint point;
    point.position = Vector3f(float(coords[0]), float(coords[1]), float(coords[2]));
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        if (!data[i] || !(weights[i] > 0))
            continue;
        const uint32_t source = outlineIndex(data[i]);
        if (near(positionOf(source, *output), point.position)) {
            *out = data[i];
            return;
        }
        point.sources[count] = source;
        point.weights[count] = weights[i];
        ++count;
    }
    if (count == 0) {
        output->failed = true;
        return;
    }
    *out = outlineVertexData(kAddedPoint + static_cast<uint32_t>(output->added->size()));
    output->added->push_back(point);
}

using Callback = void(TESS_CALLBACK*)();

// The Newell normal: twice the vector area of the contours, pointing the way
// their winding turns.
Vector3<double> newellNormal(const std::vector<uint32_t>& contour, const std::vector<size_t>& starts,
                             const std::vector<Vector3f>& points)
{
    Vector3<double> normal;
    for (size_t c = 0; c + 1 < starts.size(); ++c) {
        for (size_t i = starts[c]; i < starts[c + 1]; ++i) {
            const Vector3f& p = points[contour[i]];
            const Vector3f& q = points[contour[i + 1 < starts[c + 1] ? i + 1 : starts[c]]];
            normal.x += (double(p.y) - q.y) * (double(p.z) + q.z);
            normal.y += (double(p.z) - q.z) * (double(p.x) + q.x);
            normal.z += (double(p.x) - q.x) * (double(p.y) + q.y);
        }
    }
    return normal;
}

// Appends the points [begin, end) to `out` as one contour, leaving out a
// point that repeats the one before it and, at the end, the first point.
void appendCleanContour(const uint32_t* begin, const uint32_t* end, std::vector<uint32_t>& out)
{
    const size_t start = out.size();
    for (const uint32_t* i = begin; i != end; ++i)
        if (out.size() == start || out.back() != *i)
            out.push_back(*i);
    while (out.size() - start > 1 && out.back() == out[start])
        out.pop_back();
}

bool repeatsAPoint(const uint32_t* begin, const uint32_t* end)
{
    std::vector<uint32_t> sorted(begin, end);
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

} // namespace

void PolygonTessellator::setOutlineTriangulation(bool enabled) { g_outlineTriangulation = enabled; }

PolygonTessellator::PolygonTessellator() : tess_(gluNewTess())
{
    if (!tess_)
        return;
    gluTessCallback(tess_, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(onBegin));
    gluTessCallback(tess_, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onVertex));
    gluTessCallback(tess_, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(onEdgeFlag));
    gluTessCallback(tess_, GLU_TESS_END_DATA, reinterpret_cast<Callback>(onEnd));
    gluTessCallback(tess_, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(onError));
    gluTessCallback(tess_, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onCombine));
}

PolygonTessellator::~PolygonTessellator()
{
    if (tess_)
        gluDeleteTess(tess_);
}

bool PolygonTessellator::tessellate(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                                    std::vector<uint32_t>& triangles, std::vector<AddedPoint>& added)
{
    usedOutline_ = false;
    triangles.clear();
    if (!tess_)
        return false;
    // GLU's sweep cannot order a NaN or infinite vertex and crashes on one.
    for (uint32_t index : indices)
        if (!std::isfinite(points[index].x) || !std::isfinite(points[index].y) || !std::isfinite(points[index].z))
            return false;
    const bool strict = tessellateStrict(indices, points, triangles);
    if (!g_outlineTriangulation || (strict && (!triangles.empty() || indices.size() < 3)))
        return strict;
    usedOutline_ = true;
    return tessellateOutline(indices, points, triangles, added);
}

bool PolygonTessellator::tessellateStrict(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                                          std::vector<uint32_t>& triangles)
{
    TessellationOutput output{&triangles};
    // The tessellator keeps pointers to the coordinates until the polygon ends.
    coordinates_.resize(indices.size() * 3);
    gluTessBeginPolygon(tess_, &output);
    gluTessBeginContour(tess_);
    bool contourStart = true;
    uint32_t first = 0;
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint32_t index = indices[i];
        if (!contourStart && index == first) {
            gluTessEndContour(tess_);
            gluTessBeginContour(tess_);
            contourStart = true;
            continue;
        }
        if (contourStart) {
            first = index;
            contourStart = false;
        }
        GLdouble* xyz = &coordinates_[i * 3];
        xyz[0] = points[index].x;
        xyz[1] = points[index].y;
        xyz[2] = points[index].z;
        gluTessVertex(tess_, xyz, reinterpret_cast<void*>(static_cast<uintptr_t>(index)));
    }
    gluTessEndContour(tess_);
    gluTessEndPolygon(tess_);
    if (output.failed || triangles.size() % 3 != 0) {
        triangles.clear();
        return false;
    }
    return true;
}

void PolygonTessellator::buildContours(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points)
{
    merged_.clear();
    distinct_.clear();
    for (uint32_t index : indices) {
        uint32_t same = index;
        for (uint32_t earlier : distinct_) {
            if (earlier == index || near(points[earlier], points[index])) {
                same = earlier;
                break;
            }
        }
        if (same == index && std::find(distinct_.begin(), distinct_.end(), index) == distinct_.end())
            distinct_.push_back(index);
        merged_.push_back(same);
    }

    // The contours as the strict rules split them.
    contour_.clear();
    contourStarts_.assign(1, 0);
    bool keyhole = false;
    for (size_t begin = 0; begin < merged_.size();) {
        size_t end = begin + 1;
        while (end < merged_.size() && merged_[end] != merged_[begin])
            ++end;
        appendCleanContour(&merged_[begin], merged_.data() + end, contour_);
        keyhole = keyhole || repeatsAPoint(&contour_[contourStarts_.back()], contour_.data() + contour_.size());
        if (contour_.size() - contourStarts_.back() < 3)
            contour_.resize(contourStarts_.back());  // no area: a point or a line
        else
            contourStarts_.push_back(contour_.size());
        begin = end + 1;
    }
    if (!keyhole)
        return;
    contour_.clear();
    contourStarts_.assign(1, 0);
    appendCleanContour(merged_.data(), merged_.data() + merged_.size(), contour_);
    if (contour_.size() < 3)
        contour_.clear();
    else
        contourStarts_.push_back(contour_.size());
}

bool PolygonTessellator::tessellateOutline(const std::vector<uint32_t>& indices, const std::vector<Vector3f>& points,
                                           std::vector<uint32_t>& triangles, std::vector<AddedPoint>& added)
{
    buildContours(indices, points);
    if (contour_.empty())
        return true;  // no area to keep

    // Near-zero normals (a figure eight's halves cancel out) leave the plane
    // to GLU.
    Vector3<double> normal = newellNormal(contour_, contourStarts_, points);
    double extent = 0;
    for (uint32_t index : contour_) {
        const Vector3f d = points[index] - points[contour_[0]];
        extent = std::max(extent, double(std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)})));
    }
    if (normal.length() <= 1e-6 * extent * extent)
        normal = Vector3<double>();

    const size_t addedBefore = added.size();
    TessellationOutput output{&triangles};
    output.added = &added;
    output.points = &points;
    coordinates_.resize(contour_.size() * 3);
    gluTessCallback(tess_, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onOutlineVertex));
    gluTessCallback(tess_, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onOutlineCombine));
    gluTessNormal(tess_, normal.x, normal.y, normal.z);
    gluTessBeginPolygon(tess_, &output);
    for (size_t c = 0; c + 1 < contourStarts_.size(); ++c) {
        gluTessBeginContour(tess_);
        for (size_t i = contourStarts_[c]; i < contourStarts_[c + 1]; ++i) {
            const Vector3f& p = points[contour_[i]];
            GLdouble* xyz = &coordinates_[i * 3];
            xyz[0] = p.x;
            xyz[1] = p.y;
            xyz[2] = p.z;
            gluTessVertex(tess_, xyz, outlineVertexData(contour_[i]));
        }
        gluTessEndContour(tess_);
    }
    gluTessEndPolygon(tess_);
    gluTessNormal(tess_, 0, 0, 0);
    gluTessCallback(tess_, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onVertex));
    gluTessCallback(tess_, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onCombine));
    if (output.failed || triangles.size() % 3 != 0) {
        triangles.clear();
        added.resize(addedBefore);
        return false;
    }
    // Slivers along a bridge come out with a repeated corner: no area.
    size_t kept = 0;
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const uint32_t a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
        if (a == b || b == c || a == c)
            continue;
        triangles[kept++] = a;
        triangles[kept++] = b;
        triangles[kept++] = c;
    }
    triangles.resize(kept);
    return true;
}

} // namespace LW
