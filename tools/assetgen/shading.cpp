#include "tools/assetgen/shading.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

std::vector<Vector3f> pointNormals(const PolyMesh& mesh)
{
    std::vector<Vector3f> normals(mesh.points().size(), Vector3f{0, 0, 0});
    for (const Polygon& polygon : mesh.polygons()) {
        // Newell's normal: robust for any planar-ish polygon.
        Vector3f n{0, 0, 0};
        const auto& idx = polygon.indices;
        for (size_t i = 0; i < idx.size(); ++i) {
            const Vector3f& a = mesh.points()[idx[i]];
            const Vector3f& b = mesh.points()[idx[(i + 1) % idx.size()]];
            n.x += (a.y - b.y) * (a.z + b.z);
            n.y += (a.z - b.z) * (a.x + b.x);
            n.z += (a.x - b.x) * (a.y + b.y);
        }
        for (uint32_t i : idx)
            normals[i] += n;
    }
    for (Vector3f& n : normals)
        n = normalize(n);
    return normals;
}

void bakeShading(PolyMesh& mesh, uint32_t firstPoint, const ShadeLook& look)
{
    const std::vector<Vector3f> normals = pointNormals(mesh);
    const Vector3f view = normalize(look.viewer);
    for (uint32_t i = firstPoint; i < mesh.points().size(); ++i) {
        const Vector3f& n = normals[i];
        Rgb light = mix(look.ground, look.sky, 0.5f + 0.5f * n.y);
        for (const DirectionalLight& l : look.lights) {
            float d = std::max(0.0f, dot(n, normalize(l.towardsLight)));
            light = {light.r + l.colour.r * d, light.g + l.colour.g * d, light.b + l.colour.b * d};
        }
        float rim = look.rim * std::pow(1.0f - std::fabs(dot(n, view)), 3.0f);
        Rgb c{look.base.r * light.r + rim, look.base.g * light.g + rim, look.base.b * light.b + rim};
        mesh.setPointColour(i, {clamp01(c.r), clamp01(c.g), clamp01(c.b), 1});
    }
}

} // namespace assetgen
