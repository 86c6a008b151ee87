#pragma once
// LWO3 surfaces whose look is a node graph, laid out as LightWave 2018
// saves them: a surface form holds only its name, VERS and NODS (no COLR
// or DIFF); the graph holds the Surface and Input nodes, material nodes whose
// panel values are ENTR forms of double-precision vparams, Image nodes with
// their clip inline, and the connections.

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tools/writers/lwo2_writer.h"

namespace lwo3_nodes {

using writers::Lwo2Bytes;

inline Lwo2Bytes& f8(Lwo2Bytes& bytes, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bytes.u4(uint32_t(bits >> 32)).u4(uint32_t(bits));
}

// An image-map layer of a node input (TXTR), as LightWave writes one:
// UV-mapped, its picture the top-level clip `clip` (0 for none chosen). A
// surface's own layer names its channel instead; `header` PROC makes it a
// procedural texture.
inline Lwo2Bytes inputLayer(uint32_t clip, const std::string& uvMap, const std::string& channel = "txtr",
                            const std::string& header = "IMAP")
{
    Lwo2Bytes imap, mapping, block;
    imap.chunk("    ", Lwo2Bytes().s0("\x80"))
        .chunk("CHAN", Lwo2Bytes().id4(channel))
        .form("OPAC", Lwo2Bytes().chunk("    ", Lwo2Bytes().u2(0).f4(1).vx(0)))
        .chunk("ENAB", Lwo2Bytes().u2(1))
        .chunk("NEGA", Lwo2Bytes().u2(0));
    mapping.form("CNTR", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(0).f4(0).f4(0).vx(0)))
        .form("SIZE", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(1).f4(1).f4(1).vx(0)))
        .form("ROTA", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(0).f4(0).f4(0).vx(0)))
        .form("FALL", Lwo2Bytes().chunk("    ", Lwo2Bytes().u2(0).f4(0).f4(0).f4(0).vx(0)))
        .chunk("OREF", Lwo2Bytes().s0("(none)"))
        .chunk("CSYS", Lwo2Bytes().u2(0));
    block.form(header, imap).form("TMAP", mapping);
    if (header == "PROC") {
        // A procedural's axis, value and function (name and settings).
        Lwo2Bytes function;
        function.s0("Fractal Noise").u4(3).f4(0.5f).f4(0.5f);
        return Lwo2Bytes().form("BLOK", block.chunk("AXIS", Lwo2Bytes().u2(2))
                                            .chunk("VALU", Lwo2Bytes().f4(0.8f))
                                            .form("FUNC", Lwo2Bytes().chunk("    ", function)));
    }
    block.chunk("PROJ", Lwo2Bytes().u2(5))
        .chunk("AXIS", Lwo2Bytes().u2(2))
        .chunk("IMAG", Lwo2Bytes().vx(clip))
        .chunk("WRAP", Lwo2Bytes().u2(1).u2(1))
        .form("WRPW", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(1).vx(0)))
        .form("WRPH", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(1).vx(0)))
        .chunk("VMAP", Lwo2Bytes().s0(uvMap))
        .chunk("AAST", Lwo2Bytes().u2(0).f4(1))
        .chunk("PIXB", Lwo2Bytes().u2(1));
    return Lwo2Bytes().form("BLOK", block);
}

// One panel value of a material node: a colour (three values) or a level.
struct Input {
    std::string name;
    std::vector<double> values;
    Lwo2Bytes layers{};  // the input's TXTR content, empty for none
};

inline Lwo2Bytes entry(const Input& input)
{
    Lwo2Bytes numbers, value, body;
    numbers.u4(uint32_t(input.values.size()));
    for (double v : input.values)
        f8(numbers, v);
    value.chunk("    ", Lwo2Bytes().s0(input.values.size() == 3 ? "vparam3" : "vparam"))
        .form("VALU", Lwo2Bytes().chunk("    ", numbers));
    if (!input.layers.data().empty())
        value.form("TXTR", input.layers);
    body.chunk("NAME", Lwo2Bytes().s0(input.name))
        .chunk("FLAG", Lwo2Bytes().u4(0))
        .chunk("TAG ", Lwo2Bytes().s0("ENVELOPE").s0("On"))
        .chunk("TAG ", Lwo2Bytes().s0("NodeInputID").s0(""))
        .form("VALU", value);
    return Lwo2Bytes().form("ENTR", body);
}

