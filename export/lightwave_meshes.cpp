// LightWave objects as glTF meshes, straight from the importer's mesh parts:
// smoothed normals, vertex colours, the first texture set with its
// projection already baked, and no limit on vertices per surface.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "export/gltf_export.h"
#include "export/mesh_primitive.h"
#include "import/lws_files.h"
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
        const std::string file = LW::locateFile(candidate, record);
        std::ifstream in(file, std::ios::binary);
        if (!in)
            continue;
        Image image;
        image.name = name;
        image.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const auto& b = image.bytes;
        if (b.size() > 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
            image.mimeType = "image/png";
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

int materialOf(Document& document, const LW::Scene& record, uint32_t surfaceIndex)
{
    const LW::LWSurface* surface = surfaceIndex < record.surfaces.size() ? record.surfaces[surfaceIndex].get() : nullptr;
    const std::string name = surface ? surface->name : std::string("Default");
    for (size_t m = 0; m < document.materials.size(); ++m)
        if (document.materials[m].name == name)
            return int(m);
    Material material;
    material.name = name;
    if (surface && surface->described) {
        // LightWave lights a surface by its colour times its diffuse level.
        for (int c = 0; c < 3; ++c)
            material.baseColour[c] = std::clamp(surface->colour[c] * surface->diffuse, 0.0f, 1.0f);
    }
    if (surface) {
        const auto& blocks = surface->colourBlocks.empty() ? surface->diffuseBlocks : surface->colourBlocks;
        if (!blocks.empty() && !blocks[0]->imageName.empty()) {
            material.image = imageOf(document, blocks[0]->imageName, record);
            if (material.image >= 0) {
                material.textureScale[0] = blocks[0]->widthWrap;
                material.textureScale[1] = blocks[0]->heightWrap;
                // The texture shows the picture as it is, untinted.
                std::fill(material.baseColour, material.baseColour + 3, 1.0f);
            }
        }
        size_t images = surface->colourBlocks.size() + surface->diffuseBlocks.size();
        if (images > 1)
            document.notCarried.push_back("surface '" + name + "': texture layers beyond the first");
    }
    document.materials.push_back(material);
    return int(document.materials.size() - 1);
}

} // namespace

int addLightWaveMesh(Document& document, LW::Scene& record, const std::string& path, uint32_t layer,
                     const std::string& name)
{
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record, layer);
    hlv::RobustMesh& mesh = *object.mesh;
    mesh.build(hlv::RobustMesh::ComputeNormals);
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
        MeshArrays arrays;
        arrays.positions = &part.positions;
        arrays.normals = part.hasNormals() ? &part.normals : nullptr;
        arrays.colours = part.hasWeights() ? &part.weights : nullptr;
        arrays.uvs = part.uvLayerCount > 0 ? part.uvLayers[0].data() : nullptr;
        arrays.indices = part.indices.data();
        arrays.triangleCount = part.triangleCount;
        Primitive primitive = primitiveOf(arrays, 89.5f);
        primitive.material = materialOf(document, record, surfaceIndex);
        if (document.materials[size_t(primitive.material)].image < 0)
            primitive.uvs.clear();
        out.primitives.push_back(std::move(primitive));
    }
    if (out.primitives.empty())
        return -1;
    document.meshes.push_back(std::move(out));
    return int(document.meshes.size() - 1);
}

std::vector<LightWaveLayer> lightWaveLayers(const std::string& path, LW::Scene& record)
{
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record, 0);
    std::vector<LightWaveLayer> layers;
    for (const LW::Lwo2Layer& layer : object.layers)
        layers.push_back({uint32_t(layer.number) + 1, layer.parent, layer.name});
    if (layers.empty())
        layers.push_back({1, -1, ""});
    return layers;
}

} // namespace gltf_export
