#pragma once
// LightWave objects (LWO2, and LWO3 as LightWave 2015 and later save them)
// for the tests and the asset generator. Chunks are written in the order
// they are added, so a test can build any sequence, including broken ones
// (raw chunks, odd form types).

#include <cstdint>
#include <string>
#include <vector>

#include "math/vector3.h"

namespace writers {

// A texture block of the image-map kind.
struct Lwo2ImageBlock {
    std::string channel = "COLR";  // four characters: COLR, DIFF, ...
    std::string ordinal = "\x80";
    Vector3f centre{0, 0, 0};
    Vector3f size{1, 1, 1};
    uint16_t projection = 0;  // 0 planar, 1 cylindrical, 2 spherical, 3 cubic, 5 UV
    uint16_t axis = 2;        // 0 X, 1 Y, 2 Z
    uint32_t clip = 0;        // IMAG clip index; 0 writes no IMAG
    std::string uvMap;        // VMAP name; empty writes no VMAP
    // Written only when they differ from LightWave's defaults.
    bool enabled = true;
    float opacity = 1;
    bool negative = false;
    uint16_t widthWrap = 1, heightWrap = 1;  // 0 reset, 1 repeat, 2 mirror, 3 edge
    Vector3f rotation{0, 0, 0};
    std::string header = "IMAP";  // PROC, GRAD or SHDR for a layer of another kind
};

// A block that takes its coordinates from the UV map `uvMap`.
inline Lwo2ImageBlock uvMappedBlock(const std::string& uvMap, uint32_t clip = 0)
{
    Lwo2ImageBlock block;
    block.projection = 5;
    block.uvMap = uvMap;
    block.clip = clip;
    return block;
}

struct Lwo2Surface {
    std::string name;
    std::string source;
    float colour[3] = {0.78f, 0.78f, 0.78f};
    float diffuse = 1.0f;
    std::vector<Lwo2ImageBlock> blocks;
    // Written, in LightWave's order, only when they differ from its defaults.
    float luminosity = 0, specular = 0, glossiness = 0.4f, transparency = 0;
    float smoothingAngle = 0;  // radians
    uint16_t sides = 1;        // 3 for both
    std::string vertexColourMap{};  // VCOL, intensity 1, of an RGB or RGBA map; none when empty
    std::string vertexColourType = "RGBA";
};

// One value set of a vertex map; `polygon` is written for VMAD only.
struct Lwo2MapEntry {
    uint32_t point = 0;
    uint32_t polygon = 0;
    std::vector<float> values;
};

// Big-endian IFF values.
class Lwo2Bytes {
public:
    Lwo2Bytes& id4(const std::string& id);  // four characters, padded with spaces
    Lwo2Bytes& u4(uint32_t v);
    Lwo2Bytes& u2(uint16_t v);
    Lwo2Bytes& f4(float v);
    Lwo2Bytes& vx(uint32_t index);          // 2 bytes below 0xFF00, else 0xFF and 24 bits
    Lwo2Bytes& s0(const std::string& text);  // zero-terminated, padded to an even length
    Lwo2Bytes& bytes(const std::vector<uint8_t>& more);
    // A sub-chunk: ID4, U2 size, body.
    Lwo2Bytes& subChunk(const std::string& id, const Lwo2Bytes& body);
    // An LWO3 chunk: ID4, U4 size, body, a pad byte when the size is odd.
    Lwo2Bytes& chunk(const std::string& id, const Lwo2Bytes& body);
    // An LWO3 FORM of the type, holding `body`.
    Lwo2Bytes& form(const std::string& type, const Lwo2Bytes& body);

    const std::vector<uint8_t>& data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

// LWO3 keeps LWO2's geometry chunks. Its surfaces, texture blocks and clips
// are FORMs whose chunks have 4-byte sizes, and what LWO2 writes before a
// container's sub-chunks (a surface's name, a clip's index, a block's
// ordinal, a vector) is an anonymous chunk (ID four spaces) first in its
// form.
enum class ObjectFormat { Lwo2, Lwo3 };

class Lwo2Writer {
public:
    explicit Lwo2Writer(ObjectFormat format = ObjectFormat::Lwo2) : format_(format) {}

    // LAYR: opens a layer; the points, polygons and vertex maps after it
    // number their points from 0 again. LightWave numbers layers from 0 and
    // writes the parent only when the layer has one (`parent` >= 0).
    Lwo2Writer& layer(uint16_t number, const std::string& name = "", const Vector3f& pivot = Vector3f{0, 0, 0},
                      int parent = -1);
    // BBOX: the box of the points, as LightWave writes it after each PNTS.
    Lwo2Writer& boundingBox(const std::vector<Vector3f>& points);
    Lwo2Writer& points(const std::vector<Vector3f>& points);
    // Each polygon lists its point indices; 2 makes a line.
    Lwo2Writer& polygons(const std::vector<std::vector<uint32_t>>& polygons, const std::string& type = "FACE");
    Lwo2Writer& tags(const std::vector<std::string>& tags);
    // PTAG SURF: (polygon, tag) pairs.
    Lwo2Writer& surfaceTags(const std::vector<std::pair<uint32_t, uint16_t>>& polygonTags);
    Lwo2Writer& surface(const Lwo2Surface& surface);
    Lwo2Writer& clip(uint32_t index, const std::string& stillImage);
    // VMAP, e.g. type "TXUV" with dimension 2 or "RGBA" with dimension 4.
    Lwo2Writer& vertexMap(const std::string& type, uint16_t dimension, const std::string& name,
                          const std::vector<Lwo2MapEntry>& entries);
    // VMAD: values of a point as seen from one polygon.
    Lwo2Writer& polygonVertexMap(const std::string& type, uint16_t dimension, const std::string& name,
                                 const std::vector<Lwo2MapEntry>& entries);
    // Any chunk, as given; an odd one gets IFF's pad byte after it.
    Lwo2Writer& chunk(const std::string& id, const std::vector<uint8_t>& body);

    // The whole file: FORM, its length, the form type ("LWO2" or "LWO3" by
    // the format unless given) and the chunks.
    std::vector<uint8_t> bytes(const std::string& formType = "") const;
    bool save(const std::string& path, const std::string& formType = "") const;

private:
    Lwo2Writer& lwo3Surface(const Lwo2Surface& surface);
    Lwo2Writer& mapChunk(const std::string& id, const std::string& type, uint16_t dimension, const std::string& name,
                         const std::vector<Lwo2MapEntry>& entries);

    ObjectFormat format_;
    std::vector<uint8_t> chunks_;
};

} // namespace writers
