#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "expect_vector.h"
#include "math/camera.h"
#include "persist/pstream.h"

namespace {
// At (0,0,10) looking at the origin; at the origin's distance the view is
// 20 wide and 20 high.
Camera testCamera() { return Camera({0, 0, 10}, {0, 0, 0}, {0, 1, 0}, 1, 100, 1, 1); }

BoundingBox box(Vector3f min, Vector3f max)
{
    BoundingBox b;
    b.extend(min);
    b.extend(max);
    return b;
}
} // namespace

TEST(Camera, Matrices)
{
    Camera camera = testCamera();
    expectNear(camera.viewMatrix().transformPoint({0, 0, 0}), {0, 0, -10});
    expectNear(camera.viewMatrix().transformPoint({1, 0, 0}), {-1, 0, -10});  // X is mirrored

    // glFrustum's symmetric matrix, width and height kept apart.
    Camera wide({0, 0, 0}, {0, 0, -1}, {0, 1, 0}, 1, 100, 2, 1);
    const float* p = wide.projectionMatrix().data();
    EXPECT_FLOAT_EQ(p[0], 0.5f);
    EXPECT_FLOAT_EQ(p[5], 1.0f);
    EXPECT_FLOAT_EQ(p[10], -101.0f / 99);
    EXPECT_FLOAT_EQ(p[11], -1.0f);
    EXPECT_FLOAT_EQ(p[14], -200.0f / 99);

    // Setters and copies recompute.
    camera.setEye({0, 0, 20});
    expectNear(Camera(camera).viewMatrix().transformPoint({0, 0, 0}), {0, 0, -20});
    camera.setUp({0, -1, 0});
    expectNear(camera.viewMatrix().transformPoint({0, 1, 0}), {0, -1, -20});

    // Placing all three at once is the three setters in a row.
    camera.place({5, 0, 0}, {0, 0, 0}, {0, 1, 0});
    expectNear(camera.viewMatrix().transformPoint({0, 0, 0}), {0, 0, -5});
    expectNear(camera.viewMatrix().transformPoint({0, 0, 1}), {1, 0, -5});
    Camera stepwise = testCamera();
    stepwise.setEye({5, 0, 0});
    stepwise.setTarget({0, 0, 0});
    stepwise.setUp({0, 1, 0});
    EXPECT_EQ(std::memcmp(stepwise.viewMatrix().data(), camera.viewMatrix().data(), 16 * sizeof(float)), 0);
    EXPECT_EQ(stepwise.clipVolume().planeCount(), camera.clipVolume().planeCount());
    for (int i = 0; i < camera.clipVolume().planeCount(); ++i)
        expectNear(stepwise.clipVolume().plane(i).normal, camera.clipVolume().plane(i).normal);
}

TEST(Camera, StoredForm)
{
    Camera camera({1, 2, 3}, {4, 5, 6}, {0, 1, 0}, 0.5f, 300, 1.5f, 1.125f);
    memory_pstream s;
    camera.serialize(s, true);
    ASSERT_EQ(s.bytes().size(), 13u * 4);
    float last[2];
    std::memcpy(last, &s.bytes()[11 * 4], sizeof last);
    EXPECT_EQ(last[0], 1.5f);  // half-width before half-height
    EXPECT_EQ(last[1], 1.125f);

    Camera back;
    back.serialize(s, false);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(back.viewMatrix().m[i], camera.viewMatrix().m[i]);
    EXPECT_EQ(back.clipVolume().planeCount(), 6);
}

TEST(Camera, ClipVolumePlanesAndPoints)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    ASSERT_EQ(volume.planeCount(), 6);
    // Near, far, then the four sides, every normal facing inwards.
    const float h = std::sqrt(0.5f);
    const Vector3f normals[6] = {{0, 0, -1}, {0, 0, 1}, {h, 0, -h}, {-h, 0, -h}, {0, -h, -h}, {0, h, -h}};
    for (int i = 0; i < 6; ++i)
        expectNear(volume.plane(i).normal, normals[i]);

    for (Vector3f inside : {Vector3f(0, 0, 0), Vector3f(0.5f, -0.5f, 9), Vector3f(0, 0, -90), Vector3f(9.9f, 0, 0)})
        EXPECT_TRUE(volume.ContainsPoint(inside));  // (0.5,-0.5,9) is on the near plane
    for (Vector3f outside : {Vector3f(0, 0, 11), Vector3f(0, 0, -91), Vector3f(0, 10.1f, 0)})
        EXPECT_TRUE(volume.IsPointOutside(outside));
    EXPECT_TRUE(volume.ContainsAllPoints({}));
    EXPECT_FALSE(volume.ContainsAllPoints({{0, 0, 0}, {0, 0, 11}}));
}

