#include "export/mesh_primitive.h"

#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "export/axes.h"

namespace gltf_export {

namespace {

struct Triple {
    double x, y, z;
};

Triple cross(const Triple& a, const Triple& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Normals of the glTF triangles by corner: the area-weighted face normals of
// every triangle at the same position within the smoothing angle.
std::vector<Triple> cornerNormals(const std::vector<float>& positions, const std::vector<uint32_t>& triangles,
                                  float smoothingDegrees)
{
    const size_t count = triangles.size() / 3;
    std::vector<Triple> faces(count);
    auto point = [&](uint32_t v) {
        return Triple{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]};
    };
    for (size_t t = 0; t < count; ++t) {
        const Triple a = point(triangles[3 * t]), b = point(triangles[3 * t + 1]), c = point(triangles[3 * t + 2]);
        faces[t] = cross({b.x - a.x, b.y - a.y, b.z - a.z}, {c.x - a.x, c.y - a.y, c.z - a.z});
    }
    // Corners by position: vertices split for UVs still smooth together.
    struct PositionHash {
        size_t operator()(const std::array<float, 3>& p) const
        {
            uint32_t bits[3];
            std::memcpy(bits, p.data(), sizeof bits);
            return size_t(bits[0]) * 73856093u ^ size_t(bits[1]) * 19349663u ^ size_t(bits[2]) * 83492791u;
        }
    };
    std::unordered_map<std::array<float, 3>, std::vector<uint32_t>, PositionHash> at;
    at.reserve(positions.size() / 3);
    for (size_t corner = 0; corner < triangles.size(); ++corner) {
        const uint32_t v = triangles[corner];
        at[{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]}].push_back(uint32_t(corner));
    }
    const double limit = std::cos(smoothingDegrees * M_PI / 180);
    auto unit = [](Triple n) {
        const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        return length > 0 ? Triple{n.x / length, n.y / length, n.z / length} : Triple{0, 0, 0};
    };
    std::vector<Triple> units(count);
    for (size_t t = 0; t < count; ++t)
        units[t] = unit(faces[t]);
    std::vector<Triple> normals(triangles.size());
    for (const auto& entry : at) {
        for (uint32_t corner : entry.second) {
            const Triple& own = units[corner / 3];
            Triple sum{0, 0, 0};
            for (uint32_t other : entry.second) {
                const Triple& n = faces[other / 3];
                const Triple& u = units[other / 3];
                if (other == corner || u.x * own.x + u.y * own.y + u.z * own.z >= limit - 1e-9) {
                    sum.x += n.x;
                    sum.y += n.y;
                    sum.z += n.z;
                }
            }
            normals[corner] = unit(sum);
            if (normals[corner].x == 0 && normals[corner].y == 0 && normals[corner].z == 0)
                normals[corner] = {0, 1, 0};
        }
    }
    return normals;
}

} // namespace

Primitive primitiveOf(const MeshArrays& mesh, float smoothingDegrees)
{
    Primitive out;
    const std::vector<Vector3f>& positions = *mesh.positions;
    out.positions.resize(positions.size() * 3);
    for (size_t v = 0; v < positions.size(); ++v)
        pointOf(positions[v], &out.positions[3 * v]);
    out.indices.reserve(mesh.triangleCount * 3);
    for (size_t t = 0; t < mesh.triangleCount; ++t) {
        out.indices.push_back(mesh.indices[3 * t]);
        out.indices.push_back(mesh.indices[3 * t + 2]);
        out.indices.push_back(mesh.indices[3 * t + 1]);
    }
    if (mesh.uvs) {
        out.uvs.resize(positions.size() * 2);
        for (size_t v = 0; v < positions.size(); ++v) {
            out.uvs[2 * v] = mesh.uvs[2 * v];
            out.uvs[2 * v + 1] = mesh.uvsFromTop ? mesh.uvs[2 * v + 1] : 1 - mesh.uvs[2 * v + 1];
        }
    }
    if (mesh.colours) {
        for (uint32_t c : *mesh.colours)
            for (int shift = 24; shift >= 0; shift -= 8)
                out.colours.push_back(float((c >> shift) & 0xFF) / 255.0f);
    }
    if (mesh.normals) {
        out.normals.resize(positions.size() * 3);
        for (size_t v = 0; v < positions.size(); ++v)
            pointOf((*mesh.normals)[v], &out.normals[3 * v]);
        return out;
    }
    // Smoothed normals belong to corners: a vertex whose corners get
    // different normals is split.
    const std::vector<Triple> normals = cornerNormals(out.positions, out.indices, smoothingDegrees);
    Primitive split;
    split.material = out.material;
    // The vertices made of each original one, by normal (few per vertex).
    std::vector<std::vector<std::pair<std::array<float, 3>, uint32_t>>> made(positions.size());
    split.indices.reserve(out.indices.size());
    for (size_t corner = 0; corner < out.indices.size(); ++corner) {
        const uint32_t v = out.indices[corner];
        const std::array<float, 3> n = {float(normals[corner].x), float(normals[corner].y), float(normals[corner].z)};
        uint32_t index = ~0u;
        for (const auto& known : made[v])
            if (known.first == n)
                index = known.second;
        if (index == ~0u) {
            index = uint32_t(split.positions.size() / 3);
            made[v].push_back({n, index});
            split.positions.insert(split.positions.end(), &out.positions[3 * v], &out.positions[3 * v] + 3);
            split.normals.insert(split.normals.end(), n.begin(), n.end());
            if (!out.uvs.empty())
                split.uvs.insert(split.uvs.end(), &out.uvs[2 * v], &out.uvs[2 * v] + 2);
            if (!out.colours.empty())
                split.colours.insert(split.colours.end(), &out.colours[4 * v], &out.colours[4 * v] + 4);
        }
        split.indices.push_back(index);
    }
    return split;
}

} // namespace gltf_export
