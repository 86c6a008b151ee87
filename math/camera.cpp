#include "math/camera.h"

#include "persist/encoding.h"

Camera::Camera() = default;

Camera::Camera(const Vector3f& eye, const Vector3f& target, const Vector3f& up, float near, float far, float halfWidth,
               float halfHeight)
    : eye_(eye), target_(target), up_(up), near_(near), far_(far), halfHeight_(halfHeight), halfWidth_(halfWidth)
{
    update();
}

Camera::Camera(const Camera& other) : persistent(other) { *this = other; }

Camera& Camera::operator=(const Camera& other)
{
    if (this == &other)
        return *this;
    eye_ = other.eye_;
    target_ = other.target_;
    up_ = other.up_;
    near_ = other.near_;
    far_ = other.far_;
    halfHeight_ = other.halfHeight_;
    halfWidth_ = other.halfWidth_;
    update();
    return *this;
}

void Camera::serialize(pstream& s, bool write)
{
    io(s, write, eye_);
    io(s, write, target_);
    io(s, write, up_);
    io(s, write, near_);
    io(s, write, far_);
    io(s, write, halfWidth_);
    io(s, write, halfHeight_);
    if (!write)
        update();
}

void Camera::setEye(const Vector3f& eye) { eye_ = eye; update(); }
void Camera::setTarget(const Vector3f& target) { target_ = target; update(); }
void Camera::setUp(const Vector3f& up) { up_ = up; update(); }

void Camera::place(const Vector3f& eye, const Vector3f& target, const Vector3f& up)
{
    eye_ = eye;
    target_ = target;
    up_ = up;
    update();
}
void Camera::setNear(float near) { near_ = near; update(); }
void Camera::setFar(float far) { far_ = far; update(); }
void Camera::setHalfHeight(float halfHeight) { halfHeight_ = halfHeight; update(); }
void Camera::setHalfWidth(float halfWidth) { halfWidth_ = halfWidth; update(); }

void Camera::update()
{
    forward_ = normalize(target_ - eye_);
    // up x forward (not forward x up): the camera's X axis is mirrored, which
    // the frame's clockwise front faces expect.
    side_ = normalize(cross(up_, forward_));
    trueUp_ = normalize(cross(forward_, side_));

    const float rows[16] = {side_.x,     side_.y,     side_.z,     0,
                            trueUp_.x,   trueUp_.y,   trueUp_.z,   0,
                            -forward_.x, -forward_.y, -forward_.z, 0,
                            0,           0,           0,           1};
    view_ = Matrix44::fromRows(rows) * Matrix44::translation(-eye_);

    float projection[16] = {};
    projection[0] = near_ / halfWidth_;
    projection[5] = near_ / halfHeight_;
    projection[10] = -(far_ + near_) / (far_ - near_);
    projection[11] = -1;
    projection[14] = -2 * far_ * near_ / (far_ - near_);
    projection_.set(projection);

    Vector3f nearCenter = eye_ + forward_ * near_;
    Vector3f farCenter = eye_ + forward_ * far_;
    Vector3f s = side_ * halfWidth_;
    Vector3f v = trueUp_ * halfHeight_;
    Vector3f c1 = nearCenter + s + v;
    Vector3f c2 = nearCenter + s - v;
    Vector3f c3 = nearCenter - s - v;
    Vector3f c4 = nearCenter - s + v;

    clipVolume_.Clear();
    clipVolume_.AddPlane(Plane3d(forward_, nearCenter));
    clipVolume_.AddPlane(Plane3d(-forward_, farCenter));
    clipVolume_.AddPlane(Plane3d(eye_, c2, c1));
    clipVolume_.AddPlane(Plane3d(eye_, c4, c3));
    clipVolume_.AddPlane(Plane3d(eye_, c1, c4));
    clipVolume_.AddPlane(Plane3d(eye_, c3, c2));
}
