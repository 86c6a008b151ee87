#pragma once
// Pieces the open-air scenes share: the sky dome wearing a painted
// panorama, and the hot-air balloons that drift through several of them.

#include "tools/assetgen/poly_mesh.h"
#include "tools/assetgen/sky_painter.h"

class Scene;
class SceneNode;

namespace assetgen {

// A dome of `radius` round the origin seen from inside, textured with a
// panorama of `look` (512 x 256 texels times `detail`); adds its texture,
// surface ("Sky") and a shape under `parent`. The horizon sits at height 0.
void addSkyDome(Scene& scene, SceneNode* parent, const SkyLook& look, float radius, int detail);

// A balloon about 2.4 units tall with its basket, base at the origin,
// shaded for a sun towards `sun`; points coloured (for the point-and-colour
// format). `palette` picks one of a few gore colourings.
PolyMesh balloonMesh(int palette, const Vector3f& sun);

// The scene's backdrop and fog colour.
void setAir(Scene& scene, Rgb colour, bool fog, float fogStart, float fogEnd);

} // namespace assetgen
