#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/camera.h"
#include "persist/pstream.h"
#include "expect_vector.h"

namespace {
// At (0,0,10) looking at the origin; at the origin's distance the view is
// 20 wide and 20 high.
Camera testCamera() { return Camera({0, 0, 10}, {0, 0, 0}, {0, 1, 0}, 1, 100, 1, 1); }
} // namespace

TEST(Camera, MatricesAndFrame)
{
    Camera camera = testCamera();
    expectNear(camera.viewMatrix().transformPoint({0, 0, 0}), {0, 0, -10});
    expectNear(camera.viewMatrix().transformPoint({1, 0, 0}), {-1, 0, -10});  // X is mirrored
    expectNear(camera.forward(), {0, 0, -1});
    expectNear(camera.side(), {-1, 0, 0});
    expectNear(camera.trueUp(), {0, 1, 0});

    // glFrustum's symmetric matrix; width and height kept apart.
    Camera wide({0, 0, 0}, {0, 0, -1}, {0, 1, 0}, 1, 100, 2, 1);
    const float* p = wide.projectionMatrix().data();
    EXPECT_FLOAT_EQ(p[0], 0.5f);
    EXPECT_FLOAT_EQ(p[5], 1.0f);
    EXPECT_FLOAT_EQ(p[10], -101.0f / 99);
    EXPECT_FLOAT_EQ(p[11], -1.0f);
    EXPECT_FLOAT_EQ(p[14], -200.0f / 99);
    EXPECT_EQ(p[15], 0.0f);

    // Setters and copies recompute; the default camera is identity.
    Camera moved = camera;
    moved.setEye({0, 0, 20});
    expectNear(moved.viewMatrix().transformPoint({0, 0, 0}), {0, 0, -20});
    expectNear(Camera(moved).viewMatrix().transformPoint({0, 0, 0}), {0, 0, -20});
    moved.setUp({0, -1, 0});
    expectNear(moved.viewMatrix().transformPoint({0, 1, 0}), {0, -1, -20});
    Camera blank;
    EXPECT_EQ(blank.viewMatrix().m[0], 1);
    EXPECT_EQ(blank.projectionMatrix().m[15], 1);
    EXPECT_EQ(blank.clipVolume().planeCount(), 0);
}

TEST(Camera, StoredForm)
{
    Camera camera({1, 2, 3}, {4, 5, 6}, {0, 1, 0}, 0.5f, 300, 1.5f, 1.125f);
    memory_pstream s;
    camera.serialize(s, true);
    ASSERT_EQ(s.bytes().size(), 13u * 4);
    float fields[13];
    std::memcpy(fields, s.bytes().data(), sizeof fields);
    EXPECT_EQ(fields[0], 1);
    EXPECT_EQ(fields[5], 6);
    EXPECT_EQ(fields[9], 0.5f);
    EXPECT_EQ(fields[10], 300);
    EXPECT_EQ(fields[11], 1.5f);  // half-width before half-height
    EXPECT_EQ(fields[12], 1.125f);

    Camera back;
    back.serialize(s, false);
    EXPECT_EQ(back.halfWidth(), 1.5f);
    EXPECT_EQ(back.halfHeight(), 1.125f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(back.viewMatrix().m[i], camera.viewMatrix().m[i]);
    EXPECT_EQ(back.clipVolume().planeCount(), 6);
    EXPECT_STREQ(back.class_name(), "class Camera");
}

TEST(Camera, ClipVolumePlanesAndPoints)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    ASSERT_EQ(volume.planeCount(), 6);
    // Near, far, then the four sides, every normal facing inwards.
    expectNear(volume.plane(0).normal, {0, 0, -1});
    expectNear(volume.plane(1).normal, {0, 0, 1});
    const float h = std::sqrt(0.5f);
    expectNear(volume.plane(2).normal, {h, 0, -h});
    expectNear(volume.plane(3).normal, {-h, 0, -h});
    expectNear(volume.plane(4).normal, {0, -h, -h});
    expectNear(volume.plane(5).normal, {0, h, -h});

    EXPECT_TRUE(volume.ContainsPoint({0, 0, 0}));
    EXPECT_TRUE(volume.ContainsPoint({0, 0, 9}));       // on the near plane
    EXPECT_TRUE(volume.ContainsPoint({0.5f, -0.5f, 9}));
    EXPECT_TRUE(volume.ContainsPoint({0, 0, -90}));     // on the far plane
    EXPECT_TRUE(volume.ContainsPoint({9.9f, 0, 0}));
    EXPECT_TRUE(volume.IsPointOutside({0, 0, 11}));     // behind the eye
    EXPECT_TRUE(volume.IsPointOutside({0, 0, -91}));    // beyond far
    EXPECT_TRUE(volume.IsPointOutside({0, 10.1f, 0}));
    EXPECT_TRUE(volume.ContainsAllPoints({}));
    EXPECT_TRUE(volume.ContainsAllPoints({{0, 0, 0}, {1, 1, 1}}));
    EXPECT_FALSE(volume.ContainsAllPoints({{0, 0, 0}, {0, 0, 11}}));
}

