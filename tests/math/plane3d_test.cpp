#include <gtest/gtest.h>

#include "math/plane3d.h"
#include "expect_vector.h"

TEST(Plane3d, Constructors)
{
    Plane3d three({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    expectNear(three.normal, {0, 0, 1});
    EXPECT_EQ(three.d, 0);
    EXPECT_TRUE(three.hasPoint);
    expectNear(three.point, {1, 0, 0});

    // The normal is kept as given until normalised.
    Plane3d given({0, 0, 2}, {0, 0, 3});
    expectNear(given.normal, {0, 0, 2});
    EXPECT_EQ(given.d, -6);
    given.normalise();
    expectNear(given.normal, {0, 0, 1});
    EXPECT_EQ(given.d, -3);

    Plane3d coefficients(0, 0, 2, 4);
    expectNear(coefficients.normal, {0, 0, 1});
    EXPECT_EQ(coefficients.d, 2);
    EXPECT_FALSE(coefficients.hasPoint);
    EXPECT_FALSE(Plane3d().hasPoint);
    // Normalising a plane that never had a point keeps it where it is.
    coefficients.normalise();
    EXPECT_EQ(coefficients.d, 2);
}

TEST(Plane3d, PointOnPlaneFromCoefficients)
{
    Plane3d onZ(0, 0, 2, 4);
    expectNear(onZ.pointOnPlane(), {0, 0, -2});
    EXPECT_TRUE(onZ.hasPoint);
    Plane3d onX(2, 0, 0, 4);
    expectNear(onX.pointOnPlane(), {-2, 0, 0});
    Plane3d onY(0, 2, 0, 4);
    expectNear(onY.pointOnPlane(), {0, -2, 0});
    Plane3d slanted(0, 3, 4, 5);
    expectNear(slanted.pointOnPlane(), {0, -0.6f, -0.8f});
    EXPECT_NEAR(slanted.signedValue(slanted.pointOnPlane()), 0, 1e-6f);
}

TEST(Plane3d, EqualityWithinOneTenThousandth)
{
    Plane3d base(0, 0, 1, 0);
    EXPECT_TRUE(base == Plane3d(0, 0, 1, 0.0001f));
    EXPECT_FALSE(base == Plane3d(0, 0, 1, 0.00011f));
    Plane3d tilted(0, 0, 1, 0);
    tilted.normal.x = 0.0001f;
    EXPECT_TRUE(base == tilted);
    tilted.normal.x = 0.00011f;
    EXPECT_TRUE(base != tilted);
}

TEST(Plane3d, LineIntersection)
{
    Plane3d ground({0, 0, 1}, {0, 0, 0});
    EXPECT_EQ(ground.lineParameter({0, 0, 5}, {0, 0, -2}), 2.5f);
    expectNear(ground.intersectLine({1, 2, 5}, {0, 1, -1}), {1, 7, 0});

    // Parallel lines throw, even one lying in the plane.
    for (Vector3f origin : {Vector3f(0, 0, 5), Vector3f(0, 0, 0)}) {
        try {
            ground.intersectLine(origin, {1, 0, 0});
            ADD_FAILURE() << "a parallel line gave a point";
        } catch (decltype(Plane3d::parallel_line) error) {
            EXPECT_EQ(error, 0);
        }
    }
}
