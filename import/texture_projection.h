#pragma once
#include "import/lw_scene.h"
#include "math/vector3.h"

namespace LW {

struct TexCoord {
    float u = 0, v = 0;
};

// LightWave's UVs have their origin at the bottom left of the picture, v
// running up; pictures are stored, and drawn, top row first.
inline TexCoord fromLightWaveUV(float u, float v) { return {u, 1 - v}; }

// (u, v) of point p by a block's planar, cylindrical, spherical or cubic
// projection; the cubic one picks its axis from the face normal, the front
// projection (from the camera) is drawn as planar along Z. The point is taken
// into the texture's frame: moved by the centre, turned back by the
// rotation.
TexCoord projectPoint(const LWTextureBlock& block, const Vector3f& p, const Vector3f& faceNormal);

// A cylindrical or spherical map wraps the picture around: a corner's u is
// taken to the same side of the seam as `centre` (its polygon's centre,
// projected), whole turns away; a corner on the axis (a pole) has no heading
// of its own and takes the centre's. Other projections are left as they are.
TexCoord alongPolygon(const LWTextureBlock& block, const Vector3f& corner, TexCoord uv, TexCoord centre);

} // namespace LW
