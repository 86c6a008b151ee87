#include "math/oriented_box.h"

#include <cmath>

OrientedBox::OrientedBox(const BoundingBox& box, const Matrix44& matrix)
{
    // An empty box has no corners to move; placing its zero corners would
    // put a point at the matrix's origin.
    if (box.empty)
        return;
    axes[0] = matrix.transformVector({1, 0, 0});
    axes[1] = matrix.transformVector({0, 1, 0});
    axes[2] = matrix.transformVector({0, 0, 1});
    halfExtents = box.halfSize();
    center = matrix.transformPoint(box.center());
    empty = false;
}

BoundingBox OrientedBox::hull() const
{
    BoundingBox box;
    if (empty)
        return box;
    // The farthest corner along each world axis is the sum of the three
    // half-axis reaches.
    const float e[3] = {halfExtents.x, halfExtents.y, halfExtents.z};
    Vector3f reach;
    for (int i = 0; i < 3; ++i) {
        reach.x += std::fabs(e[i] * axes[i].x);
        reach.y += std::fabs(e[i] * axes[i].y);
        reach.z += std::fabs(e[i] * axes[i].z);
    }
    box.extend(center - reach);
    box.extend(center + reach);
    return box;
}
