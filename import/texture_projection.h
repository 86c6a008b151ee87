#pragma once
#include "import/lw_scene.h"
#include "math/vector3.h"

namespace LW {

struct TexCoord {
    float u = 0, v = 0;
};

// (u, v) of point p by a block's planar, cylindrical, spherical or cubic
// projection; the cubic one picks its axis from the face normal.
TexCoord projectPoint(const LWTextureBlock& block, const Vector3f& p, const Vector3f& faceNormal);

} // namespace LW
