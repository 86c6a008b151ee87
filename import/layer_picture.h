#pragma once
// A surface's colour picture as LightWave lays it over the surface: the
// layer's negative and opacity mixed with the surface's colour, and what
// shows outside the picture by the layer's wrap modes. The object view and
// the scene conversion both draw with these, so that one object looks the
// same in both.

#include "import/lw_surface.h"
#include "import/texture_projection.h"
#include "render/gl_api.h"
#include "render/image_file.h"

namespace LW {

// Inverts the picture for a negative layer and lays it over `colour` (the
// surface's, 0 to 1) by the layer's opacity, as LightWave's normal blending
// does.
void layOverSurface(ImageRGB& picture, const LWTextureBlock& layer, const float (&colour)[3]);

// The texture wrap that draws the mode: repeat, mirror, the edge stretched;
// a reset picture shows nothing beyond its edge (clamped to the border).
GLenum textureWrapOf(WrapMode mode);

// Textures without a border colour draw a reset picture from a copy with
// the surface's colour around it: the picture fills the middle half of the
// copy across each reset direction, and texture coordinates are moved into
// that half.
bool surroundedAcross(const LWTextureBlock& layer);
ImageRGB surroundedPicture(const ImageRGB& picture, const LWTextureBlock& layer, const float (&colour)[3]);
TexCoord intoSurroundedPicture(const LWTextureBlock& layer, TexCoord uv);

} // namespace LW
