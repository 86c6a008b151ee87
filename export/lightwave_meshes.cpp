// LightWave objects as glTF meshes, straight from the importer's mesh parts:
// smoothed normals, vertex colours, the first texture set with its
// projection already baked, and no limit on vertices per surface.
#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

#include "export/gltf_export.h"
#include "export/mesh_primitive.h"
#include "export/png_bytes.h"
#include "import/content_directory.h"
#include "import/lws_object.h"
#include "platform/path.h"

namespace gltf_export {

namespace {

// The picture's own bytes when glTF can hold them (PNG or JPEG).
int imageOf(Document& document, const std::string& name, const LW::Scene& record)
{
    for (size_t i = 0; i < document.images.size(); ++i)
        if (document.images[i].name == name)
            return int(i);
    const std::string candidates[] = {name, platform::renameExtension(name, ".jpg"),
                                      platform::fileNamePart(name.c_str())};
    for (const std::string& candidate : candidates) {
        // As the import finds pictures: through the content directory of
        // each search folder (the scene's among them), never from the
        // working folder.
        const std::string file = LW::findContentFile(candidate, std::string(), record.searchDirectories);
        if (file.empty())
            continue;
        std::ifstream in(platform::filesystemPath(file), std::ios::binary);
        if (!in)
            continue;
        Image image;
        image.name = name;
        image.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const auto& b = image.bytes;
        if (b.size() > 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
            image.mimeType = "image/png";
            image.bytes = withoutColourSpaceNotes(image.bytes);
        }
        else if (b.size() > 3 && b[0] == 0xFF && b[1] == 0xD8)
            image.mimeType = "image/jpeg";
        else
            break;
        document.images.push_back(std::move(image));
        return int(document.images.size() - 1);
    }
    document.notCarried.push_back("image '" + name + "' (not found as PNG or JPEG)");
    return -1;
}

int wrapOf(LW::WrapMode mode)
{
    switch (mode) {
    case LW::WrapMode::Repeat: return Material::kRepeat;
    case LW::WrapMode::Mirror: return Material::kMirroredRepeat;
    default: return Material::kClampToEdge;  // edge; reset (nothing outside) comes closest
    }
}

// LightWave's surface as glTF's metallic-roughness model: colour times
// diffuse as the base colour, luminosity as emission, transparency as alpha,
// glossiness as roughness through its Phong exponent 2^(10 g + 2)
// (roughness = (2 / (n + 2))^(1/4)); a surface without specular is fully rough.
int materialOf(Document& document, const LW::Scene& record, uint32_t surfaceIndex)
{
    const LW::LWSurface* surface = surfaceIndex < record.surfaces.size() ? record.surfaces[surfaceIndex].get() : nullptr;
    const std::string name = surface ? surface->name : std::string("Default");
    // Every object's surfaces are its own, whatever their names (the writer
    // makes the names unique).
    const auto made = document.materialOfSurface.find(surface);
    if (made != document.materialOfSurface.end())
        return made->second;
    const LW::LWSurface defaults;
    const LW::LWSurface& s = surface ? *surface : defaults;
    Material material;
    material.name = name;
    for (int c = 0; c < 3; ++c) {
        material.baseColour[c] = std::clamp(s.colour[c] * s.diffuse, 0.0f, 1.0f);
        material.emissive[c] = std::clamp(s.colour[c] * s.luminosity, 0.0f, 1.0f);
    }
    material.baseColour[3] = std::clamp(1 - s.transparency, 0.0f, 1.0f);
    material.blend = s.transparency > 0;
    material.doubleSided = s.doubleSided;
    if (s.specular > 0) {
        const double exponent = std::pow(2.0, 10.0 * s.glossiness + 2);
        material.roughness = float(std::pow(2 / (exponent + 2), 0.25));
    }
    std::vector<const LW::LWTextureBlock*> layers = LW::LWSurface::enabledOf(s.colourBlocks);
    if (layers.empty())
        layers = LW::LWSurface::enabledOf(s.diffuseBlocks);
    if (!layers.empty() && !layers[0]->imageName.empty()) {
        // Projections and wrap counts are baked into the first UV set.
        material.image = imageOf(document, layers[0]->imageName, record);
        if (material.image >= 0) {
            material.wrap[0] = wrapOf(layers[0]->widthWrapMode);
            material.wrap[1] = wrapOf(layers[0]->heightWrapMode);
            // The picture as it is; LightWave lays the layer over the colour.
            std::fill(material.baseColour, material.baseColour + 3, std::clamp(s.diffuse, 0.0f, 1.0f));
        }
    }
    if (LW::LWSurface::enabledOf(s.colourBlocks).size() + LW::LWSurface::enabledOf(s.diffuseBlocks).size() > 1)
        document.notCarried.push_back("surface '" + name + "': image layers beyond the first");
    for (const std::string& what : s.undrawn)
        document.notCarried.push_back("surface '" + name + "': " + what);
    if (!s.vertexColourMap.empty()) {
        // The vertex colours carry the surface colour mixed with the map's,
        // diffuse and opacity included; glTF multiplies them by this.
        std::fill(material.baseColour, material.baseColour + 4, 1.0f);
        material.vertexColours = true;
    }
    document.materials.push_back(material);
    document.materialOfSurface[surface] = int(document.materials.size() - 1);
    return int(document.materials.size() - 1);
}

} // namespace

namespace {

int meshOf(Document& document, const LW::Scene& record, LW::SceneObject& object, const std::string& name)
{
    hlv::RobustMesh& mesh = *object.mesh;
    // Normals come from each surface's own smoothing angle, not the player's.
    mesh.build(0);
    // Parts come in ascending surface-tag order.
    const std::set<uint32_t> tags(mesh.surfaceIds().begin(), mesh.surfaceIds().end());
    auto tag = tags.begin();
    Mesh out;
    out.name = name;
    for (const hlv::MeshPart& part : mesh.parts()) {
        const uint32_t surfaceIndex = tag != tags.end() && *tag < object.tagSurface.size() ? object.tagSurface[*tag] : ~0u;
        if (tag != tags.end())
            ++tag;
        if (part.triangleCount == 0)
            continue;
        const LW::LWSurface* surface = surfaceIndex < record.surfaces.size() ? record.surfaces[surfaceIndex].get() : nullptr;
        // What LightWave shows at each vertex: the map mixed into the
        // surface colour by the map's intensity.
        std::vector<uint32_t> colours;
        if (part.hasWeights() && surface && !surface->vertexColourMap.empty())
            for (uint32_t packed : part.weights) {
                const std::array<uint8_t, 4> rgba = surface->vertexColourBytes(packed);
                colours.push_back(uint32_t(rgba[0]) << 24 | uint32_t(rgba[1]) << 16 | uint32_t(rgba[2]) << 8 | rgba[3]);
            }
        MeshArrays arrays;
        arrays.positions = &part.positions;
        arrays.colours = colours.empty() ? nullptr : &colours;
        arrays.uvs = part.uvLayerCount > 0 ? part.uvLayers[0].data() : nullptr;
        arrays.uvsFromTop = true;  // the importer turns LightWave's UVs to the picture's top row
        arrays.indices = part.indices.data();
        arrays.triangleCount = part.triangleCount;
        const float smoothing = surfaceIndex < record.surfaces.size() ? record.surfaces[surfaceIndex]->smoothingAngle : 0;
        Primitive primitive = primitiveOf(arrays, smoothing * float(180 / M_PI));
        primitive.material = materialOf(document, record, surfaceIndex);
        Material& material = document.materials[size_t(primitive.material)];
        // An RGBA map's see-through vertices make the surface a blended one.
        for (size_t v = 3; v < primitive.colours.size() && material.vertexColours && !material.blend; v += 4)
            material.blend = primitive.colours[v] < 1;
        if (material.image < 0)
            primitive.uvs.clear();
        if (!material.vertexColours)
            primitive.colours.clear();
        out.primitives.push_back(std::move(primitive));
    }
    if (out.primitives.empty())
        return -1;
    document.meshes.push_back(std::move(out));
    return int(document.meshes.size() - 1);
}

} // namespace

int addLightWaveMesh(Document& document, LW::Scene& record, const std::string& path, uint32_t layer,
                     const std::string& name)
{
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record, layer);
    return meshOf(document, record, object, name);
}

