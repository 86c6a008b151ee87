// Surfaces, their texture layers (BLOK) and image clips (CLIP). A sub-chunk
// shorter than its full layout (a colour without its envelope index, as some
// exporters write it) gives what it holds; the rest keeps its default.
#include <algorithm>
#include <cstdio>

#include "import/importer_context.h"
#include "import/lwo2_reader.h"

namespace LW {

namespace {

// What a layer header other than an image map is, for the list of what a
// surface holds that cannot be drawn.
const char* layerKind(uint32_t header)
{
    switch (header) {
    case makeId("PROC"): return "procedural texture";
    case makeId("GRAD"): return "gradient";
    case makeId("SHDR"): return "shader";
    default: return "texture layer";
    }
}

void sortByOrdinal(std::vector<LWTextureBlock>& blocks)
{
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const LWTextureBlock& a, const LWTextureBlock& b) { return a.ordinal < b.ordinal; });
}

} // namespace

bool Lwo2Reader::readFloat(float& value)
{
    if (in_.remaining() < 4)
        return false;
    value = in_.readF4();
    return true;
}

bool Lwo2Reader::readU2(uint16_t& value)
{
    if (in_.remaining() < 2)
        return false;
    value = in_.readU2();
    return true;
}

bool Lwo2Reader::readVector(Vector3f& v)
{
    return readFloat(v.x) && readFloat(v.y) && readFloat(v.z);
}

bool Lwo2Reader::readSurfaceChunk(uint32_t id)
{
    if (block_ && readBlockChunk(id))
        return true;
    if (!surface_)
        return false;
    LWSurface& s = *surface_;
    switch (id) {
    case makeId("COLR"): {
        Vector3f colour(s.colour[0], s.colour[1], s.colour[2]);
        readVector(colour);
        s.colour[0] = colour.x, s.colour[1] = colour.y, s.colour[2] = colour.z;
        return true;
    }
    case makeId("DIFF"): readFloat(s.diffuse); return true;
    case makeId("LUMI"): readFloat(s.luminosity); return true;
    case makeId(kSpecularLevelId): readFloat(s.specular); return true;
    case makeId("GLOS"): readFloat(s.glossiness); return true;
    case makeId("TRAN"): readFloat(s.transparency); return true;
    case makeId("SMAN"): readFloat(s.smoothingAngle); return true;
    case makeId("SIDE"):
        // 1 front only, 3 both sides.
        if (in_.remaining() >= 2)
            s.doubleSided = (in_.readU2() & 3) == 3;
        return true;
    case makeId("VCOL"): {
        readFloat(s.vertexColourIntensity);
        if (in_.remaining() < 2)
            return true;
        in_.readVX();  // envelope, not used
        const uint32_t type = in_.readID4();
        s.vertexColourMap = in_.readS0();
        s.vertexColourAlpha = type == makeId("RGBA");
        return true;
    }
    case makeId("NODS"):
        if (lwo3_)
            surfaceNodes_ = std::make_unique<SurfaceNodeGraph>(readSurfaceNodes(
                in_, in_.limit(), [this](size_t end, NodeInputLayers& layers) { readNodeLayers(end, layers); }));
        else
            s.noteUndrawn("node graph");
        return true;
    default:
        return false;
    }
}

bool Lwo2Reader::readBlockChunk(uint32_t id)
{
    LWTextureBlock& b = *block_;
    uint16_t value = 0;
    switch (id) {
    case makeId("CHAN"):
        if (in_.remaining() >= 4)
            b.channel = in_.readID4();
        return true;
    case makeId("ENAB"):
        if (readU2(value))
            b.enabled = value != 0;
        return true;
    case makeId("NEGA"):
        if (readU2(value))
            b.negative = value != 0;
        return true;
    case makeId("OPAC"):
        if (readU2(value))
            b.blend = static_cast<BlendMode>(value);
        readFloat(b.opacity);
        return true;
    case makeId("CNTR"): readVector(b.centre); return true;
    case makeId("SIZE"): readVector(b.size); return true;
    case makeId("ROTA"): readVector(b.rotation); return true;
    case makeId("CSYS"):
        if (readU2(value))
            b.worldCoordinates = value == 1;
        return true;
    case makeId("PROJ"):
        if (!readU2(value))
            return true;
        if (value <= UVMapped) {
            b.projection = value;
        } else {
            trace("\n%sUnknown projection method (%d) !", indent(), value);
            b.projection = UnknownProjection;
        }
        return true;
    case makeId("AXIS"):
        if (readU2(value))
            b.axis = value + 1;
        return true;
    case makeId("WRAP"): {
        auto mode = [](uint16_t v) { return v <= 3 ? static_cast<WrapMode>(v) : WrapMode::Repeat; };
        if (readU2(value))
            b.widthWrapMode = mode(value);
        if (readU2(value))
            b.heightWrapMode = mode(value);
        return true;
    }
    case makeId("WRPW"): readFloat(b.widthWrap); return true;
    case makeId("WRPH"): readFloat(b.heightWrap); return true;
    default: return false;
    }
}

