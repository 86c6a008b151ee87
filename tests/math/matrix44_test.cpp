#include <gtest/gtest.h>

#include "math/matrix44.h"
#include "expect_vector.h"

TEST(Matrix44, RotationDirections)
{
    expectNear(Matrix44::rotationX(90).transformPoint({0, 1, 0}), {0, 0, 1});
    expectNear(Matrix44::rotationY(90).transformPoint({1, 0, 0}), {0, 0, 1});
    expectNear(Matrix44::rotationZ(90).transformPoint({1, 0, 0}), {0, -1, 0});
    // The axis is normalised first.
    expectNear(Matrix44::rotationAxis(90, {0, 0, 2}).transformPoint({1, 0, 0}), {0, 1, 0});
}

TEST(Matrix44, LayoutAndProducts)
{
    Matrix44 t = Matrix44::translation(1, 2, 3);
    EXPECT_EQ(t.m[12], 1);
    EXPECT_EQ(t.m[13], 2);
    EXPECT_EQ(t.m[14], 3);

    const float rows[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    Matrix44 r = Matrix44::fromRows(rows);
    EXPECT_EQ(r.m[1], 5);   // row 1, column 0
    EXPECT_EQ(r.m[4], 2);   // row 0, column 1

    // A * B applies B first.
    Matrix44 ab = Matrix44::translation(1, 0, 0) * Matrix44::scale(2, 2, 2);
    expectNear(ab.transformPoint({1, 1, 1}), {3, 2, 2});
    Matrix44 self = ab;
    self.set(self.m);
    expectNear(self.transformPoint({1, 1, 1}), {3, 2, 2});
}
