#include "geometry/uni_surface_mesh.h"

#include <algorithm>

#include "persist/encoding.h"

namespace {

const float kQuantisationSteps = 32767.0f;

// Positions quantised to 16 bits inside the mesh's box. The vertex count of
// a read comes from the block itself.
template <typename Vertex>
void io_position_block(pstream& s, bool write, const BoundingBox& box, std::vector<Vertex>& vertices)
{
    const Vector3f centre = (box.min + box.max) * 0.5f;
    const Vector3f half = (box.max - box.min) * 0.5f;
    const float centres[3] = {centre.x, centre.y, centre.z};
    const float halves[3] = {half.x, half.y, half.z};

    if (write) {
        s.write(static_cast<unsigned int>(3 * vertices.size()));
        for (const Vertex& vertex : vertices) {
            const float coordinates[3] = {vertex.position.x, vertex.position.y, vertex.position.z};
            for (int axis = 0; axis < 3; ++axis) {
                float h = halves[axis];
                float q = h != 0 ? (coordinates[axis] - centres[axis]) * kQuantisationSteps / h : 0.0f;
                s.write(static_cast<short>(q));
            }
        }
        return;
    }

    unsigned int count = read_count(s, sizeof(short));
    if (count % 3 != 0)
        throw persistent::bad_data;
    std::vector<Vertex> read(count / 3);
    for (Vertex& vertex : read) {
        float coordinates[3];
        for (int axis = 0; axis < 3; ++axis) {
            short q;
            s.read(q);
            coordinates[axis] = q * halves[axis] * (1.0f / kQuantisationSteps) + centres[axis];
        }
        vertex.position.set(coordinates[0], coordinates[1], coordinates[2]);
    }
    vertices = std::move(read);
}

// Centre and factor of one coordinate over all vertices; a factor of 0 means
// every vertex has the centre value.
struct UvRange {
    float centre = 0;
    float factor = 0;
};

template <typename Vertex>
UvRange measure(const std::vector<Vertex>& vertices, float Vertex::*coordinate)
{
    UvRange range;
    if (vertices.empty())
        return range;
    float low = vertices[0].*coordinate, high = low;
    for (const Vertex& vertex : vertices) {
        low = std::min(low, vertex.*coordinate);
        high = std::max(high, vertex.*coordinate);
    }
    float half = (high - low) / 2;
    range.centre = low + half;
    range.factor = high != low ? kQuantisationSteps / half : 0.0f;
    return range;
}

// One UV set quantised to 16 bits per coordinate; the vertices already exist.
template <typename Vertex>
void io_uv_block(pstream& s, bool write, std::vector<Vertex>& vertices, float Vertex::*u, float Vertex::*v)
{
    UvRange ru, rv;
    if (write) {
        ru = measure(vertices, u);
        rv = measure(vertices, v);
    }
    io(s, write, ru.centre);
    io(s, write, ru.factor);
    io(s, write, rv.centre);
    io(s, write, rv.factor);

    if (write) {
        for (const Vertex& vertex : vertices) {
            s.write(static_cast<short>(ru.factor * (vertex.*u - ru.centre)));
            s.write(static_cast<short>(rv.factor * (vertex.*v - rv.centre)));
        }
        return;
    }
    const float fu = ru.factor != 0 ? 1.0f / ru.factor : 0.0f;
    const float fv = rv.factor != 0 ? 1.0f / rv.factor : 0.0f;
    for (Vertex& vertex : vertices) {
        short su, sv;
        s.read(su);
        s.read(sv);
        vertex.*u = su * fu + ru.centre;
        vertex.*v = sv * fv + rv.centre;
    }
}

} // namespace

UniSurfaceMesh::UniSurfaceMesh(const std::vector<MeshTriangle>& triangles)
    : triangle_count(static_cast<unsigned int>(triangles.size()))
{
    indices.reserve(3 * triangles.size());
    for (const MeshTriangle& triangle : triangles)
        for (unsigned int vertex : triangle.vertex)
            indices.push_back(static_cast<unsigned short>(vertex & 0xFFFF));
}

void UniSurfaceMesh::serialize(pstream& s, bool write)
{
    io(s, write, part_index);
    io_short_index_list(s, write, indices);
    io(s, write, box);
    if (!write)
        triangle_count = static_cast<unsigned int>(indices.size() / 3);
}

void UniSurfaceMesh::check_indices() const
{
    const size_t count = vertex_count();
    for (unsigned short index : indices)
        if (index >= count)
            throw persistent::bad_data;
}

void UniSurfaceMesh_Point::serialize(pstream& s, bool write)
{
    UniSurfaceMesh::serialize(s, write);
    io_position_block(s, write, box, vertices);
    if (!write)
        check_indices();
}

void UniSurfaceMesh_PointUV::serialize(pstream& s, bool write)
{
    UniSurfaceMesh::serialize(s, write);
    io_position_block(s, write, box, vertices);
    io_uv_block(s, write, vertices, &VertexPointUV::u, &VertexPointUV::v);
    if (!write)
        check_indices();
}

void UniSurfaceMesh_PointUV2::serialize(pstream& s, bool write)
{
    UniSurfaceMesh::serialize(s, write);
    io_position_block(s, write, box, vertices);
    io_uv_block(s, write, vertices, &VertexPointUV2::u0, &VertexPointUV2::v0);
    io_uv_block(s, write, vertices, &VertexPointUV2::u1, &VertexPointUV2::v1);
    if (!write)
        check_indices();
}

void UniSurfaceMesh_PointNormal::serialize(pstream& s, bool write)
{
    UniSurfaceMesh::serialize(s, write);
    if (write) {
        s.write(static_cast<unsigned int>(vertices.size()));
    } else {
        vertices.assign(read_count(s, sizeof(VertexPointNormal)), VertexPointNormal());
    }
    for (VertexPointNormal& vertex : vertices) {
        io(s, write, vertex.position);
        io(s, write, vertex.normal);
    }
    if (!write)
        check_indices();
}
