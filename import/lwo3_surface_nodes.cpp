#include "import/lwo3_surface_nodes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "import/importer_context.h"

namespace LW {

namespace {

constexpr uint32_t kAnonymous = makeId("    ");

// Calls `visit(id, end)` for each chunk from the cursor up to `end`, reads
// confined to the chunk; a FORM is visited as its type, the cursor after it.
// The cursor stands at `end` afterwards. LWO3 pads odd chunks to even.
// The graph's forms nest as deep as its layout says, no deeper: each level
// has code of its own.
//
// Where a form's layout opens with values of its own (VALU, STIL, VPRM,
// VPVL), `leading` visits its first chunk, unless a FORM, as the anonymous one,
// whatever its ID, as public readers take it.
template <class Visit>
void eachChunk(InputStream& in, size_t end, Visit&& visit, bool leading = false)
{
    bool first = true;
    while (in.tell() + 8 <= end) {
        uint32_t id = in.readID4();
        if (leading && first && id != makeId("FORM"))
            id = kAnonymous;
        first = false;
        const uint32_t size = in.readU4();
        const size_t chunkEnd = in.tell() + size;
        {
            InputStream::Scope scope(in, chunkEnd, id);
            if (id == makeId("FORM"))
                id = in.remaining() >= 4 ? in.readID4() : 0;
            visit(id, chunkEnd);
        }
        in.seek(chunkEnd + (size & 1 && chunkEnd < end ? 1 : 0));
    }
    in.seek(end);
}

std::string readText(InputStream& in) { return in.remaining() > 0 ? in.readS0() : std::string(); }

bool readU4(InputStream& in, uint32_t& value)
{
    if (in.remaining() < 4)
        return false;
    value = in.readU4();
    return true;
}

// A double as the float it is drawn with; one no float holds reads as 0.
double readF8(InputStream& in)
{
    const uint64_t bits = uint64_t(in.readU4()) << 32 | in.readU4();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max() ? value : 0.0;
}

// A panel value: a form whose anonymous chunk names the type ("vparam3",
// "vparam", "int", "double") and holds a plain number in place, or, for a
// parameter that may be enveloped or textured, a nested form whose anonymous
// chunk holds a count and that many doubles, and the input's texture layers
// (TXTR).
void readValue(InputStream& in, size_t end, SurfaceNode& node, const std::string& input,
               const NodeLayerReader& readLayers)
{
    std::vector<double>& values = node.values[input];
    eachChunk(in, end, [&](uint32_t id, size_t valueEnd) {
        if (id == kAnonymous) {
            const std::string type = readText(in);
            if (type == "double" && in.remaining() >= 8)
                values = {readF8(in)};
            else if (type == "int" && in.remaining() >= 4)
                values = {double(int32_t(in.readU4()))};
        } else if (id == makeId("VALU")) {
            eachChunk(in, valueEnd, [&](uint32_t numbersId, size_t) {
                if (numbersId != kAnonymous)
                    return;
                uint32_t count = 0;
                readU4(in, count);
                values.clear();
                while (count-- > 0 && in.remaining() >= 8)
                    values.push_back(readF8(in));
            }, true);
        } else if (id == makeId("TXTR") && readLayers) {
            readLayers(valueEnd, node.layers[input]);
        }
    }, true);
    if (values.empty())
        node.values.erase(input);
}

// A material node's attributes: META, ADAT, then one ENTR per input.
void readAttributes(InputStream& in, size_t end, SurfaceNode& node, const NodeLayerReader& readLayers)
{
    auto readEntry = [&](size_t entryEnd) {
        std::string name;
        eachChunk(in, entryEnd, [&](uint32_t id, size_t valueEnd) {
            if (id == makeId("NAME"))
                name = readText(in);
            else if (id == makeId("VALU") && !name.empty())
                readValue(in, valueEnd, node, name, readLayers);
        });
    };
    eachChunk(in, end, [&](uint32_t id, size_t metaEnd) {
        if (id != makeId("META"))
            return;
        eachChunk(in, metaEnd, [&](uint32_t metaId, size_t dataEnd) {
            if (metaId != makeId("ADAT"))
                return;
            eachChunk(in, dataEnd, [&](uint32_t entryId, size_t entryEnd) {
                if (entryId == makeId("ENTR"))
                    readEntry(entryEnd);
            });
        });
    });
}

// An Image node's parameter: VPRM, whose VPVL form's anonymous chunk holds
// up to three floats (and an envelope index after them).
bool readParameter(InputStream& in, size_t end, Vector3f& value)
{
    bool found = false;
    eachChunk(in, end, [&](uint32_t id, size_t parameterEnd) {
        if (id != makeId("VPRM"))
            return;
        eachChunk(in, parameterEnd, [&](uint32_t valueId, size_t valueEnd) {
            if (valueId != makeId("VPVL"))
                return;
            eachChunk(in, valueEnd, [&](uint32_t floatsId, size_t) {
                if (floatsId != kAnonymous)
                    return;
                for (float* f : {&value.x, &value.y, &value.z})
                    if (in.remaining() >= 4)
                        *f = in.readF4(), found = true;
            }, true);
        }, true);
    });
    return found;
}

// The file of an Image node's clip: IIMG, CLIP, STIL, its anonymous chunk.
std::string readClipStill(InputStream& in, size_t end)
{
    std::string file;
    eachChunk(in, end, [&](uint32_t id, size_t clipEnd) {
        if (id != makeId("CLIP"))
            return;
        eachChunk(in, clipEnd, [&](uint32_t clipId, size_t stillEnd) {
            if (clipId != makeId("STIL"))
                return;
            eachChunk(in, stillEnd, [&](uint32_t stillId, size_t) {
                if (stillId == kAnonymous)
                    file = readText(in);
            }, true);
        });
    });
    return file;
}

WrapMode wrapMode(uint32_t value) { return value <= 3 ? static_cast<WrapMode>(value) : WrapMode::Repeat; }

void readImageData(InputStream& in, uint32_t id, size_t end, LWTextureBlock& image)
{
    uint32_t number = 0;
    Vector3f v(1, 1, 1);
    switch (id) {
    case makeId("IIMG"): image.imageName = readClipStill(in, end); break;
    case makeId("IMAP"):
        if (readU4(in, number))
            image.projection = number <= UVMapped ? int(number) : UnknownProjection;
        break;
    case makeId("IAXS"):
        if (readU4(in, number) && number <= 2)
            image.axis = int(number) + 1;
        break;
    case makeId("IUVI"): image.uvMap = readText(in); break;
    case makeId("IUTL"):
        if (readU4(in, number))
            image.widthWrapMode = wrapMode(number);
        break;
    case makeId("IVTL"):
        if (readU4(in, number))
            image.heightWrapMode = wrapMode(number);
        break;
    case makeId("IINV"):
        if (readU4(in, number))
            image.negative = number != 0;
        break;
    case makeId("IWRL"):
        if (readU4(in, number))
            image.worldCoordinates = number != 0;
        break;
    case makeId("IMOD"):
        if (readU4(in, number) && number <= uint32_t(BlendMode::Additive))
            image.blend = static_cast<BlendMode>(number);
        break;
    case makeId("IOPC"):
        if (readParameter(in, end, v))
            image.opacity = v.x;
        break;
    case makeId("IUTD"):
        if (readParameter(in, end, v))
            image.uTiles = v.x;
        break;
    case makeId("IVTD"):
        if (readParameter(in, end, v))
            image.vTiles = v.x;
        break;
    case makeId("ISCL"): readParameter(in, end, image.size); break;
    case makeId("IPOS"): readParameter(in, end, image.centre); break;
    case makeId("IROT"): readParameter(in, end, image.rotation); break;
    default: break;
    }
}

void readNode(InputStream& in, size_t end, SurfaceNode& node, const NodeLayerReader& readLayers)
{
    eachChunk(in, end, [&](uint32_t id, size_t innerEnd) {
        if (id == makeId("NRNM")) {
            node.type = readText(in);
        } else if (id == makeId("NNME")) {
            node.name = readText(in);
        } else if (id == makeId("NDTA")) {
            eachChunk(in, innerEnd, [&](uint32_t dataId, size_t dataEnd) {
                if (dataId == makeId("ATTR") || dataId == makeId("SATR"))
                    readAttributes(in, dataEnd, node, readLayers);
                else
                    readImageData(in, dataId, dataEnd, node.image);
            });
        }
    });
}

// Each connection: INME (the node taking it), IINM (its input), IINN (the
// node giving it), IONM (that node's output).
void readConnections(InputStream& in, size_t end, std::vector<NodeConnection>& connections)
{
    eachChunk(in, end, [&](uint32_t id, size_t) {
        if (id == makeId("INME")) {
            connections.emplace_back();
            connections.back().node = readText(in);
        } else if (connections.empty()) {
            return;
        } else if (id == makeId("IINM")) {
            connections.back().input = readText(in);
        } else if (id == makeId("IINN")) {
            connections.back().source = readText(in);
        } else if (id == makeId("IONM")) {
            connections.back().output = readText(in);
        }
    });
}

// The first of a panel value's numbers, if the node has it.
bool valueOf(const SurfaceNode& node, const char* name, float& out)
{
    auto found = node.values.find(name);
    if (found == node.values.end() || found->second.empty())
        return false;
    out = float(found->second[0]);
    return true;
}

} // namespace

const SurfaceNode* SurfaceNodeGraph::named(const std::string& name) const
{
    for (const SurfaceNode& node : nodes)
        if (node.name == name)
            return &node;
    return nullptr;
}

const SurfaceNode* SurfaceNodeGraph::sourceOf(const std::string& node, const std::string& input) const
{
    for (const NodeConnection& c : connections)
        if (c.node == node && c.input == input)
            return named(c.source);
    return nullptr;
}

SurfaceNodeGraph readSurfaceNodes(InputStream& in, size_t end, const NodeLayerReader& readLayers)
{
    SurfaceNodeGraph graph;
    eachChunk(in, end, [&](uint32_t id, size_t innerEnd) {
        if (id == makeId("NNDS")) {
            eachChunk(in, innerEnd, [&](uint32_t nodeId, size_t nodeEnd) {
                if (nodeId == makeId("NTAG")) {
                    graph.nodes.emplace_back();
                    readNode(in, nodeEnd, graph.nodes.back(), readLayers);
                }
            });
        } else if (id == makeId("NCON")) {
            readConnections(in, innerEnd, graph.connections);
        }
    });
    return graph;
}

void applySurfaceNodes(const SurfaceNodeGraph& graph, LWSurface& surface)
{
    std::string surfaceNode = "Surface";
    for (const SurfaceNode& node : graph.nodes)
        if (node.type == "Surface")
            surfaceNode = node.name;
    const SurfaceNode* material = graph.sourceOf(surfaceNode, "Material");
    if (!material) {
        if (!graph.connections.empty())
            surface.noteUndrawn("node graph");
        return;
    }
    const bool standard = material->type == "Standard";
    if (!standard && material->type != "Principled BSDF") {
        surface.noteUndrawn(material->type + " material node");
        return;
    }
    auto colour = material->values.find("Color");
    if (colour != material->values.end() && colour->second.size() >= 3)
        for (int c = 0; c < 3; ++c)
            surface.colour[c] = float(colour->second[c]);
    valueOf(*material, "Transparency", surface.transparency);
    if (standard) {
        valueOf(*material, "Diffuse", surface.diffuse);
        valueOf(*material, "Luminosity", surface.luminosity);
        valueOf(*material, "Specular", surface.specular);
        valueOf(*material, "Glossiness", surface.glossiness);
    } else {
        // A physically based material: its colour is the whole diffuse
        // colour; its specular response has no basic-surface counterpart.
        surface.diffuse = 1.0f;
        valueOf(*material, "Luminous", surface.luminosity);
    }
    // A connected input takes the connection; a free one its own layers.
    std::set<std::string> connected;
    for (const NodeConnection& c : graph.connections) {
        if (c.node != material->name)
            continue;
        connected.insert(c.input);
        const SurfaceNode* source = graph.named(c.source);
        const std::string sourceType = source ? source->type : c.source;
        if (c.input == "Color" && c.output == "Color" && source && source->type == "Image" &&
            !source->image.imageName.empty()) {
            LWTextureBlock layer = source->image;
            layer.channel = makeId("COLR");
            surface.colourBlocks.push_back(layer);
        } else {
            surface.noteUndrawn(sourceType + " node on " + c.input);
        }
    }
    for (const auto& [input, layers] : material->layers) {
        if (connected.count(input))
            continue;
        for (const std::string& other : layers.others)
            surface.noteUndrawn(other + " on " + input);
        if (layers.images.empty())
            continue;
        std::vector<LWTextureBlock>* drawn = input == "Color" ? &surface.colourBlocks
                                             : input == "Diffuse" ? &surface.diffuseBlocks
                                                                  : nullptr;
        if (!drawn) {
            surface.noteUndrawn("texture layer on " + input);
            continue;
        }
        for (LWTextureBlock layer : layers.images) {
            // An image layer with no picture chosen shows nothing.
            if (layer.imageName.empty())
                continue;
            layer.channel = makeId(input == "Color" ? "COLR" : "DIFF");
            drawn->push_back(layer);
        }
        std::stable_sort(drawn->begin(), drawn->end(),
                         [](const LWTextureBlock& a, const LWTextureBlock& b) { return a.ordinal < b.ordinal; });
    }
}

} // namespace LW
