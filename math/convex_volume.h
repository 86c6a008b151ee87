#pragma once
#include <cstddef>
#include <vector>

#include "math/bounding_box.h"
#include "math/oriented_box.h"
#include "math/plane3d.h"

// Up to 32 planes whose normals face inwards, with containment and rejection
// tests. A volume without planes contains everything.
class ConvexVolume {
public:
    static constexpr int kMaxPlanes = 32;
    // Thrown by value when NearestIntersection finds no plane the line crosses.
    enum { no_intersection = 0 };

    virtual ~ConvexVolume() = default;

    // Appends a normalised copy; a plane beyond the 32nd is refused.
    virtual void AddPlane(const Plane3d& plane);
    virtual void Clear();
    virtual bool ContainsAllPoints(const std::vector<Vector3f>& points) const;
    // Points on a plane count as inside.
    virtual bool ContainsPoint(const Vector3f& point) const;
    virtual bool IsOrientedBoxOutside(const OrientedBox& box) const;
    virtual bool IsBoxOutside(const BoundingBox& box) const;
    // True when some plane has every point on or behind it. Conservative: a
    // set spread around the volume is not reported outside.
    virtual bool ArePointsOutside(const Vector3f* points, size_t count) const;
    virtual bool ArePointsOutside(const std::vector<Vector3f>& points) const;
    virtual bool IsPointOutside(const Vector3f& point) const;
    // A line parameter over the planes that `mask` selects (bit i for plane
    // i): the first one found, replaced by each later one that is positive
    // and smaller. Throws no_intersection when no selected plane crosses the
    // line.
    virtual double NearestIntersection(const Vector3f& origin, const Vector3f& direction, unsigned int mask) const;

    int planeCount() const { return count_; }
    const Plane3d& plane(int index) const { return planes_[index]; }

private:
    Plane3d planes_[kMaxPlanes];
    int count_ = 0;
};

// The volume of a camera's view.
class ClipVolume : public ConvexVolume {
public:
    ~ClipVolume() override = default;
};
