#include "scene/scene_node.h"

#include "math/camera.h"
#include "persist/encoding.h"
#include "scene/scene.h"

void SceneNode::serialize(pstream& s, bool write)
{
    if (write) {
        for (SceneNode* link : {parent_, next_sibling_, first_child_})
            s.write(static_cast<unsigned int>(scene_ ? scene_->node_number(link) : 0));
        return;
    }
    io(s, false, stored_links_.parent);
    io(s, false, stored_links_.next_sibling);
    io(s, false, stored_links_.first_child);
}

void SceneNode::set_links(SceneNode* parent, SceneNode* nextSibling, SceneNode* firstChild)
{
    parent_ = parent;
    next_sibling_ = nextSibling;
    first_child_ = firstChild;
}

void SceneNode::update(float time, const Matrix44& parentWorld)
{
    for (SceneNode* node = this; node; node = node->next_sibling_) {
        if (!node->compute_world(time, parentWorld, node->world_))
            node->world_ = parentWorld;
        node->world_box_ = node->own_box_.hull();
        if (!node->first_child_)
            continue;
        node->first_child_->update(time, node->world_);
        for (SceneNode* child = node->first_child_; child; child = child->next_sibling_)
            node->world_box_.merge(child->world_box_);
    }
}

void SceneNode::draw(const Camera& camera)
{
    for (SceneNode* node = this; node; node = node->next_sibling_) {
        // A node with nothing below it is never culled: its box says nothing.
        if (!node->world_box_.empty && camera.clipVolume().IsBoxOutside(node->world_box_))
            continue;
        node->draw_self(camera);
        if (node->first_child_)
            node->first_child_->draw(camera);
    }
}

void SceneNode::attach(SceneNode* parent)
{
    parent_ = parent;
    next_sibling_ = parent->first_child_;
    parent->first_child_ = this;
    parent->world_box_.merge(world_box_);
}

void SceneNode::detach()
{
    if (parent_) {
        for (SceneNode** link = &parent_->first_child_; *link; link = &(*link)->next_sibling_) {
            if (*link == this) {
                *link = next_sibling_;
                break;
            }
        }
    }
    parent_ = nullptr;
    next_sibling_ = nullptr;
}
