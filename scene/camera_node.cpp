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

void CameraNode::take_stored_lens()
{
    working_ = Camera(working_.eye(), working_.target(), working_.up(), stored_.nearDistance(), stored_.farDistance(),
                      stored_.halfWidth(), stored_.halfHeight());
}

bool CameraNode::compute_world(float, const Matrix44& parentWorld, Matrix44&)
{
    own_box_.empty = true;
    // Only the placement: the lens is the working camera's own, taken from
    // the stored camera once (take_stored_lens), so that a near distance
    // written by a zoom brush holds from frame to frame.
    working_.place(parentWorld.transformPoint(stored_.eye()), parentWorld.transformPoint(stored_.target()),
                   parentWorld.transformVector(stored_.trueUp()));
    return false;
}
