#pragma once
// A node that moves its subtree: rotation, scale and position each come from
// a keyframe handler evaluated at the scene time.

#include "math/vector3.h"
#include "scene/scene_node.h"

class TransformNode : public SceneNode {
public:
    // Turns a time into a vector; owned by its transform node.
    class KeyframeHandler : public persistent {
    public:
        ~KeyframeHandler() override = default;
        virtual Vector3f evaluate(Vector3f& output, float time) const = 0;
    };

    static constexpr const char* kClassName = "class TransformNode";

    // Constant handlers of (0,0,0), (1,1,1) and (0,0,0): no motion.
    TransformNode();
    ~TransformNode() override;

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    bool compute_world(float time, const Matrix44& parentWorld, Matrix44& world) override;
    void draw_self(const Camera&) override {}

    // Each setter takes ownership and deletes the handler it replaces.
    void set_rotation(KeyframeHandler* handler);
    void set_scale(KeyframeHandler* handler);
    void set_position(KeyframeHandler* handler);
    void set_pivot(const Vector3f& pivot);

    const KeyframeHandler& rotation() const { return *rotation_; }
    const KeyframeHandler& scale() const { return *scale_; }
    const KeyframeHandler& position() const { return *position_; }
    const Vector3f& pivot() const { return pivot_; }
    bool has_pivot() const { return has_pivot_; }

    // 0 and 1 rotate Y, then X, then Z; any other order does not rotate.
    int rotation_order = 0;

private:
    KeyframeHandler* rotation_;
    KeyframeHandler* scale_;
    KeyframeHandler* position_;
    Vector3f pivot_;
    bool has_pivot_ = false;
};
