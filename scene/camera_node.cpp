#include "scene/camera_node.h"

namespace {
Camera default_camera()
{
    return Camera(Vector3f(0, 0, 0), Vector3f(0, 0, 1), Vector3f(0, 1, 0), 1.0f, 2500.0f, 1.5f, 1.125f);
}
} // namespace

CameraNode::CameraNode() : working_(default_camera()), stored_(default_camera()) {}

CameraNode::CameraNode(const Camera& stored) : working_(stored), stored_(stored) {}

void CameraNode::serialize(pstream& s, bool write)
{
    SceneNode::serialize(s, write);
    stored_.serialize(s, write);
}

bool CameraNode::compute_world(float, const Matrix44& parentWorld, Matrix44&)
{
    own_box_.empty = true;
    // The stored frustum comes along with the placement, so that the near
    // and far distances and the view size kept in the file take effect.
    working_ = Camera(parentWorld.transformPoint(stored_.eye()), parentWorld.transformPoint(stored_.target()),
                      parentWorld.transformVector(stored_.trueUp()), stored_.nearDistance(), stored_.farDistance(),
                      stored_.halfWidth(), stored_.halfHeight());
    return false;
}
