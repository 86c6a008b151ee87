#pragma once
#include "render/material.h"

namespace hlv {

// Draws a closed mesh as a glowing translucent volume: each covered pixel
// gains the colour times ten times the thickness of the volume along its
// view ray. The thickness is gathered in the frame's destination alpha, so
// the frame needs an alpha channel that starts the frame at 0.
//
// Leaves all texture units off, blending off with GL_FUNC_ADD and
// (GL_DST_ALPHA, GL_ONE), colour and depth writes on, back-face culling, the
// stencil test off when it used it, and the colour and vertex arrays off.
class Mat_Volumetric : public Material {
public:
    void render(const Camera* camera, const MeshPart* part) override;

    float colour[3] = {1.0f, 1.0f, 1.0f};
};

} // namespace hlv
