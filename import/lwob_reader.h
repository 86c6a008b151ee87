#pragma once
// The older LightWave object form ("LWOB", LightWave 5): points, polygons
// with their surface numbers, the surface-name list and surfaces with
// image-map textures, read into the same object record as LWO2 files.

#include <cstdint>

#include "import/input_stream.h"
#include "import/lw_scene.h"
#include "import/lwo2_object.h"

namespace LW {

// Reads the chunks after the form type, up to the FORM length. Polygons of
// unknown surfaces, lines and polygons that cannot be triangulated are
// skipped; cut or overrunning chunks fail the load.
void readLwobForm(InputStream& in, uint32_t formLength, Scene& scene, Lwo2Object& object);

} // namespace LW
