#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "import/input_stream.h"
#include "import/lw_scene.h"
#include "import/lwo2_object.h"
#include "import/lwo3_surface_nodes.h"
#include "import/polygon_tessellator.h"

namespace LW {

// LWO2 (LightWave 6 to 2015) or LWO3 (LightWave 2015 and later). LWO3 holds
// the same geometry chunks; its chunks all have 4-byte sizes (LWO2's
// sub-chunks have 2), and what LWO2 nests in SURF, BLOK, IMAP, TMAP and CLIP
// chunks comes in FORMs of those types.
enum class ObjectForm { Lwo2, Lwo3 };

// Walks the chunks of an LWO2 or LWO3 file into the object under
// construction and the scene record's surfaces. One handler serves top-level
// chunks and sub-chunks alike; after a chunk the cursor stands at its end
// whatever the handler read.
//
// Every layer (LAYR) numbers its points from 0, and its polygons and vertex
// maps use those numbers; the reader gives each layer's points their place
// after the layers before. Data before the first LAYR belongs to layer
// number 0.
class Lwo2Reader {
public:
    // `layer` 0 reads every layer; N >= 1 reads the geometry of the layers
    // whose LAYR number is N - 1 only (surfaces and clips are always read).
    Lwo2Reader(InputStream& in, Scene& scene, Lwo2Object& object, uint32_t layer = 0,
               ObjectForm form = ObjectForm::Lwo2);

    // The chunks after the form type, up to the FORM length.
    void readForm(uint32_t formLength);

    // Whether the file holds the layer asked for (always true for layer 0).
    bool foundLayer() const;

    // Reads as LightWave does where the show's own objects have a rule of
    // their own: the pad byte after an odd LWO2 chunk is skipped (LWO3
    // always skips it), and a map given only by per-polygon values (VMAD) is
    // kept.
    void useLightWaveRules() { lightWave_ = true; }

private:
    // Sub-chunks (ID4 and a U2 size, U4 in LWO3) up to `end`.
    void readSubChunks(size_t end);
    void readSubChunk();
    void handleChunk(uint32_t id, uint32_t size);
    // An LWO3 FORM: handled like the LWO2 chunk of its type.
    void handleForm(size_t end);
    void handleContent(uint32_t id, size_t end);

    void readLayer(size_t end);
    // A point, polygon or vertex-map chunk of a layer that is not read.
    bool skipsLayerData(uint32_t id) const;
    void readPoints(size_t end);
    struct PolygonCounts {
        uint32_t skipped = 0, lines = 0, outlined = 0;
    };
    void readPolygons(size_t end);
    // Curves, bones, metaballs and unknown types: traced and left out.
    void skipPolygons(uint32_t type, size_t end);
    void readPolygon(uint32_t listIndex, uint32_t vertexCount, PolygonCounts& counts);
    void addTriangle(uint32_t polygon, uint32_t a, uint32_t b, uint32_t c);
    void readTags(size_t end);
    void readPolygonTags(size_t end);
    void readSurface(size_t end);
    // A surface's sub-chunk; false when `id` is none of a surface's or its
    // current layer's.
    bool readSurfaceChunk(uint32_t id);
    bool readBlockChunk(uint32_t id);
    void readBlock(size_t end);
    // The layers of a node input, read as a surface's are.
    void readNodeLayers(size_t end, NodeInputLayers& layers);
    void readBlockHeader(uint32_t id, size_t end);
    void readClip(size_t end);
    // A numbered image sequence stands for its first picture.
    void readImageSequence();
    void readVertexMap(size_t end);
    void readPolygonVertexMap(size_t end);
    void readImageReference();
    // As much of a value as the sub-chunk holds: false, and the value left
    // as it was, when it ends first.
    bool readFloat(float& value);
    bool readU2(uint16_t& value);
    bool readVector(Vector3f& v);
    uint32_t readPointIndex(const char* what);

    InputStream& in_;
    Scene& scene_;
    Lwo2Object& object_;
    const bool lwo3_;
    size_t leadingEnd_ = 0;  // the end of the current LWO3 form's anonymous chunk, if it has one
    const uint32_t selectedLayer_;
    bool lightWave_ = false;
    bool readingLayer_;             // the current layer's geometry is read
    bool dataBeforeLayers_ = false;  // points came before the first LAYR
    size_t pointBase_ = 0;          // the current layer's first point
    uint32_t polygonBase_ = 0;      // the last polygon list's first polygon
    bool patchList_ = false;        // the polygon list is a SubPatch cage
    LWSurface* surface_ = nullptr;
    uint32_t surfaceLayers_ = 0;                     // texture layers of the surface being read
    std::unique_ptr<SurfaceNodeGraph> surfaceNodes_;  // its LWO3 node graph
    NodeInputLayers* nodeLayers_ = nullptr;  // where a node input's layers go while read
    std::unique_ptr<LWTextureBlock> block_;
    uint32_t blockHeader_ = 0;  // IMAP, PROC, GRAD or SHDR
    std::unique_ptr<std::string> clipImage_;  // the still image of the clip being read
    std::unique_ptr<PolygonTessellator> tessellator_;
    std::vector<uint32_t> polygonIndices_;
    std::vector<uint32_t> tessellatedIndices_;
};

} // namespace LW
