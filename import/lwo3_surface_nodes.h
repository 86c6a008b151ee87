#pragma once
// A surface's node graph, as LightWave 2015 and later save it in an LWO3
// surface (FORM NODS). LightWave draws such a surface from its graph: the
// Surface node's Material input, fed by a material node (Standard or
// Principled BSDF) whose panel values and input connections make the look.
// What the graph gives that LightWave's basic surface can hold is taken; the
// rest is named as not drawn.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "import/input_stream.h"
#include "import/lw_surface.h"

namespace LW {

// The texture layers of a node input: its image maps in the file's order,
// and the kinds of the others ("procedural texture", "gradient").
struct NodeInputLayers {
    std::vector<LWTextureBlock> images;
    std::vector<std::string> others;
};

struct SurfaceNode {
    std::string type;  // the node's kind: "Standard", "Principled BSDF", "Image", "Surface", ...
    std::string name;  // the graph's name for it, which connections use: "Image (1)"
    // A material node's panel values by input name ("Color" has three).
    std::map<std::string, std::vector<double>> values;
    // The texture layers of a material node's inputs.
    std::map<std::string, NodeInputLayers> layers;
    // An Image node's picture and how it lies on the surface.
    LWTextureBlock image;
};

// `node`'s input `input` takes the output `output` of node `source`.
struct NodeConnection {
    std::string node, input, source, output;
};

struct SurfaceNodeGraph {
    std::vector<SurfaceNode> nodes;
    std::vector<NodeConnection> connections;

    const SurfaceNode* named(const std::string& name) const;
    // The node feeding `input` of node `node`; null when the input is free.
    const SurfaceNode* sourceOf(const std::string& node, const std::string& input) const;
};

// Reads the texture layers (BLOK forms, as a surface holds them) from the
// cursor up to `end` into `layers`.
using NodeLayerReader = std::function<void(size_t end, NodeInputLayers& layers)>;

// Reads the content of a NODS form from the cursor up to `end`.
SurfaceNodeGraph readSurfaceNodes(InputStream& in, size_t end, const NodeLayerReader& readLayers);

// Gives `surface` what its graph's material shows: the material node's
// colour and shading levels, and as colour (or diffuse) layers the picture
// of an Image node feeding its colour, or the image layers of its colour and
// diffuse inputs. What else feeds the material is named in the surface's
// list of what is not drawn.
void applySurfaceNodes(const SurfaceNodeGraph& graph, LWSurface& surface);

} // namespace LW
