#pragma once
// A LightWave surface as LightWave shows it: what the object files (LWO2,
// LWO3, LWOB) say of a surface, with LightWave's defaults for what they do
// not say. Rendering, scene conversion and export all read this one record.
//
// Every surface belongs to the object (and layer) whose file defines it: two
// objects with a "Default" surface have two surfaces.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "math/vector3.h"

namespace LW {

constexpr uint32_t makeId(const char (&text)[5])
{
    return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 | uint32_t(uint8_t(text[2])) << 8 |
           uint32_t(uint8_t(text[3]));
}

// The specular level's chunk ID, spelled out letter by letter.
constexpr char kSpecularLevelId[5] = {'S', 'P', 'E', 'C', '\0'};

// The values of the PROJ sub-chunk.
enum Projection : int {
    Planar = 0,
    Cylindrical = 1,
    Spherical = 2,
    Cubic = 3,
    Front = 4,  // from the camera: drawn as planar along Z
    UVMapped = 5,
    UnknownProjection = -1,
};

// What a picture does outside [0, 1] (the WRAP sub-chunk).
enum class WrapMode : uint16_t { Reset = 0, Repeat = 1, Mirror = 2, Edge = 3 };

// How a layer is laid over the layers below it (the OPAC sub-chunk's type).
enum class BlendMode : uint16_t {
    Normal = 0,
    Subtractive = 1,
    Difference = 2,
    Multiply = 3,
    Divide = 4,
    Alpha = 5,
    TextureDisplacement = 6,
    Additive = 7,
};

// One image-map texture layer (a BLOK with an IMAP header) of a surface
// channel. Blocks without a sub-chunk keep LightWave's default for it.
struct LWTextureBlock {
    // BLOK header
    std::string ordinal;  // layers are drawn in ascending ordinal (strcmp) order, the last on top
    uint32_t channel = makeId("COLR");
    bool enabled = true;  // ENAB
    BlendMode blend = BlendMode::Normal;
    float opacity = 1.0f;   // OPAC
    bool negative = false;  // NEGA: the picture inverted

    // Texture frame (TMAP)
    Vector3f centre{0, 0, 0};
    Vector3f size{1, 1, 1};
    Vector3f rotation{0, 0, 0};  // heading, pitch, bank in radians
    bool worldCoordinates = false;

    // Image map
    int projection = Planar;
    int axis = 0;  // the file's axis + 1 (1 X, 2 Y, 3 Z); 0 when none was given
    std::string uvMap;      // TXUV map of a UV-mapped layer
    std::string imageName;  // the clip's still image; empty when the clip names none
    WrapMode widthWrapMode = WrapMode::Repeat;
    WrapMode heightWrapMode = WrapMode::Repeat;
    // How many times the picture wraps around a cylinder or sphere (WRPW,
    // WRPH).
    float widthWrap = 1.0f;
    float heightWrap = 1.0f;
    // How many times the picture repeats across a UV map's unit square (an
    // Image node's U and V tiles).
    float uTiles = 1.0f;
    float vTiles = 1.0f;
};

struct LWSurface {
    std::string name;
    bool described = false;  // a SURF chunk of the object gave its settings

    // Basic shading, 0 to 1 unless noted; LightWave's defaults.
    float colour[3] = {200 / 255.0f, 200 / 255.0f, 200 / 255.0f};  // 0.784 grey
    float diffuse = 1.0f;
    float luminosity = 0.0f;
    float specular = 0.0f;
    float glossiness = 0.4f;
    float transparency = 0.0f;
    bool doubleSided = false;     // SIDE 3
    float smoothingAngle = 0.0f;  // radians; 0 draws every polygon flat

    // Vertex colours (VCOL): the map's colours scale the surface's.
    std::string vertexColourMap;  // an RGB or RGBA map; empty for none
    bool vertexColourAlpha = false;  // the map is RGBA
    float vertexColourIntensity = 1.0f;

    // Image layers, each list in drawing order (lowest ordinal first).
    // Disabled layers are kept with `enabled` false.
    std::vector<LWTextureBlock> colourBlocks;
    std::vector<LWTextureBlock> diffuseBlocks;

    // What the surface holds that cannot be drawn (procedural textures,
    // gradients, shaders, node graphs, other channels' layers), each named
    // once: "procedural texture on COLR".
    std::vector<std::string> undrawn;

    void noteUndrawn(const std::string& what)
    {
        for (const std::string& known : undrawn)
            if (known == what)
                return;
        undrawn.push_back(what);
    }

    // The RGBA bytes a vertex shows whose map colour is `packed` (red in
    // the top byte, alpha in the lowest): the map's colour mixed into the
    // surface's by the map's intensity, lit by the diffuse level; alpha the
    // surface's opacity, times the map's own alpha for an RGBA map.
    std::array<uint8_t, 4> vertexColourBytes(uint32_t packed) const
    {
        const auto byteOf = [](float value) { return uint8_t(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f); };
        const float mix = std::clamp(vertexColourIntensity, 0.0f, 1.0f);
        std::array<uint8_t, 4> rgba;
        for (int c = 0; c < 3; ++c) {
            const float vertex = float((packed >> (24 - 8 * c)) & 0xFF) / 255.0f;
            rgba[c] = byteOf(diffuse * ((1 - mix) * colour[c] + mix * vertex));
        }
        const float opacity = 1 - std::clamp(transparency, 0.0f, 1.0f);
        rgba[3] = byteOf(opacity * (vertexColourAlpha ? float(packed & 0xFF) / 255.0f : 1.0f));
        return rgba;
    }

    // The enabled layers of a list, in drawing order.
    static std::vector<const LWTextureBlock*> enabledOf(const std::vector<LWTextureBlock>& blocks)
    {
        std::vector<const LWTextureBlock*> enabled;
        for (const LWTextureBlock& block : blocks)
            if (block.enabled)
                enabled.push_back(&block);
        return enabled;
    }
};

} // namespace LW
