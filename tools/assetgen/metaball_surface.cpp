#include "tools/assetgen/metaball_surface.h"

#include <map>
#include <utility>

namespace assetgen {

float metaballField(const std::vector<Blob>& blobs, const Vector3f& p)
{
    float sum = 0;
    for (const Blob& b : blobs) {
        Vector3f d = p - b.centre;
        sum += b.radius * b.radius / (dot(d, d) + 1e-6f);
    }
    return sum;
}

namespace {

// The six tetrahedra round a cube's main diagonal 0-7, as corner numbers
// (bit 0 = x, 1 = y, 2 = z).
const int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 3, 2, 7}, {0, 2, 6, 7}, {0, 6, 4, 7}, {0, 4, 5, 7}, {0, 5, 1, 7}};

class Mesher {
public:
    Mesher(const std::vector<Blob>& blobs, float threshold, float extent, int cells, PolyMesh& mesh, uint16_t tag)
        : blobs_(blobs), threshold_(threshold), extent_(extent), cells_(cells), mesh_(mesh), tag_(tag)
    {
        values_.resize(size_t(cells + 1) * (cells + 1) * (cells + 1));
        for (int z = 0; z <= cells; ++z)
            for (int y = 0; y <= cells; ++y)
                for (int x = 0; x <= cells; ++x)
                    values_[index(x, y, z)] = metaballField(blobs, position(x, y, z)) - threshold;
    }

    void run()
    {
        for (int z = 0; z < cells_; ++z)
            for (int y = 0; y < cells_; ++y)
                for (int x = 0; x < cells_; ++x)
                    for (const auto& tet : kTetrahedra) {
                        int corners[4];
                        for (int k = 0; k < 4; ++k)
                            corners[k] = index(x + (tet[k] & 1), y + ((tet[k] >> 1) & 1), z + ((tet[k] >> 2) & 1));
                        tetrahedron(corners);
                    }
    }

private:
    int index(int x, int y, int z) const { return (z * (cells_ + 1) + y) * (cells_ + 1) + x; }
    Vector3f position(int x, int y, int z) const
    {
        float step = 2 * extent_ / float(cells_);
        return {-extent_ + step * float(x), -extent_ + step * float(y), -extent_ + step * float(z)};
    }
    Vector3f positionOf(int i) const
    {
        int x = i % (cells_ + 1), y = i / (cells_ + 1) % (cells_ + 1), z = i / ((cells_ + 1) * (cells_ + 1));
        return position(x, y, z);
    }

    // The point where the field crosses the threshold on the edge a-b, one per edge.
    uint32_t crossing(int a, int b)
    {
        auto key = std::make_pair(std::min(a, b), std::max(a, b));
        auto found = points_.find(key);
        if (found != points_.end())
            return found->second;
        float va = values_[size_t(a)], vb = values_[size_t(b)];
        float t = va / (va - vb);
        Vector3f pa = positionOf(a), pb = positionOf(b);
        uint32_t point = mesh_.addPoint(pa + (pb - pa) * t);
        points_[key] = point;
        return point;
    }

    void triangle(uint32_t a, uint32_t b, uint32_t c)
    {
        if (a == b || b == c || a == c)
            return;
        const Vector3f &pa = mesh_.points()[a], &pb = mesh_.points()[b], &pc = mesh_.points()[c];
        Vector3f n = cross(pb - pa, pc - pa);
        // Outwards is where the field falls: against its gradient.
        Vector3f centre = (pa + pb + pc) * (1.0f / 3.0f);
        const float h = 0.01f;
        Vector3f gradient{metaballField(blobs_, centre + Vector3f{h, 0, 0}) - metaballField(blobs_, centre - Vector3f{h, 0, 0}),
                          metaballField(blobs_, centre + Vector3f{0, h, 0}) - metaballField(blobs_, centre - Vector3f{0, h, 0}),
                          metaballField(blobs_, centre + Vector3f{0, 0, h}) - metaballField(blobs_, centre - Vector3f{0, 0, h})};
        if (dot(n, gradient) > 0)
            mesh_.addPolygon({a, c, b}, tag_);
        else
            mesh_.addPolygon({a, b, c}, tag_);
    }

    void tetrahedron(const int c[4])
    {
        int inside[4], outside[4], ni = 0, no = 0;
        for (int k = 0; k < 4; ++k)
            (values_[size_t(c[k])] > 0 ? inside[ni++] : outside[no++]) = c[k];
        if (ni == 0 || ni == 4)
            return;
        if (ni == 1)
            triangle(crossing(inside[0], outside[0]), crossing(inside[0], outside[1]), crossing(inside[0], outside[2]));
        else if (ni == 3)
            triangle(crossing(outside[0], inside[0]), crossing(outside[0], inside[1]), crossing(outside[0], inside[2]));
        else {
            uint32_t p = crossing(inside[0], outside[0]), q = crossing(inside[0], outside[1]);
            uint32_t r = crossing(inside[1], outside[1]), s = crossing(inside[1], outside[0]);
            triangle(p, q, r);
            triangle(p, r, s);
        }
    }

    const std::vector<Blob>& blobs_;
    float threshold_, extent_;
    int cells_;
    PolyMesh& mesh_;
    uint16_t tag_;
    std::vector<float> values_;
    std::map<std::pair<int, int>, uint32_t> points_;
};

} // namespace

PolyMesh metaballSurface(const std::vector<Blob>& blobs, float threshold, float extent, int cells, const std::string& tag)
{
    PolyMesh mesh;
    uint16_t id = mesh.tag(tag);
    Mesher(blobs, threshold, extent, cells, mesh, id).run();
    return mesh;
}

} // namespace assetgen
