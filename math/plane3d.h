#pragma once
#include "math/vector3.h"

// The plane a·x + b·y + c·z + d = 0. The signed value n·p + d is positive on
// the side the normal points to (the inside of a clip volume).
class Plane3d {
public:
    // Thrown by value when a line runs parallel to the plane.
    enum { parallel_line = 0 };

    Plane3d() = default;
    // Keeps the normal as given (not normalised).
    Plane3d(const Vector3f& normal, const Vector3f& point);
    // Normal (p2 - p1) x (p3 - p1), not normalised; p2 is kept as the point.
    Plane3d(const Vector3f& p1, const Vector3f& p2, const Vector3f& p3);
    // The normal (a, b, c) and d, both divided by the normal's length; no point.
    Plane3d(float a, float b, float c, float d);
    ~Plane3d() {}

    // Unit normal, with d recomputed from the plane's point.
    void normalise();
    // A point on the plane: the one given, or one worked out from the
    // coefficients (and kept) when none was given.
    const Vector3f& pointOnPlane();

    // n·p + d.
    float signedValue(const Vector3f& p) const { return dot(normal, p) + d; }
    // The parameter t of origin + t·direction on the plane; throws
    // parallel_line when n·direction is exactly 0.
    float lineParameter(const Vector3f& origin, const Vector3f& direction) const;
    Vector3f intersectLine(const Vector3f& origin, const Vector3f& direction) const;

    // Each of a, b, c and d within 0.0001.
    bool operator==(const Plane3d& other) const;
    bool operator!=(const Plane3d& other) const { return !(*this == other); }

    int hasPoint = 0;  // non-zero when `point` is valid
    Vector3f point;
    Vector3f normal;
    float d = 0;
};