// NSRV and NTAG of a node; `data` is its NDTA content.
inline Lwo2Bytes node(const std::string& type, const std::string& name, const Lwo2Bytes& data,
                      const std::string& preview)
{
    Lwo2Bytes tag;
    tag.chunk("NRNM", Lwo2Bytes().s0(type))
        .chunk("NNME", Lwo2Bytes().s0(name))
        .chunk("NCRD", Lwo2Bytes().u4(0).u4(0))
        .chunk("NMOD", Lwo2Bytes().u4(1))
        .chunk("NSEL", Lwo2Bytes().u4(0))
        .form("NDTA", data)
        .chunk("NPRW", Lwo2Bytes().s0(preview));
    return Lwo2Bytes().chunk("NSRV", Lwo2Bytes().s0(type)).form("NTAG", tag);
}

// A Standard node's values are SATR, a Principled BSDF's ATTR.
inline Lwo2Bytes materialNode(const std::string& type, const std::string& name, const std::vector<Input>& inputs)
{
    Lwo2Bytes entries;
    for (const Input& input : inputs)
        entries.bytes(entry(input).data());
    Lwo2Bytes meta;
    meta.chunk("VERS", Lwo2Bytes().u4(1)).chunk("ENUM", Lwo2Bytes().u4(0)).form("ADAT", entries);
    Lwo2Bytes data;
    data.form(type == "Standard" ? "SATR" : "ATTR", Lwo2Bytes().form("META", meta));
    return node(type, name, data, "Material");
}

inline Lwo2Bytes parameter(const std::string& id, std::vector<float> values)
{
    Lwo2Bytes floats;
    for (float v : values)
        floats.f4(v);
    floats.vx(0);
    Lwo2Bytes vprm;
    vprm.chunk("    ", Lwo2Bytes().u4(3).u4(0)).form("VPVL", Lwo2Bytes().chunk("    ", floats));
    return Lwo2Bytes().form(id, Lwo2Bytes().form("VPRM", vprm));
}

struct ImageSettings {
    std::string file;
    std::string uvMap = "Texture";
    float uTiles = 1, vTiles = 1;
    uint32_t uWrap = 1, vWrap = 1;
};

inline Lwo2Bytes imageNode(const std::string& name, const ImageSettings& image)
{
    Lwo2Bytes clip;
    clip.form("STIL", Lwo2Bytes().chunk("    ", Lwo2Bytes().s0(image.file))).chunk("FLAG", Lwo2Bytes().u4(0x80));
    Lwo2Bytes data;
    data.bytes(parameter("IBGC", {0, 0, 0}).data())
        .bytes(parameter("IOPC", {1}).data())
        .chunk("IPIX", Lwo2Bytes().u4(1))
        .chunk("IMIP", Lwo2Bytes().u4(1))
        .form("IMST", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(1)))
        .chunk("IMOD", Lwo2Bytes().u4(0))
        .chunk("IINV", Lwo2Bytes().u4(0))
        .chunk("INCR", Lwo2Bytes().u4(0))
        .form("IIMG", Lwo2Bytes().form("CLIP", clip))
        .bytes(parameter("IBMP", {1}).data())
        .chunk("IMAP", Lwo2Bytes().u4(5))
        .chunk("IAXS", Lwo2Bytes().u4(2))
        .bytes(parameter("IUTD", {image.uTiles}).data())
        .bytes(parameter("IVTD", {image.vTiles}).data())
        .bytes(parameter("ISCL", {1, 1, 1}).data())
        .bytes(parameter("IPOS", {0, 0, 0}).data())
        .bytes(parameter("IROT", {0, 0, 0}).data())
        .bytes(parameter("IFAL", {0, 0, 0}).data())
        .chunk("IFOT", Lwo2Bytes().u4(0))
        .chunk("IWRL", Lwo2Bytes().u4(0))
        .chunk("IREF", Lwo2Bytes().s0(""))
        .chunk("IUVI", Lwo2Bytes().s0(image.uvMap))
        .chunk("IUTI", Lwo2Bytes().u4(0))
        .chunk("ITIM", Lwo2Bytes().u4(0))
        .chunk("IUTL", Lwo2Bytes().u4(image.uWrap))
        .chunk("IVTL", Lwo2Bytes().u4(image.vWrap));
    return node("Image", name, data, "Color");
}