std::vector<LightWaveLayer> addLightWaveLayers(Document& document, LW::Scene& record, const std::string& path,
                                               const std::string& name)
{
    LW::SceneObject whole = LW::readSceneObject(path.c_str(), record, 0);
    std::vector<LightWaveLayer> layers;
    if (whole.layers.size() <= 1) {
        // One layer: the object as read.
        layers.push_back({1, -1, name, meshOf(document, record, whole, name)});
        return layers;
    }
    for (const LW::Lwo2Layer& layer : whole.layers) {
        const std::string layerName = layer.name.empty() ? "Layer " + std::to_string(layer.number + 1) : layer.name;
        layers.push_back({uint32_t(layer.number) + 1, layer.parent, layerName,
                          addLightWaveMesh(document, record, path, uint32_t(layer.number) + 1, layerName)});
    }
    return layers;
}

void addLightWaveObjectNodes(Document& document, const std::vector<LightWaveLayer>& layers)
{
    const size_t first = document.nodes.size();
    for (const LightWaveLayer& layer : layers) {
        Node node;
        node.name = layer.name;
        node.mesh = layer.mesh;
        document.nodes.push_back(node);
    }
    // LAYR numbers count from 0; a parent may come anywhere in the file. A
    // parent that would close a loop (a damaged file) is left out.
    auto nodeOfNumber = [&](int number) {
        for (size_t i = 0; i < layers.size(); ++i)
            if (number >= 0 && layers[i].layer == uint32_t(number) + 1)
                return int(first + i);
        return -1;
    };
    for (size_t i = 0; i < layers.size(); ++i) {
        const int parent = nodeOfNumber(layers[i].parentNumber);
        bool loop = false;
        for (int above = parent, steps = 0; above >= 0 && !loop; above = document.nodes[size_t(above)].parent, ++steps)
            loop = above == int(first + i) || steps > int(layers.size());
        if (!loop)
            document.nodes[first + i].parent = parent;
    }
}

} // namespace gltf_export
