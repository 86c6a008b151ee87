#pragma once
// The mesh parts of scene files: indexed triangle lists in one of four vertex
// formats, stored compactly (positions and texture coordinates quantised to
// 16 bits) and drawn with vertex arrays.

#include <cstdint>
#include <vector>

#include "math/bounding_box.h"
#include "persist/persistent.h"

namespace RetainedModeData {

// Anything a surface can draw under a world matrix.
class Element : public persistent {
public:
    virtual void draw() const = 0;
};

} // namespace RetainedModeData

// Three vertex numbers; importers hand meshes over as lists of these.
struct MeshTriangle {
    unsigned int vertex[3];
};

class UniSurfaceMesh : public RetainedModeData::Element {
public:
    UniSurfaceMesh() = default;
    // Keeps the low 16 bits of every vertex number; the box starts empty.
    explicit UniSurfaceMesh(const std::vector<MeshTriangle>& triangles);
    ~UniSurfaceMesh() override = default;

    void serialize(pstream& stream, bool write) override;
    // Draws the triangles over vertices first..last of the bound arrays.
    virtual void draw_range(unsigned int first, unsigned int last) const;

    virtual size_t vertex_count() const = 0;

    unsigned int part_index = 0;
    unsigned int triangle_count = 0;
    std::vector<unsigned short> indices;
    BoundingBox box;
    // RGBA per vertex, drawn in place of the surface's colour; set only by
    // importers for hlvtool's drawing of their scenes, never stored.
    std::vector<uint8_t> colours;

protected:
    // Locks the arrays when the driver can, and draws every triangle.
    void draw_locked() const;
    // Refuses indices that name no vertex, so drawing never reads outside
    // the vertex array.
    void check_indices() const;
};

struct VertexPoint {
    Vector3f position;
};
struct VertexPointUV {
    Vector3f position;
    float reserved[3] = {0, 0, 0};
    float u = 0, v = 0;
};
struct VertexPointUV2 {
    Vector3f position;
    float u0 = 0, v0 = 0;
    float u1 = 0, v1 = 0;
};
struct VertexPointNormal {
    Vector3f position;
    Vector3f normal;  // drawn as the vertex colour
};
static_assert(sizeof(VertexPoint) == 12 && sizeof(VertexPointUV) == 32, "vertex layout");
static_assert(sizeof(VertexPointUV2) == 28 && sizeof(VertexPointNormal) == 24, "vertex layout");

// The part shared by the four formats: the vertex array of one record type.
template <typename Vertex>
class UniSurfaceMeshOf : public UniSurfaceMesh {
public:
    UniSurfaceMeshOf() = default;
    // Copies the vertices; the box grows over every position.
    UniSurfaceMeshOf(const std::vector<MeshTriangle>& triangles, const std::vector<Vertex>& vertices)
        : UniSurfaceMesh(triangles), vertices(vertices)
    {
        for (const Vertex& vertex : vertices)
            box.extend(vertex.position);
    }

    size_t vertex_count() const override { return vertices.size(); }

    std::vector<Vertex> vertices;
};

class UniSurfaceMesh_Point : public UniSurfaceMeshOf<VertexPoint> {
public:
    static constexpr const char* kClassName = "class UniSurfaceMesh_Point";
    using UniSurfaceMeshOf::UniSurfaceMeshOf;
    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    void draw() const override;
};

class UniSurfaceMesh_PointUV : public UniSurfaceMeshOf<VertexPointUV> {
public:
    static constexpr const char* kClassName = "class UniSurfaceMesh_PointUV";
    using UniSurfaceMeshOf::UniSurfaceMeshOf;
    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    void draw() const override;
};

class UniSurfaceMesh_PointUV2 : public UniSurfaceMeshOf<VertexPointUV2> {
public:
    static constexpr const char* kClassName = "class UniSurfaceMesh_PointUV2";
    using UniSurfaceMeshOf::UniSurfaceMeshOf;
    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    void draw() const override;
};

class UniSurfaceMesh_PointNormal : public UniSurfaceMeshOf<VertexPointNormal> {
public:
    static constexpr const char* kClassName = "class UniSurfaceMesh_PointNormal";
    using UniSurfaceMeshOf::UniSurfaceMeshOf;
    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    void draw() const override;
};
