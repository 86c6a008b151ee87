#include "scene/shape_node.h"

#include "geometry/primitive.h"
#include "math/camera.h"
#include "persist/encoding.h"
#include "scene/scene.h"

void ShapeNode::serialize(pstream& s, bool write)
{
    SceneNode::serialize(s, write);
    unsigned int stored = static_cast<unsigned int>(primitive_index);
    io(s, write, stored);
    primitive_index = static_cast<int>(stored);
}

bool ShapeNode::compute_world(float, const Matrix44& parentWorld, Matrix44&)
{
    const Primitive* primitive = scene() ? scene()->primitive(primitive_index) : nullptr;
    own_box_ = primitive ? OrientedBox(primitive->box, parentWorld) : OrientedBox();
    return false;
}

void ShapeNode::draw_self(const Camera& camera)
{
    Primitive* primitive = scene() ? scene()->primitive(primitive_index) : nullptr;
    RenderQueue* queue = scene() ? scene()->render_queue() : nullptr;
    if (!primitive || !queue)
        return;
    const ClipVolume& clip = camera.clipVolume();
    if (!own_box_.empty && clip.IsOrientedBoxOutside(own_box_))
        return;
    for (Primitive::Part& part : primitive->parts)
        part.visible = !clip.IsOrientedBoxOutside(OrientedBox(part.box, world_));
    primitive->queue_parts(world_, *queue);
}
