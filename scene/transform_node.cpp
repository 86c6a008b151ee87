#include "scene/transform_node.h"

#include "persist/encoding.h"
#include "scene/keyframe_handlers.h"

TransformNode::TransformNode()
    : rotation_(new ConstantKeyframeHandler(Vector3f(0, 0, 0))),
      scale_(new ConstantKeyframeHandler(Vector3f(1, 1, 1))),
      position_(new ConstantKeyframeHandler(Vector3f(0, 0, 0)))
{
}

TransformNode::~TransformNode()
{
    delete rotation_;
    delete scale_;
    delete position_;
}

namespace {

void replace(TransformNode::KeyframeHandler*& slot, TransformNode::KeyframeHandler* handler)
{
    if (handler == slot)
        return;
    delete slot;
    slot = handler;
}

// A nested handler frame; the handler in `slot` is replaced only once the
// new one has been read whole.
void io_handler(pstream& s, bool write, TransformNode::KeyframeHandler*& slot)
{
    TransformNode::KeyframeHandler* handler = slot;
    io_object(s, write, handler);
    replace(slot, handler);
}

} // namespace

void TransformNode::set_rotation(KeyframeHandler* handler) { replace(rotation_, handler); }
void TransformNode::set_scale(KeyframeHandler* handler) { replace(scale_, handler); }
void TransformNode::set_position(KeyframeHandler* handler) { replace(position_, handler); }

void TransformNode::set_pivot(const Vector3f& pivot)
{
    pivot_ = pivot;
    has_pivot_ = true;
}

void TransformNode::serialize(pstream& s, bool write)
{
    SceneNode::serialize(s, write);
    io(s, write, has_pivot_);
    io(s, write, pivot_);
    unsigned int order = static_cast<unsigned int>(rotation_order);
    io(s, write, order);
    rotation_order = static_cast<int>(order);
    io_handler(s, write, rotation_);
    io_handler(s, write, scale_);
    io_handler(s, write, position_);
}

bool TransformNode::compute_world(float time, const Matrix44& parentWorld, Matrix44& world)
{
    own_box_.empty = true;
    Vector3f r, s, p;
    rotation_->evaluate(r, time);
    scale_->evaluate(s, time);
    position_->evaluate(p, time);

    Matrix44 local = Matrix44::translation(p);
    if (rotation_order == 0 || rotation_order == 1)
        local *= Matrix44::rotationY(r.y) * Matrix44::rotationX(r.x) * Matrix44::rotationZ(r.z);
    local *= Matrix44::scale(s);
    if (has_pivot_)
        local *= Matrix44::translation(-pivot_);
    world = parentWorld * local;
    return true;
}
