#pragma once
#include <algorithm>

#include "math/vector3.h"

// An axis-aligned box with an empty flag. A new box is empty; extending an
// empty box by a point makes it that point.
struct BoundingBox {
    Vector3f min;
    Vector3f max;
    bool empty = true;

    void extend(const Vector3f& p)
    {
        if (empty) {
            min = max = p;
            empty = false;
            return;
        }
        min.set(std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z));
        max.set(std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z));
    }
    void merge(const BoundingBox& other)
    {
        if (!other.empty) {
            extend(other.min);
            extend(other.max);
        }
    }
    Vector3f center() const { return (min + max) * 0.5f; }
    Vector3f halfSize() const { return (max - min) * 0.5f; }
};