void Lwo2Reader::readSurface(size_t end)
{
    const std::string name = in_.readS0();
    const std::string source = in_.readS0();
    trace("\n%sSurface : %s ( source : %s)", indent(), name.c_str(), source.c_str());
    // A surface nested in this one (broken input) is read on its own and
    // leaves this one as it was.
    LWSurface* const outer = surface_;
    const uint32_t outerLayers = surfaceLayers_;
    std::unique_ptr<SurfaceNodeGraph> outerNodes = std::move(surfaceNodes_);
    std::unique_ptr<LWSurface> described;
    auto known = object_.surfaceNames.find(name);
    if (known != object_.surfaceNames.end()) {
        surface_ = scene_.surfaces[known->second].get();
    } else {
        // Some writers put the surfaces before the polygons: the description
        // waits for the polygons that come to use it.
        trace("  (no polygon uses it yet)");
        described = std::make_unique<LWSurface>();
        surface_ = described.get();
    }
    surface_->name = name;
    surface_->described = true;
    surfaceLayers_ = 0;
    {
        IndentLevel level;
        readSubChunks(end);
    }
    sortByOrdinal(surface_->colourBlocks);
    sortByOrdinal(surface_->diffuseBlocks);
    // A surface of LightWave 2015 and later is drawn from its node graph,
    // unless it has texture layers of its own: then its own settings stand.
    if (surfaceNodes_ && surfaceLayers_ == 0)
        applySurfaceNodes(*surfaceNodes_, *surface_);
    else if (surfaceNodes_)
        surface_->noteUndrawn("node graph");
    if (described)
        object_.describedSurfaces[name] = std::move(described);
    surface_ = outer;
    surfaceLayers_ = outerLayers;
    surfaceNodes_ = std::move(outerNodes);
}

void Lwo2Reader::readBlock(size_t end)
{
    trace("\n%sSurface Block...", indent());
    block_.reset();
    blockHeader_ = 0;
    {
        IndentLevel level;
        // The header (IMAP for an image map) first, then the block's settings.
        readSubChunk();
        readSubChunks(end);
    }
    std::unique_ptr<LWTextureBlock> block = std::move(block_);
    if (nodeLayers_) {
        // A node input's layer: its channel is the input's own.
        if (block && blockHeader_ == makeId("IMAP"))
            nodeLayers_->images.push_back(std::move(*block));
        else if (block)
            nodeLayers_->others.push_back(layerKind(blockHeader_));
        return;
    }
    if (!block || !surface_)
        return;
    ++surfaceLayers_;
    const std::string channel = IdText(block->channel).c_str();
    if (blockHeader_ != makeId("IMAP")) {
        surface_->noteUndrawn(std::string(layerKind(blockHeader_)) + " on " + channel);
    } else if (block->channel == makeId("COLR")) {
        surface_->colourBlocks.push_back(std::move(*block));
    } else if (block->channel == makeId("DIFF")) {
        surface_->diffuseBlocks.push_back(std::move(*block));
    } else {
        trace("\n%sUnsupported texture type : %s", indent(), channel.c_str());
        surface_->noteUndrawn("image on " + channel);
    }
}

void Lwo2Reader::readNodeLayers(size_t end, NodeInputLayers& layers)
{
    NodeInputLayers* outer = nodeLayers_;
    nodeLayers_ = &layers;
    leadingEnd_ = 0;
    IndentLevel level;
    readSubChunks(end);
    nodeLayers_ = outer;
}

// The header of a layer: an image map, or a layer that is read to know its
// channel and then named as not drawn.
void Lwo2Reader::readBlockHeader(uint32_t id, size_t end)
{
    block_ = std::make_unique<LWTextureBlock>();
    blockHeader_ = id;
    if (in_.remaining() > 0)
        block_->ordinal = in_.readS0();
    if (id == makeId("IMAP"))
        trace("\n%sImage map texture (%s)...", indent(), block_->ordinal.c_str());
    else
        trace("\n%s%s (%s)...", indent(), layerKind(id), IdText(id).c_str());
    IndentLevel level;
    readSubChunks(end);
}

void Lwo2Reader::readImageReference()
{
    // A VX index is two bytes, or four when the first is 0xFF.
    if (!block_ || in_.remaining() < 2 || (in_.data()[in_.tell()] == 0xFF && in_.remaining() < 4))
        return;
    const uint32_t clip = in_.readVX();
    auto found = object_.clips.find(clip);
    if (found != object_.clips.end()) {
        block_->imageName = found->second;
        trace("\n%sIMAG: image found : %s", indent(), block_->imageName.c_str());
    } else {
        trace("\n%sIMAG: undefined clip %6.6X !", indent(), clip);
    }
}

void Lwo2Reader::readClip(size_t end)
{
    const uint32_t index = in_.readU4();
    trace("\n%sImage clip %6.6X...", indent(), index);
    // A clip nested in this one (broken input) gets its own name slot.
    std::unique_ptr<std::string> outer = std::move(clipImage_);
    clipImage_ = std::make_unique<std::string>();
    {
        IndentLevel level;
        readSubChunks(end);
    }
    if (!clipImage_->empty())
        object_.clips[index] = *clipImage_;
    clipImage_ = std::move(outer);
}

void Lwo2Reader::readImageSequence()
{
    // digits U1, flags U1, offset I2, reserved U2, start I2, end I2, prefix, suffix
    const uint16_t digitsAndFlags = in_.readU2();
    in_.readU2();
    in_.readU2();
    const int start = int16_t(in_.readU2());
    in_.readU2();
    const std::string prefix = in_.readS0();
    const std::string suffix = in_.readS0();
    const int digits = std::min(digitsAndFlags >> 8, 9);
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, start);
    *clipImage_ = prefix + number + suffix;
    trace("\n%sImage sequence, first picture : %s", indent(), clipImage_->c_str());
}

} // namespace LW