TEST(Camera, ClipVolumeBoxes)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    EXPECT_FALSE(volume.IsBoxOutside(box({-1, -1, 8}, {1, 1, 10})));  // straddles the near plane
    EXPECT_TRUE(volume.IsBoxOutside(box({-1, -1, 11}, {1, 1, 12})));  // behind the eye
    EXPECT_TRUE(volume.IsBoxOutside(box({20, -1, -1}, {30, 1, 1})));

    // A cube of side 2 turned 45 degrees about Z: at x = 12.5 its nearest
    // edge misses the side plane x + z = 10; at 12.4 it reaches in.
    BoundingBox cube = box({-1, -1, -1}, {1, 1, 1});
    Matrix44 turned = Matrix44::rotationZ(45);
    EXPECT_TRUE(volume.IsOrientedBoxOutside(OrientedBox(cube, Matrix44::translation(12.5f, 0, 0) * turned)));
    EXPECT_FALSE(volume.IsOrientedBoxOutside(OrientedBox(cube, Matrix44::translation(12.4f, 0, 0) * turned)));
}

TEST(Camera, ArePointsOutsideIsConservative)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    // Around the frustum, none inside, yet every plane has one in front.
    std::vector<Vector3f> around{{100, 0, 0}, {-100, 0, 0}, {0, 100, 0}, {0, -100, 0}};
    EXPECT_FALSE(volume.ArePointsOutside(around));
    EXPECT_FALSE(volume.ContainsPoint(around[0]));

    std::vector<Vector3f> behind{{0, 0, 11}, {5, 5, 12}};
    EXPECT_TRUE(volume.ArePointsOutside(behind));
    EXPECT_TRUE(volume.ArePointsOutside(behind.data(), 0));
    EXPECT_FALSE(ConvexVolume().ArePointsOutside(behind));
}

TEST(Camera, NearestIntersection)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    Vector3f eye{0, 0, 10}, ahead{0, 0, -1};
    EXPECT_DOUBLE_EQ(volume.NearestIntersection(eye, ahead, 0b11), 1.0);  // near before far
    EXPECT_DOUBLE_EQ(volume.NearestIntersection(eye, ahead, 0b10), 100.0);
    // Side plane 3 (x + z = 10) from the origin.
    EXPECT_NEAR(volume.NearestIntersection({0, 0, 0}, {1, 0, 0}, 0b1000), 10.0, 1e-5);

    auto throwsNoIntersection = [&](Vector3f direction, unsigned int mask) {
        try {
            volume.NearestIntersection(eye, direction, mask);
        } catch (decltype(ConvexVolume::no_intersection) error) {
            return error == 0;
        }
        return false;
    };
    EXPECT_TRUE(throwsNoIntersection(ahead, 0));
    EXPECT_TRUE(throwsNoIntersection({1, 0, 0}, 0b11));  // parallel to near and far
    EXPECT_TRUE(throwsNoIntersection(ahead, 1u << 10));  // no such plane
}

TEST(ConvexVolume, AddAndClear)
{
    ConvexVolume volume;
    Plane3d floor({0, 0, 2}, {0, 0, 1});
    volume.AddPlane(floor);
    volume.AddPlane(floor);
    ASSERT_EQ(volume.planeCount(), 2);
    EXPECT_EQ(volume.plane(1).normal, Vector3f(0, 0, 1));  // the copy is normalised
    EXPECT_EQ(volume.plane(1).d, -1);
    EXPECT_TRUE(volume.IsPointOutside({0, 0, 0}));

    volume.Clear();
    EXPECT_TRUE(volume.ContainsPoint({0, 0, -1e9f}));

    for (int i = 0; i < 40; ++i)
        volume.AddPlane(floor);
    EXPECT_EQ(volume.planeCount(), ConvexVolume::kMaxPlanes);
}

TEST(OrientedBox, PlacementAndHull)
{
    BoundingBox b = box({-1, -2, -3}, {1, 2, 5});
    OrientedBox placed(b, Matrix44::translation(10, 0, 0) * Matrix44::scale(2, 2, 2));
    EXPECT_EQ(placed.center, Vector3f(10, 0, 2));
    EXPECT_EQ(placed.axes[1], Vector3f(0, 2, 0));  // not normalised
    BoundingBox hull = placed.hull();
    EXPECT_EQ(hull.min, Vector3f(8, -4, -6));
    EXPECT_EQ(hull.max, Vector3f(12, 4, 10));

    // Turned 90 degrees about X: y and z swap.
    BoundingBox turned = OrientedBox(b, Matrix44::rotationX(90)).hull();
    expectNear(turned.min, {-1, -5, -2});
    expectNear(turned.max, {1, 3, 2});

    EXPECT_TRUE(OrientedBox(BoundingBox(), Matrix44::translation(5, 5, 5)).hull().empty);
}
