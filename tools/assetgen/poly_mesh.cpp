#include "tools/assetgen/poly_mesh.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/assetgen/cos_sin.h"

namespace assetgen {

namespace {
constexpr float kTwoPi = 6.2831853f;
}

uint16_t PolyMesh::tag(const std::string& surfaceName)
{
    for (size_t i = 0; i < tags_.size(); ++i)
        if (tags_[i] == surfaceName)
            return uint16_t(i);
    tags_.push_back(surfaceName);
    return uint16_t(tags_.size() - 1);
}

uint32_t PolyMesh::addPoint(const Vector3f& p, UV uv, Colour4 colour)
{
    points_.push_back(p);
    uvs_.push_back(uv);
    colours_.push_back(colour);
    return uint32_t(points_.size() - 1);
}

void PolyMesh::addPolygon(std::vector<uint32_t> indices, uint16_t tag)
{
    polygons_.push_back({std::move(indices), tag});
}

uint32_t PolyMesh::lathe(const std::vector<ProfilePoint>& profile, int segments, uint16_t tag, bool capEnds)
{
    const uint32_t first = uint32_t(points_.size());
    const int rings = int(profile.size());
    // Ring i starts at ringStart[i] and holds segments + 1 points, the last
    // on top of the first with u = 1 so textures wrap without a seam; a pole
    // ring holds one point. Welding joins the seam again where it matters.
    std::vector<uint32_t> ringStart(profile.size());
    for (int i = 0; i < rings; ++i) {
        ringStart[i] = uint32_t(points_.size());
        float v = float(i) / float(rings - 1);
        if (profile[i].radius == 0.0f) {
            addPoint({0, profile[i].height, 0}, {0.5f, v});
            continue;
        }
        for (int s = 0; s <= segments; ++s) {
            float a = s == segments ? 0.0f : kTwoPi * float(s) / float(segments);
            const CosSin turn = cosSin(a);
            addPoint({profile[i].radius * turn.cos, profile[i].height, profile[i].radius * turn.sin},
                     {float(s) / float(segments), v});
        }
    }
    auto at = [&](int ring, int s) { return profile[ring].radius == 0.0f ? ringStart[ring] : ringStart[ring] + uint32_t(s); };
    // Around the ring with the angle growing, then up the profile: these
    // faces would point inwards, so each is written the other way round.
    for (int i = 0; i + 1 < rings; ++i)
        for (int s = 0; s < segments; ++s) {
            bool lowPole = profile[i].radius == 0.0f, highPole = profile[i + 1].radius == 0.0f;
            if (lowPole && highPole)
                continue;
            if (lowPole)
                addPolygon({at(i + 1, s), at(i + 1, s + 1), at(i, s)}, tag);
            else if (highPole)
                addPolygon({at(i + 1, s), at(i, s + 1), at(i, s)}, tag);
            else
                addPolygon({at(i + 1, s), at(i + 1, s + 1), at(i, s + 1), at(i, s)}, tag);
        }
    if (capEnds) {
        if (profile.front().radius != 0.0f) {
            std::vector<uint32_t> cap;
            for (int s = 0; s < segments; ++s)
                cap.push_back(at(0, s));
            addPolygon(cap, tag);  // counter-clockwise seen from below
        }
        if (profile.back().radius != 0.0f) {
            std::vector<uint32_t> cap;
            for (int s = segments; s-- > 0;)
                cap.push_back(at(rings - 1, s));
            addPolygon(cap, tag);
        }
    }
    return first;
}

uint32_t PolyMesh::extrude(const std::vector<Point2>& outline, const std::vector<std::vector<Point2>>& holes, float z0,
                           float z1, uint16_t tag)
{
    const uint32_t first = uint32_t(points_.size());
    std::vector<std::vector<Point2>> loops = {outline};
    loops.insert(loops.end(), holes.begin(), holes.end());
    std::vector<uint32_t> front, back;
    for (const std::vector<Point2>& loop : loops) {
        uint32_t start = uint32_t(points_.size());
        for (const Point2& p : loop) {
            addPoint({p.x, p.y, z0}, {p.x, p.y});
            addPoint({p.x, p.y, z1}, {p.x, p.y});
        }
        const uint32_t n = uint32_t(loop.size());
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t a = start + 2 * i, b = start + 2 * ((i + 1) % n);
            addPolygon({a, b, b + 1, a + 1}, tag);
        }
        // Caps: the front (z1) runs with the outline, the back against it;
        // a hole starts a new contour by repeating the cap's first index.
        if (!front.empty()) {
            front.push_back(front.front());
            back.push_back(back.front());
        }
        for (uint32_t i = 0; i < n; ++i)
            front.push_back(start + 2 * i + 1);
        for (uint32_t i = n; i-- > 0;)
            back.push_back(start + 2 * i);
    }
    addPolygon(front, tag);
    addPolygon(back, tag);
    return first;
}

