#pragma once
#include "math/bounding_box.h"
#include "math/matrix44.h"

// A box placed by a matrix, for culling: three axes (not normalised), the
// half extents along them and the centre.
struct OrientedBox {
    Vector3f axes[3];
    Vector3f halfExtents;
    Vector3f center;
    bool empty = true;

    OrientedBox() = default;
    // The box's centre moved by the matrix, its half size, and the unit axes
    // turned by the matrix's 3x3 part. An empty box stays empty.
    OrientedBox(const BoundingBox& box, const Matrix44& matrix);

    // The axis-aligned box around the eight corners (empty if this is).
    BoundingBox hull() const;
};
