#pragma once
// The importer's records: what a LightWave object or scene being read adds to
// its scene record.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "math/vector3.h"

namespace LW {

constexpr uint32_t makeId(const char (&text)[5])
{
    return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 | uint32_t(uint8_t(text[2])) << 8 |
           uint32_t(uint8_t(text[3]));
}

// The four characters of an IFF identifier, for messages.
struct IdText {
    explicit IdText(uint32_t id);
    const char* c_str() const { return text; }
    char text[5];
};

enum Projection : int {
    Planar = 0,
    Cylindrical = 1,
    Spherical = 2,
    Cubic = 3,
    UVMapped = 5,
    UnknownProjection = -1,
};

// An image-map texture block of a surface. Blocks without SIZE, PROJ, AXIS
// or CHAN keep these defaults: unit size, planar, no axis (planar then maps
// along Z), colour channel.
struct LWTextureBlock {
    Vector3f size{1, 1, 1};
    Vector3f centre{0, 0, 0};
    bool worldCoordinates = false;
    std::string uvMap;
    std::string imageName;
    int projection = Planar;
    int axis = 0;  // the file's axis + 1 (1 X, 2 Y, 3 Z); 0 when none was given
    uint32_t channel = makeId("COLR");
    float widthWrap = 1.0f;
    float heightWrap = 1.0f;
};

struct LWSurface {
    std::string name;
    bool described = false;  // a SURF chunk of the object gave its settings
    float colour[3] = {0, 0, 0};
    float diffuse = 0;
    std::vector<std::unique_ptr<LWTextureBlock>> colourBlocks;
    std::vector<std::unique_ptr<LWTextureBlock>> diffuseBlocks;
};

// What one import gathers: where to look for files, and the surfaces of
// every object read so far, by name.
struct Scene {
    std::vector<std::string> searchDirectories;
    std::map<std::string, uint32_t> surfaceNames;  // name -> index into surfaces
    std::vector<std::unique_ptr<LWSurface>> surfaces;
};

} // namespace LW
