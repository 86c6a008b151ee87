#pragma once
#include <gtest/gtest.h>

#include "math/vector3.h"

// Component-wise comparison of two vectors within a tolerance.
inline void expectNear(const Vector3f& a, const Vector3f& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}
