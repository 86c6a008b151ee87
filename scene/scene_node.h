#pragma once
// A node of a scene's tree: places geometry and cameras in the world. Children
// form a singly linked list through next-sibling, newest first.

#include "math/bounding_box.h"
#include "math/matrix44.h"
#include "math/oriented_box.h"
#include "persist/persistent.h"

class Camera;
class Scene;

class SceneNode : public persistent {
public:
    SceneNode() = default;
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;
    ~SceneNode() override = default;

    // Stores the parent, next-sibling and first-child node numbers; the scene
    // turns them into nodes once every node has been read.
    void serialize(pstream& stream, bool write) override;

    // Evaluates this node and its following siblings, each with its subtree.
    virtual void update(float time, const Matrix44& parentWorld);
    // Culls and draws this node and its following siblings, each with its subtree.
    virtual void draw(const Camera& camera);
    // The node's own step: true when it has written `world`, false when the
    // world matrix is the parent's.
    virtual bool compute_world(float time, const Matrix44& parentWorld, Matrix44& world) = 0;
    virtual void draw_self(const Camera& camera) = 0;
    virtual void attach(SceneNode* parent);
    virtual void detach();
    virtual void set_scene(Scene* scene) { scene_ = scene; }

    Scene* scene() const { return scene_; }
    SceneNode* parent() const { return parent_; }
    SceneNode* first_child() const { return first_child_; }
    SceneNode* next_sibling() const { return next_sibling_; }
    const Matrix44& world() const { return world_; }
    const BoundingBox& world_box() const { return world_box_; }

    // The three links as node numbers, as read from a file; resolved by the
    // scene once all nodes exist.
    struct StoredLinks {
        unsigned int parent = 0, next_sibling = 0, first_child = 0;
    };
    const StoredLinks& stored_links() const { return stored_links_; }
    void set_links(SceneNode* parent, SceneNode* nextSibling, SceneNode* firstChild);

protected:
    Matrix44 world_;
    BoundingBox world_box_;
    OrientedBox own_box_;

private:
    Scene* scene_ = nullptr;
    SceneNode* parent_ = nullptr;
    SceneNode* first_child_ = nullptr;
    SceneNode* next_sibling_ = nullptr;
    StoredLinks stored_links_;
};
