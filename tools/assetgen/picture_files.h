#pragma once
// Saving painted canvases into the pack.

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/canvas.h"

namespace assetgen {

void saveJpeg(const PackFolder& pack, const char* resourceName, const Canvas& canvas, int quality = 92);
void savePng(const PackFolder& pack, const char* resourceName, const Canvas& canvas);

} // namespace assetgen
