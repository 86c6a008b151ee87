#include "import/polygon_tessellator.h"

#include <GL/glu.h>

#include <cmath>
#include <cstdint>

namespace LW {

namespace {

struct TessellationOutput {
    std::vector<uint32_t>* indices;
    bool failed = false;
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

void TESS_CALLBACK onError(GLenum, void* data) { static_cast<TessellationOutput*>(data)->failed = true; }

// New vertices cannot be expressed as point indices: refuse the polygon.
void TESS_CALLBACK onCombine(GLdouble[3], void*[4], GLfloat[4], void** out, void* data)
{
    static_cast<TessellationOutput*>(data)->failed = true;
    *out = nullptr;
}

using Callback = void(TESS_CALLBACK*)();

} // namespace

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
                                    std::vector<uint32_t>& triangles)
{
    triangles.clear();
    if (!tess_)
        return false;
    // GLU's sweep cannot order a NaN or infinite vertex and crashes on one.
    for (uint32_t index : indices)
        if (!std::isfinite(points[index].x) || !std::isfinite(points[index].y) || !std::isfinite(points[index].z))
            return false;
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

} // namespace LW
