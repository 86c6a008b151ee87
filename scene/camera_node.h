#pragma once
// A node that carries a camera: the stored camera is placed in the node's own
// frame, the working camera (what the scene draws through) is the same
// camera placed in the world.

#include "math/camera.h"
#include "scene/scene_node.h"

class CameraNode : public SceneNode {
public:
    static constexpr const char* kClassName = "class CameraNode";

    // Both cameras at the origin looking along +z, near 1, far 2500,
    // half-width 1.5, half-height 1.125.
    CameraNode();
    explicit CameraNode(const Camera& stored);

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    bool compute_world(float time, const Matrix44& parentWorld, Matrix44& world) override;
    void draw_self(const Camera&) override {}

    Camera& working_camera() { return working_; }
    const Camera& stored_camera() const { return stored_; }
    // The lens (near, far, half-width, half-height) takes effect when the
    // scene adopts the node; each evaluation places only eye, target and up.
    void set_stored_camera(const Camera& camera) { stored_ = camera; }
    // The stored near, far and view size become the working camera's. Once,
    // when a scene reads or is given the node (see docs/architecture.md).
    void take_stored_lens();

private:
    Camera working_;
    Camera stored_;
};
