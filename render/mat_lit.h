#pragma once
#include "render/material.h"

namespace hlv {

// Fixed-function lighting with the part's own normals (or the current
// normal when the part has none). The layer enables the lights.
// Leaves lighting off, GL_NORMALIZE on and the normal and vertex arrays off.
class Mat_Lit : public Material {
public:
    void render(const Camera* camera, const MeshPart* part) override;

    float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;  // 0..1, sent to OpenGL as 0..128
};

} // namespace hlv
