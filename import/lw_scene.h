#pragma once
// The importer's records: what a LightWave object or scene being read adds to
// its scene record.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "import/lw_surface.h"
#include "math/vector3.h"

namespace LW {

// The four characters of an IFF identifier, for messages.
struct IdText {
    explicit IdText(uint32_t id);
    const char* c_str() const { return text; }
    char text[5];
};

// What one import gathers: where to look for files, and the surfaces of
// every object read so far, each object's its own.
struct Scene {
    std::vector<std::string> searchDirectories;
    std::vector<std::unique_ptr<LWSurface>> surfaces;
    // When 0 or more, the subdivision level of every SubPatch object read,
    // whatever the scene or LightWave's default says (0 keeps the cage).
    int subdivisionOverride = -1;
};

} // namespace LW
