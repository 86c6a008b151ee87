#include "import/lwo2_reader.h"

#include <cstring>

#include "import/importer_context.h"

namespace LW {

Lwo2Reader::Lwo2Reader(InputStream& in, Scene& scene, Lwo2Object& object, uint32_t layer, ObjectForm form)
    : in_(in), scene_(scene), object_(object), lwo3_(form == ObjectForm::Lwo3), selectedLayer_(layer),
      readingLayer_(layer <= 1)
{
}

bool Lwo2Reader::foundLayer() const
{
    if (selectedLayer_ == 0)
        return true;
    if (selectedLayer_ == 1 && (object_.layers.empty() || dataBeforeLayers_))
        return true;
    for (const Lwo2Layer& layer : object_.layers)
        if (layer.number + 1u == selectedLayer_)
            return true;
    return false;
}

bool Lwo2Reader::skipsLayerData(uint32_t id) const
{
    if (readingLayer_)
        return false;
    switch (id) {
    case makeId("PNTS"):
    case makeId("POLS"):
    case makeId("PTAG"):
    case makeId("VMAD"):
        return true;
    case makeId("VMAP"):
        return !block_;  // inside a texture block it names the block's UV map
    default:
        return false;
    }
}

void Lwo2Reader::readForm(uint32_t formLength)
{
    // The form type counts towards the length; chunks follow it.
    const uint64_t end = in_.tell() + uint64_t(formLength) - 4;
    while (in_.tell() < end) {
        const uint32_t id = in_.readID4();
        const uint32_t size = in_.readU4();
        handleChunk(id, size);
    }
    placeAddedPoints(object_);
}

void Lwo2Reader::readSubChunks(size_t end)
{
    if (leadingEnd_) {
        in_.seek(leadingEnd_);
        leadingEnd_ = 0;
    }
    while (in_.tell() < end)
        readSubChunk();
}

void Lwo2Reader::readSubChunk()
{
    const uint32_t id = in_.readID4();
    const uint32_t size = lwo3_ ? in_.readU4() : in_.readU2();
    handleChunk(id, size);
}

void Lwo2Reader::handleChunk(uint32_t id, uint32_t size)
{
    const size_t end = in_.tell() + size;
    const size_t outerLeadingEnd = leadingEnd_;
    {
        InputStream::Scope scope(in_, end, id);
        if (lwo3_ && id == makeId("FORM"))
            handleForm(end);
        else
            handleContent(id, end);
    }
    leadingEnd_ = outerLeadingEnd;
    in_.seek(end);
    // IFF pads odd chunks to an even length. LWO3 files always do; the
    // show's LWO2 objects never do, and other LWO2 writers differ: read as
    // LightWave reads them, a zero byte after an odd chunk is its pad (no
    // chunk ID starts with one).
    if ((size & 1) && end < in_.limit() && (lwo3_ || (lightWave_ && in_.data()[end] == 0)))
        in_.seek(end + 1);
}

namespace {

// LWO3 forms whose LWO2 chunk starts with values of its own.
bool hasLeadingValues(uint32_t type)
{
    switch (type) {
    case makeId("SURF"):
    case makeId("CLIP"):
    case makeId("STIL"):
    case makeId("ISEQ"):
    case makeId("IMAP"):
    case makeId("PROC"):
    case makeId("GRAD"):
    case makeId("SHDR"):
    case makeId("CNTR"):
    case makeId("SIZE"):
    case makeId("ROTA"):
    case makeId("OPAC"):
    case makeId("WRPW"):
    case makeId("WRPH"):
    case makeId("TAMP"):
        return true;
    default:
        return false;
    }
}

} // namespace

void Lwo2Reader::handleForm(size_t end)
{
    const uint32_t type = in_.readID4();
    // What an LWO2 chunk holds before its sub-chunks (a surface's name, a
    // clip's index, a block's ordinal, a vector) is, in LWO3, the content of
    // a chunk at the start of the form: eight bytes of header (an ID and a
    // U4 size; public readers skip them unread, so no ID is required), then
    // the values, which the handler reads in place. Its sub-chunks start
    // after it.
    leadingEnd_ = 0;
    const bool anonymous = in_.remaining() >= 8 && std::memcmp(in_.data() + in_.tell(), "    ", 4) == 0;
    if (in_.remaining() >= 8 && (anonymous || hasLeadingValues(type))) {
        in_.readID4();
        const uint32_t size = in_.readU4();
        if (size > in_.remaining())
            loadFailuref("Chunk %s runs past the end of its container (offset %zu).", IdText(type).c_str(), in_.tell());
        leadingEnd_ = in_.tell() + size + (size & 1 && size < in_.remaining() ? 1 : 0);
    }
    handleContent(type, end);
}

void Lwo2Reader::handleContent(uint32_t id, size_t end)
{
    if (skipsLayerData(id)) {
        trace("\n%sSkipping %s of another layer", indent(), IdText(id).c_str());
        // A UV map of another layer leaves this layer's points unmapped, at
        // (0, 0), as the whole object has them; a surface mapped with it
        // must not fail the layer.
        if (id == makeId("VMAP") && in_.readID4() == makeId("TXUV") && in_.readU2() == 2)
            object_.uvMaps[in_.readS0()];
        return;
    }
    switch (id) {
    case makeId("LAYR"): readLayer(end); return;
    case makeId("PNTS"): readPoints(end); return;
    case makeId("POLS"): readPolygons(end); return;
    case makeId("TAGS"): readTags(end); return;
    case makeId("PTAG"): readPolygonTags(end); return;
    case makeId("SURF"): readSurface(end); return;
    case makeId("BLOK"): readBlock(end); return;
    case makeId("CLIP"): readClip(end); return;
    case makeId("VMAD"): readPolygonVertexMap(end); return;
    case makeId("IMAG"): readImageReference(); return;
    case makeId("IMAP"):
    case makeId("PROC"):
    case makeId("GRAD"):
    case makeId("SHDR"): readBlockHeader(id, end); return;
    case makeId("STIL"):
        if (clipImage_) {
            *clipImage_ = in_.readS0();
            trace("\n%sStill image : %s", indent(), clipImage_->c_str());
        }
        return;
    case makeId("ISEQ"):
        if (clipImage_)
            readImageSequence();
        return;
    case makeId("VMAP"):
        if (block_) {
            if (in_.remaining() > 0)
                block_->uvMap = in_.readS0();
            trace("\n%sUsing VMAP : %s", indent(), block_->uvMap.c_str());
        } else {
            readVertexMap(end);
        }
        return;
    case makeId("TMAP"): {
        IndentLevel level;
        readSubChunks(end);
        return;
    }
    default:
        if (readSurfaceChunk(id))
            return;
        break;
    }
    trace("\n%sUnknown hunk: %s", indent(), IdText(id).c_str());
}

} // namespace LW