// `node`'s input takes `source`'s output.
struct Link {
    std::string node, input, source, output;
};

// The NODS form of a surface: the root's view, the version, the Surface and
// Input nodes and `nodes`, and the connections.
inline Lwo2Bytes nodeGraph(const std::vector<Lwo2Bytes>& nodes, const std::vector<Link>& links)
{
    Lwo2Bytes all;
    all.bytes(node("Surface", "Surface", Lwo2Bytes(), "").data())
        .bytes(node("Input", "Input", Lwo2Bytes(), "Item ID").data());
    for (const Lwo2Bytes& n : nodes)
        all.bytes(n.data());
    Lwo2Bytes connections;
    for (const Link& link : links)
        connections.chunk("INME", Lwo2Bytes().s0(link.node))
            .chunk("IINM", Lwo2Bytes().s0(link.input))
            .chunk("IINN", Lwo2Bytes().s0(link.source))
            .chunk("IONM", Lwo2Bytes().s0(link.output));
    Lwo2Bytes root;
    root.chunk("NLOC", Lwo2Bytes().u4(527).u4(345)).chunk("NZOM", Lwo2Bytes().f4(1)).chunk("NSTA", Lwo2Bytes().u2(1));
    Lwo2Bytes graph;
    graph.form("NROT", root).chunk("NVER", Lwo2Bytes().u4(1)).form("NNDS", all).form("NCON", connections);
    return graph;
}

// A whole surface form's body; `more` goes after the node graph (SMAN, SIDE
// or a surface's own texture layers).
inline std::vector<uint8_t> surfaceForm(const std::string& name, const Lwo2Bytes& graph,
                                        const Lwo2Bytes& more = Lwo2Bytes())
{
    Lwo2Bytes body;
    body.chunk("    ", Lwo2Bytes().s0(name).s0(""))
        .chunk("VERS", Lwo2Bytes().u4(0x70d))
        .form("NODS", graph)
        .bytes(more.data());
    return Lwo2Bytes().id4("SURF").bytes(body.data()).data();
}

// Two quads as LightWave 2018 saves them, UV-mapped by "Texture": surface
// "Picture" drawn by a Principled BSDF node (1, 0.5, 0) with an Image node
// showing Images/grid.png on its colour, surface "Layer" by a Standard node
// (0, 0.25, 1) with an image layer of clip 1 (Images/clip.png) on its colour.
inline std::vector<uint8_t> pictureAndLayerQuads()
{
    ImageSettings grid;
    grid.file = "Images/grid.png";
    const Lwo2Bytes principled =
        nodeGraph({materialNode("Principled BSDF", "Principled BSDF (1)", {{"Color", {1, 0.5, 0}}}),
                   imageNode("Image (1)", grid)},
                  {{"Surface", "Material", "Principled BSDF (1)", "Material"},
                   {"Principled BSDF (1)", "Color", "Image (1)", "Color"}});
    const Lwo2Bytes standard =
        nodeGraph({materialNode("Standard", "Standard (1)", {{"Color", {0, 0.25, 1}, inputLayer(1, "Texture")}})},
                  {{"Surface", "Material", "Standard (1)", "Material"}});
    const std::vector<Vector3f> points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                          {2, 0, 0}, {3, 0, 0}, {3, 1, 0}, {2, 1, 0}};
    std::vector<writers::Lwo2MapEntry> uvs;
    for (uint32_t i = 0; i < points.size(); ++i)
        uvs.push_back({i, 0, {points[i].x - (i < 4 ? 0 : 2), points[i].y}});
    writers::Lwo2Writer w(writers::ObjectFormat::Lwo3);
    w.tags({"Picture", "Layer"}).layer(0).points(points).boundingBox(points).vertexMap("TXUV", 2, "Texture", uvs);
    w.polygons({{0, 1, 2, 3}, {4, 5, 6, 7}}).surfaceTags({{0, 0}, {1, 1}}).clip(1, "Images/clip.png");
    w.chunk("FORM", surfaceForm("Picture", principled)).chunk("FORM", surfaceForm("Layer", standard));
    return w.bytes();
}

} // namespace lwo3_nodes