void PolyMesh::transform(uint32_t firstPoint, const Matrix44& m)
{
    for (size_t i = firstPoint; i < points_.size(); ++i)
        points_[i] = m.transformPoint(points_[i]);
}

void PolyMesh::setColour(uint32_t firstPoint, const Colour4& colour)
{
    for (size_t i = firstPoint; i < colours_.size(); ++i)
        colours_[i] = colour;
}

void PolyMesh::flipFrom(size_t firstPolygon)
{
    for (size_t p = firstPolygon; p < polygons_.size(); ++p)
        std::reverse(polygons_[p].indices.begin(), polygons_[p].indices.end());
}

void PolyMesh::flipPolygon(size_t polygon)
{
    std::reverse(polygons_[polygon].indices.begin(), polygons_[polygon].indices.end());
}

uint32_t PolyMesh::addBox(const Vector3f& lo, const Vector3f& hi, uint16_t tag)
{
    const uint32_t first = uint32_t(points_.size());
    const Vector3f size = hi - lo;
    // Each face: a corner and two edges whose cross product points out.
    struct Face {
        Vector3f corner, du, dv;
    };
    const Face faces[6] = {
        {{hi.x, lo.y, lo.z}, {0, size.y, 0}, {0, 0, size.z}},  // +X
        {{lo.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}},  // -X
        {{lo.x, hi.y, lo.z}, {0, 0, size.z}, {size.x, 0, 0}},  // +Y
        {{lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}},  // -Y
        {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}},  // +Z
        {{lo.x, lo.y, lo.z}, {0, size.y, 0}, {size.x, 0, 0}},  // -Z
    };
    for (const Face& f : faces)
        addGrid(f.corner, f.du, f.dv, 1, 1, tag, {0, 0}, {1, 1});
    return first;
}

uint32_t PolyMesh::addGrid(const Vector3f& origin, const Vector3f& du, const Vector3f& dv, int cols, int rows,
                           uint16_t tag, UV uvOrigin, UV uvSpan)
{
    const uint32_t first = uint32_t(points_.size());
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= cols; ++i) {
            float fu = float(i) / float(cols), fv = float(j) / float(rows);
            addPoint(origin + du * fu + dv * fv, {uvOrigin.u + uvSpan.u * fu, uvOrigin.v + uvSpan.v * fv});
        }
    auto at = [&](int i, int j) { return first + uint32_t(j * (cols + 1) + i); };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
            addPolygon({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}, tag);
    return first;
}

std::vector<std::array<uint32_t, 3>> PolyMesh::fanTriangles(uint16_t tag) const
{
    std::vector<std::array<uint32_t, 3>> out;
    for (const Polygon& polygon : polygons_) {
        if (polygon.tag != tag)
            continue;
        for (size_t i = 1; i < polygon.indices.size(); ++i)
            if (polygon.indices[i] == polygon.indices[0])
                throw std::logic_error("fanTriangles cannot split a polygon with holes");
        for (size_t i = 1; i + 1 < polygon.indices.size(); ++i)
            out.push_back({polygon.indices[0], polygon.indices[i], polygon.indices[i + 1]});
    }
    return out;
}

Matrix44 yToZ()
{
    const float rows[16] = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    return Matrix44::fromRows(rows);
}

} // namespace assetgen
