#pragma once
// The textures the scenes wear, painted from code. Sides are powers of two
// and every pattern tiles, since the scenes repeat them across surfaces.
// Patterns are laid out across the texture, so a larger size is the same
// texture in finer detail; `detail` (texels per texel of the pack's size)
// keeps what is measured in texels, such as mortar joints, the same width.

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/sky_painter.h"

namespace assetgen {

Canvas sandstoneTexture(int size, int detail = 1);  // ashlar courses of warm stone
Canvas floorTileTexture(int size);       // one tile of an eight-pointed star pattern
Canvas mosaicTexture(int size);          // deep blue with gold lattice, for the dome
Canvas voussoirTexture(int size);        // alternating red and cream arch stones along U
Canvas mihrabTexture(int size);          // a gilded panel with a pointed-arch border
Canvas detailTexture(int size, uint32_t seed);  // fine grain around 0.85, for the detail unit
// A sky panorama: U runs around the horizon, V from the zenith (0) to
// below the horizon (1).
Canvas skyPanorama(int width, int height, const SkyLook& look, int detail = 1);

} // namespace assetgen