TEST(Camera, ClipVolumeBoxes)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    auto box = [](Vector3f min, Vector3f max) {
        BoundingBox b;
        b.extend(min);
        b.extend(max);
        return b;
    };
    EXPECT_FALSE(volume.IsBoxOutside(box({-1, -1, 8}, {1, 1, 10})));  // straddles the near plane
    EXPECT_TRUE(volume.IsBoxOutside(box({-1, -1, 11}, {1, 1, 12})));  // behind the eye
    EXPECT_TRUE(volume.IsBoxOutside(box({-1, -1, -100}, {1, 1, -95})));
    EXPECT_TRUE(volume.IsBoxOutside(box({20, -1, -1}, {30, 1, 1})));

    // A cube of side 2 turned 45 degrees about Z: at x = 12.5 its nearest
    // edge misses the side plane x + z = 10; at 12.4 it reaches in.
    BoundingBox cube = box({-1, -1, -1}, {1, 1, 1});
    Matrix44 turned = Matrix44::rotationZ(45);
    EXPECT_TRUE(volume.IsOrientedBoxOutside(OrientedBox(cube, Matrix44::translation(12.5f, 0, 0) * turned)));
    EXPECT_FALSE(volume.IsOrientedBoxOutside(OrientedBox(cube, Matrix44::translation(12.4f, 0, 0) * turned)));
    EXPECT_FALSE(volume.IsOrientedBoxOutside(OrientedBox(cube, Matrix44())));
}

TEST(Camera, ArePointsOutsideIsConservative)
{
    Camera camera = testCamera();
    const ClipVolume& volume = camera.clipVolume();
    // Spread around the frustum: every plane has a point in front of it,
    // though none is inside.
    std::vector<Vector3f> around{{100, 0, 0}, {-100, 0, 0}, {0, 100, 0}, {0, -100, 0}};
    for (const Vector3f& p : around)
        EXPECT_TRUE(volume.IsPointOutside(p));
    EXPECT_FALSE(volume.ArePointsOutside(around));

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

    auto throwsNoIntersection = [&](Vector3f origin, Vector3f direction, unsigned int mask) {
        try {
            volume.NearestIntersection(origin, direction, mask);
        } catch (decltype(ConvexVolume::no_intersection) error) {
            return error == 0;
        }
        return false;
    };
    EXPECT_TRUE(throwsNoIntersection(eye, ahead, 0));
    EXPECT_TRUE(throwsNoIntersection(eye, {1, 0, 0}, 0b11));  // parallel to near and far
    EXPECT_TRUE(throwsNoIntersection(eye, ahead, 1u << 10));  // no such plane
    // A sideways line from the origin crosses side planes 2 (x - z = -10)
    // and 3 (x + z = 10).
    EXPECT_NEAR(volume.NearestIntersection({0, 0, 0}, {1, 0, 0}, 0b100), -10.0, 1e-5);
    EXPECT_NEAR(volume.NearestIntersection({0, 0, 0}, {1, 0, 0}, 0b1000), 10.0, 1e-5);
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
    EXPECT_EQ(floor.normal, Vector3f(0, 0, 2));            // the original is not
    EXPECT_TRUE(volume.IsPointOutside({0, 0, 0}));

    volume.Clear();
    EXPECT_EQ(volume.planeCount(), 0);
    EXPECT_TRUE(volume.ContainsPoint({0, 0, -1e9f}));

    // No more than 32 planes are kept.
    for (int i = 0; i < 40; ++i)
        volume.AddPlane(floor);
    EXPECT_EQ(volume.planeCount(), ConvexVolume::kMaxPlanes);
}

TEST(OrientedBox, PlacementAndHull)
{
    BoundingBox box;
    box.extend({-1, -2, -3});
    box.extend({1, 2, 5});
    OrientedBox placed(box, Matrix44::translation(10, 0, 0) * Matrix44::scale(2, 2, 2));
    EXPECT_FALSE(placed.empty);
    EXPECT_EQ(placed.center, Vector3f(10, 0, 2));
    EXPECT_EQ(placed.halfExtents, Vector3f(1, 2, 4));
    EXPECT_EQ(placed.axes[1], Vector3f(0, 2, 0));  // not normalised
    BoundingBox hull = placed.hull();
    EXPECT_EQ(hull.min, Vector3f(8, -4, -6));
    EXPECT_EQ(hull.max, Vector3f(12, 4, 10));

    // Turned 90 degrees about X: y and z extents swap.
    BoundingBox turned = OrientedBox(box, Matrix44::rotationX(90)).hull();
    expectNear(turned.min, {-1, -5, -2});
    expectNear(turned.max, {1, 3, 2});

    EXPECT_TRUE(OrientedBox().hull().empty);
    EXPECT_TRUE(OrientedBox(BoundingBox(), Matrix44::translation(5, 5, 5)).hull().empty);
}
