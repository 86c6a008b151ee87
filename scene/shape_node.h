#pragma once
// A node that places one of its scene's primitives.

#include "scene/scene_node.h"

class ShapeNode : public SceneNode {
public:
    static constexpr const char* kClassName = "class ShapeNode";

    ShapeNode() = default;
    explicit ShapeNode(int primitiveIndex) : primitive_index(primitiveIndex) {}

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    bool compute_world(float time, const Matrix44& parentWorld, Matrix44& world) override;
    // Culls every part of the primitive and queues the visible ones.
    void draw_self(const Camera& camera) override;

    int primitive_index = -1;  // into the scene's primitives; -1 for none
};
