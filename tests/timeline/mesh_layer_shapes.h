#pragma once
// Meshes, materials and frame set-up shared by the mesh-layer and shadow tests.

#include <memory>
#include <string>
#include <vector>

#include "geometry/robust_mesh.h"
#include "math/camera.h"
#include "render/material.h"
#include "resources/mesh_manager.h"
#include "tests/render/material_frame.h"
#include "tests/support/gl_window.h"

using Tri = hlv::RobustMesh::TaggedTriangle;

// Adds an axis-aligned box to a triangle soup, every face wound
// counter-clockwise seen from outside (so outward normals), each face with
// its own corner copies as an importer hands them over.
inline void addBox(std::vector<Vector3f>& points, std::vector<Tri>& triangles, const Vector3f& lo,
                   const Vector3f& hi, uint32_t tag = 0)
{
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}};
    for (const auto& f : faces) {
        const uint32_t base = static_cast<uint32_t>(points.size());
        for (int corner : f) {
            const bool x = corner == 1 || corner == 2 || corner == 5 || corner == 6;
            const bool y = corner == 2 || corner == 3 || corner == 6 || corner == 7;
            points.push_back({x ? hi.x : lo.x, y ? hi.y : lo.y, corner >= 4 ? hi.z : lo.z});
        }
        triangles.push_back({base, base + 1, base + 2, tag});
        triangles.push_back({base, base + 2, base + 3, tag});
    }
}

inline std::unique_ptr<hlv::RobustMesh> builtMesh(std::vector<Vector3f> points, const std::vector<Tri>& triangles,
                                                  unsigned flags)
{
    auto mesh = std::make_unique<hlv::RobustMesh>();
    mesh->setPoints(std::move(points));
    mesh->setTriangles(triangles);
    mesh->build(flags);
    return mesh;
}

inline std::unique_ptr<hlv::RobustMesh> boxMesh(const Vector3f& lo, const Vector3f& hi, unsigned flags = 3)
{
    std::vector<Vector3f> points;
    std::vector<Tri> triangles;
    addBox(points, triangles, lo, hi);
    return builtMesh(points, triangles, flags);
}

// Hands the mesh to the mesh manager under `name`.
inline hlv::RobustMesh* holdMesh(const char* name, std::unique_ptr<hlv::RobustMesh> mesh)
{
    hlv::RobustMesh* held = mesh.get();
    meshManager.add(name, mesh.release());
    return held;
}

// What a recording material saw at each draw.
struct PartDraw {
    int material;
    uint32_t part;
    GLint viewport[4];
    float projection[16];
    float modelview[16];
};

// Draws nothing; records which part it was asked to draw, and under which
// viewport and matrices.
class RecordingMaterial : public hlv::Material {
public:
    RecordingMaterial(int id_, std::vector<PartDraw>& draws_) : id(id_), draws(draws_) {}
    void render(const Camera*, const hlv::MeshPart* part) override
    {
        PartDraw draw{id, part->partIndex, {}, {}, {}};
        glGetIntegerv(GL_VIEWPORT, draw.viewport);
        glGetFloatv(GL_PROJECTION_MATRIX, draw.projection);
        glGetFloatv(GL_MODELVIEW_MATRIX, draw.modelview);
        draws.push_back(draw);
    }
    int id;
    std::vector<PartDraw>& draws;
};

// Where the camera puts a world point on the 800x600 screen.
inline void pixelOf(const Camera& camera, const Vector3f& p, int& x, int& y)
{
    const Matrix44 clip = camera.projectionMatrix() * camera.viewMatrix();
    const float* m = clip.m;
    const float cx = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    const float cy = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    x = static_cast<int>((cx / w + 1) / 2 * 800);
    y = static_cast<int>((cy / w + 1) / 2 * 600);
}
