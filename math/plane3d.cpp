#include "math/plane3d.h"

#include <cmath>

Plane3d::Plane3d(const Vector3f& normal_, const Vector3f& point_)
    : hasPoint(1), point(point_), normal(normal_), d(-dot(normal_, point_))
{
}

Plane3d::Plane3d(const Vector3f& p1, const Vector3f& p2, const Vector3f& p3)
    : hasPoint(1), point(p2), normal(cross(p2 - p1, p3 - p1))
{
    d = -dot(normal, p1);
}

Plane3d::Plane3d(float a, float b, float c, float d_) : normal(a, b, c), d(d_)
{
    float length = normal.length();
    if (length != 0) {
        normal = normal / length;
        d /= length;
    }
}

void Plane3d::normalise()
{
    // A plane given by coefficients has no stored point; the worked-out one
    // lies on the same plane, whatever the normal's length.
    Vector3f p = pointOnPlane();
    normal = normalize(normal);
    d = -dot(normal, p);
}

const Vector3f& Plane3d::pointOnPlane()
{
    if (hasPoint)
        return point;
    float a = normal.x, b = normal.y, c = normal.z;
    if (a == 0 && b == 0)
        point.set(0, 0, -d / c);
    else if (b == 0 && c == 0)
        point.set(-d / a, 0, 0);
    else if (c != 0 || a != 0)
        point = normal * -d;  // the foot of the perpendicular for a unit normal
    else
        point.set(0, -d / b, 0);
    hasPoint = 1;
    return point;
}

float Plane3d::lineParameter(const Vector3f& origin, const Vector3f& direction) const
{
    float along = dot(normal, direction);
    if (along == 0)
        throw parallel_line;
    return -(dot(normal, origin) + d) / along;
}

Vector3f Plane3d::intersectLine(const Vector3f& origin, const Vector3f& direction) const
{
    return origin + direction * lineParameter(origin, direction);
}

bool Plane3d::operator==(const Plane3d& other) const
{
    const float tolerance = 0.0001f;
    return std::fabs(normal.x - other.normal.x) <= tolerance && std::fabs(normal.y - other.normal.y) <= tolerance &&
           std::fabs(normal.z - other.normal.z) <= tolerance && std::fabs(d - other.d) <= tolerance;
}
