#pragma once
// The state every frame of the show starts from (cull back faces, clockwise
// front faces, GL_LEQUAL depth test), cleared to one colour, depth far and
// stencil 0, for tests that draw materials and mesh layers.

#include "render/gl_api.h"

inline void beginShowFrame(float r, float g, float b)
{
    glViewport(0, 0, 800, 600);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(r, g, b, 0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
