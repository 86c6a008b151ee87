#include "math/convex_volume.h"

#include <cmath>

#include "log/logger.h"

void ConvexVolume::AddPlane(const Plane3d& plane)
{
    if (count_ == kMaxPlanes) {
        hlv::log("ConvexVolume: more than %d planes; the extra plane is ignored\n", kMaxPlanes);
        return;
    }
    Plane3d copy = plane;
    copy.normalise();
    planes_[count_++] = copy;
}

void ConvexVolume::Clear() { count_ = 0; }

bool ConvexVolume::ContainsPoint(const Vector3f& point) const
{
    for (int i = 0; i < count_; ++i)
        if (planes_[i].signedValue(point) < 0)
            return false;
    return true;
}

bool ConvexVolume::IsPointOutside(const Vector3f& point) const { return !ContainsPoint(point); }

bool ConvexVolume::ContainsAllPoints(const std::vector<Vector3f>& points) const
{
    for (const Vector3f& p : points)
        if (!ContainsPoint(p))
            return false;
    return true;
}

bool ConvexVolume::IsBoxOutside(const BoundingBox& box) const
{
    Vector3f c = box.center(), h = box.halfSize();
    for (int i = 0; i < count_; ++i) {
        const Vector3f& n = planes_[i].normal;
        float reach = std::fabs(n.x) * h.x + std::fabs(n.y) * h.y + std::fabs(n.z) * h.z;
        if (planes_[i].signedValue(c) < -reach)
            return true;
    }
    return false;
}

bool ConvexVolume::IsOrientedBoxOutside(const OrientedBox& box) const
{
    const float e[3] = {box.halfExtents.x, box.halfExtents.y, box.halfExtents.z};
    for (int i = 0; i < count_; ++i) {
        const Vector3f& n = planes_[i].normal;
        float reach = 0;
        for (int a = 0; a < 3; ++a)
            reach += std::fabs(e[a] * dot(box.axes[a], n));
        if (planes_[i].signedValue(box.center) < -reach)
            return true;
    }
    return false;
}

bool ConvexVolume::ArePointsOutside(const Vector3f* points, size_t count) const
{
    for (int i = 0; i < count_; ++i) {
        bool anyInFront = false;
        for (size_t k = 0; k < count && !anyInFront; ++k)
            anyInFront = planes_[i].signedValue(points[k]) > 0;
        if (!anyInFront)
            return true;
    }
    return false;
}

bool ConvexVolume::ArePointsOutside(const std::vector<Vector3f>& points) const
{
    return ArePointsOutside(points.data(), points.size());
}

double ConvexVolume::NearestIntersection(const Vector3f& origin, const Vector3f& direction, unsigned int mask) const
{
    bool found = false;
    double nearest = 0;
    // Bits past the planes in use select nothing.
    for (int i = 0; i < count_ && mask != 0; ++i, mask >>= 1) {
        if (!(mask & 1))
            continue;
        double t;
        try {
            t = planes_[i].lineParameter(origin, direction);
        } catch (decltype(Plane3d::parallel_line)) {
            continue;
        }
        if (!found || (t > 0 && t < nearest))
            nearest = t;
        found = true;
    }
    if (!found)
        throw no_intersection;
    return nearest;
}
