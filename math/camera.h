#pragma once
#include "math/convex_volume.h"
#include "math/matrix44.h"
#include "math/vector3.h"
#include "persist/persistent.h"

// An eye, a target, an up vector and a symmetric frustum, turned into a view
// matrix, a projection matrix and a clip volume of six inward-facing planes.
// Stored inside camera nodes, so it has a class name but no factory.
class Camera : public persistent {
public:
    static constexpr const char* kClassName = "class Camera";

    Camera();  // identity matrices, empty clip volume
    Camera(const Vector3f& eye, const Vector3f& target, const Vector3f& up, float near, float far, float halfWidth,
           float halfHeight);
    Camera(const Camera& other);
    Camera& operator=(const Camera& other);
    ~Camera() override = default;

    // Eye, target, up (three floats each), near, far, half-width,
    // half-height; reading recomputes the camera.
    void serialize(pstream& stream, bool write) override;
    const char* class_name() const override { return kClassName; }

    // Each setter recomputes the matrices and the clip volume.
    void setEye(const Vector3f& eye);
    void setTarget(const Vector3f& target);
    void setUp(const Vector3f& up);
    // Eye, target and up at once: the same camera as the three setters in a
    // row, recomputed once.
    void place(const Vector3f& eye, const Vector3f& target, const Vector3f& up);
    void setNear(float near);
    void setFar(float far);
    void setHalfHeight(float halfHeight);
    void setHalfWidth(float halfWidth);

    const Matrix44& viewMatrix() const { return view_; }
    const Matrix44& projectionMatrix() const { return projection_; }
    const ClipVolume& clipVolume() const { return clipVolume_; }
    const Vector3f& eye() const { return eye_; }
    const Vector3f& target() const { return target_; }
    const Vector3f& up() const { return up_; }
    float nearDistance() const { return near_; }
    float farDistance() const { return far_; }
    float halfWidth() const { return halfWidth_; }
    float halfHeight() const { return halfHeight_; }
    const Vector3f& forward() const { return forward_; }
    const Vector3f& trueUp() const { return trueUp_; }
    const Vector3f& side() const { return side_; }

private:
    void update();

    Vector3f eye_;
    Vector3f target_;
    Vector3f up_;
    float near_ = 0;
    float far_ = 0;
    float halfHeight_ = 0;
    float halfWidth_ = 0;
    Matrix44 view_;
    Matrix44 projection_;
    Vector3f forward_;
    Vector3f trueUp_;
    Vector3f side_;
    ClipVolume clipVolume_;
};
