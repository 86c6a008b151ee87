#pragma once
// LightWave's left-handed axes into glTF's right-handed ones: Z negated.

#include "math/matrix44.h"
#include "math/vector3.h"

namespace gltf_export {

inline void pointOf(const Vector3f& p, float* out)
{
    out[0] = p.x;
    out[1] = p.y;
    out[2] = -p.z + 0.0f;
}

// The rotation part of `m` mirrored in Z (S m S with S = diag(1, 1, -1)),
// as a unit quaternion x, y, z, w.
void quaternionOf(const Matrix44& m, float (&q)[4]);

// The rotation (as quaternion) that turns glTF's camera axes (looking down
// -Z, +Y up) to look along `forward` with `up` above, both in the player's axes.
void lookRotation(const Vector3f& forward, const Vector3f& up, float (&q)[4]);

} // namespace gltf_export
