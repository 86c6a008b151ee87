// The records into tinygltf's model and out as .glb or .gltf. All binary
// data goes into one buffer: the .glb's binary chunk, or a .bin file beside
// a .gltf, whose pictures are files beside it too: tools that edit a .gltf
// expect to find them there.
#define TINYGLTF_IMPLEMENTATION
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "export/gltf_export.h"
#include "export/names.h"

namespace gltf_export {

namespace {

// LightWave and the player give colours as the screen shows them (sRGB
// values); glTF's colour factors, vertex colours and light colours are
// linear, so a viewer that encodes its output shows them as LightWave did.
double linearFromDisplay(float value)
{
    return value <= 0.04045f ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// Colours of `width` components, the first three of each made linear (a
// fourth, alpha, is linear already).
std::vector<float> linearColours(const float* colours, size_t count, int width)
{
    std::vector<float> out(colours, colours + count);
    for (size_t i = 0; i < count; ++i)
        if (i % width < 3)
            out[i] = float(linearFromDisplay(colours[i]));
    return out;
}

class ModelBuilder {
public:
    explicit ModelBuilder(tinygltf::Model& model) : model_(model)
    {
        model_.buffers.emplace_back();
        model_.asset.version = "2.0";
        model_.asset.generator = "Sky Drift hlvtool";
    }

    int view(const void* data, size_t bytes, int target)
    {
        std::vector<unsigned char>& buffer = model_.buffers[0].data;
        buffer.resize((buffer.size() + 3) & ~size_t(3), 0);
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = buffer.size();
        view.byteLength = bytes;
        view.target = target;
        const auto* bytesIn = static_cast<const unsigned char*>(data);
        buffer.insert(buffer.end(), bytesIn, bytesIn + bytes);
        model_.bufferViews.push_back(view);
        return int(model_.bufferViews.size() - 1);
    }

    // A float accessor of `width` components (TINYGLTF_TYPE_*); min and max
    // where glTF asks for them.
    int floats(const std::vector<float>& values, int width, int type, int target, bool bounds)
    {
        tinygltf::Accessor accessor;
        accessor.bufferView = view(values.data(), values.size() * sizeof(float), target);
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.count = values.size() / size_t(width);
        accessor.type = type;
        if (bounds) {
            accessor.minValues.assign(size_t(width), 0);
            accessor.maxValues.assign(size_t(width), 0);
            for (size_t i = 0; i < values.size(); ++i) {
                const size_t c = i % size_t(width);
                if (i < size_t(width) || values[i] < accessor.minValues[c])
                    accessor.minValues[c] = values[i];
                if (i < size_t(width) || values[i] > accessor.maxValues[c])
                    accessor.maxValues[c] = values[i];
            }
        }
        model_.accessors.push_back(accessor);
        return int(model_.accessors.size() - 1);
    }

    // 16-bit indices where every vertex number fits (65535 is kept out: it
    // is the primitive-restart value).
    int indices(const std::vector<uint32_t>& values, size_t vertexCount)
    {
        tinygltf::Accessor accessor;
        if (vertexCount <= 65535) {
            std::vector<uint16_t> shorts(values.begin(), values.end());
            accessor.bufferView = view(shorts.data(), shorts.size() * 2, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
            accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
        } else {
            accessor.bufferView = view(values.data(), values.size() * 4, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
            accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
        }
        accessor.count = values.size();
        accessor.type = TINYGLTF_TYPE_SCALAR;
        model_.accessors.push_back(accessor);
        return int(model_.accessors.size() - 1);
    }

private:
    tinygltf::Model& model_;
};

tinygltf::Value object(const std::string& key, tinygltf::Value value)
{
    tinygltf::Value::Object o;
    o[key] = std::move(value);
    return tinygltf::Value(o);
}

void addMeshes(const Document& document, tinygltf::Model& model, ModelBuilder& builder)
{
    UniqueNames names;
    for (const Mesh& mesh : document.meshes) {
        tinygltf::Mesh out;
        out.name = names.take(utf8Of(mesh.name));
        for (const Primitive& primitive : mesh.primitives) {
            tinygltf::Primitive p;
            p.mode = TINYGLTF_MODE_TRIANGLES;
            p.material = primitive.material;
            const size_t vertices = primitive.positions.size() / 3;
            p.attributes["POSITION"] =
                builder.floats(primitive.positions, 3, TINYGLTF_TYPE_VEC3, TINYGLTF_TARGET_ARRAY_BUFFER, true);
            if (!primitive.normals.empty())
                p.attributes["NORMAL"] =
                    builder.floats(primitive.normals, 3, TINYGLTF_TYPE_VEC3, TINYGLTF_TARGET_ARRAY_BUFFER, false);
            if (!primitive.uvs.empty())
                p.attributes["TEXCOORD_0"] =
                    builder.floats(primitive.uvs, 2, TINYGLTF_TYPE_VEC2, TINYGLTF_TARGET_ARRAY_BUFFER, false);
            if (!primitive.colours.empty())
                p.attributes["COLOR_0"] =
                    builder.floats(linearColours(primitive.colours.data(), primitive.colours.size(), 4), 4, TINYGLTF_TYPE_VEC4, TINYGLTF_TARGET_ARRAY_BUFFER, false);
            p.indices = builder.indices(primitive.indices, vertices);
            out.primitives.push_back(p);
        }
        model.meshes.push_back(out);
    }
}

// A file name as a relative URI: bytes outside URI's unreserved set
// percent-encoded.
std::string uriOf(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri;
    for (unsigned char c : name) {
        if (std::isalnum(c) || std::strchr("-._~", c))
            uri += char(c);
        else
            uri += {'%', hex[c >> 4], hex[c & 15]};
    }
    return uri;
}

// Pictures go into the buffer, or, with `beside`, into files of their own.
void addMaterials(const Document& document, tinygltf::Model& model, ModelBuilder& builder,
                  const std::string& besideName, Written* beside)
{
    std::vector<int> imageOf;
    UniqueNames imageNames, materialNames;
    for (const Image& image : document.images) {
        tinygltf::Image out;
        out.name = imageNames.take(utf8Of(image.name));
        out.mimeType = image.mimeType;
        if (beside) {
            const std::string name = besideName + "_" + std::to_string(imageOf.size()) +
                                     (image.mimeType == "image/jpeg" ? ".jpg" : ".png");
            out.uri = uriOf(name);
            beside->beside.push_back({name, image.bytes});
        } else {
            out.bufferView = builder.view(image.bytes.data(), image.bytes.size(), 0);
        }
        model.images.push_back(out);
        imageOf.push_back(int(model.images.size() - 1));
    }
    bool transformed = false;
    for (const Material& material : document.materials) {
        tinygltf::Material out;
        out.name = materialNames.take(utf8Of(material.name));
        const std::vector<float> base = linearColours(material.baseColour, 4, 4);
        out.pbrMetallicRoughness.baseColorFactor.assign(base.begin(), base.end());
        out.pbrMetallicRoughness.metallicFactor = material.metallic;
        out.pbrMetallicRoughness.roughnessFactor = material.roughness;
        const std::vector<float> emissive = linearColours(material.emissive, 3, 3);
        out.emissiveFactor.assign(emissive.begin(), emissive.end());
        out.alphaMode = material.blend ? "BLEND" : "OPAQUE";
        out.doubleSided = material.doubleSided;
        if (material.image >= 0 && size_t(material.image) < document.images.size()) {
            // One texture per image and wrap: samplers differ by wrap only.
            tinygltf::Sampler sampler;
            sampler.wrapS = material.wrap[0];
            sampler.wrapT = material.wrap[1];
            sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
            sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
            model.samplers.push_back(sampler);
            tinygltf::Texture texture;
            texture.source = imageOf[size_t(material.image)];
            texture.sampler = int(model.samplers.size() - 1);
            model.textures.push_back(texture);
            out.pbrMetallicRoughness.baseColorTexture.index = int(model.textures.size() - 1);
            if (material.textureScale[0] != 1 || material.textureScale[1] != 1) {
                tinygltf::Value::Array scale{tinygltf::Value(double(material.textureScale[0])),
                                             tinygltf::Value(double(material.textureScale[1]))};
                out.pbrMetallicRoughness.baseColorTexture.extensions["KHR_texture_transform"] =
                    object("scale", tinygltf::Value(scale));
                transformed = true;
            }
        }
        model.materials.push_back(out);
    }
    if (transformed)
        model.extensionsUsed.push_back("KHR_texture_transform");
}

void addNodes(const Document& document, tinygltf::Model& model)
{
    tinygltf::Scene scene;
    UniqueNames nodeNames, cameraNames, lightNames;
    for (size_t i = 0; i < document.nodes.size(); ++i) {
        const Node& node = document.nodes[i];
        tinygltf::Node out;
        out.name = nodeNames.take(utf8Of(node.name));
        if (node.translation[0] != 0 || node.translation[1] != 0 || node.translation[2] != 0)
            out.translation.assign(node.translation, node.translation + 3);
        if (node.rotation[0] != 0 || node.rotation[1] != 0 || node.rotation[2] != 0 || node.rotation[3] != 1)
            out.rotation.assign(node.rotation, node.rotation + 4);
        if (node.scale[0] != 1 || node.scale[1] != 1 || node.scale[2] != 1)
            out.scale.assign(node.scale, node.scale + 3);
        out.mesh = node.mesh;
        out.camera = node.camera;
        if (node.sceneNode > 0)
            out.extras = object("sceneNode", tinygltf::Value(node.sceneNode));
        if (node.light >= 0)
            out.extensions["KHR_lights_punctual"] = object("light", tinygltf::Value(node.light));
        model.nodes.push_back(out);
    }
    // A parent may come after its child (a layer's parent later in the file).
    for (size_t i = 0; i < document.nodes.size(); ++i) {
        const int parent = document.nodes[i].parent;
        if (parent >= 0 && size_t(parent) < document.nodes.size() && parent != int(i))
            model.nodes[size_t(parent)].children.push_back(int(i));
        else
            scene.nodes.push_back(int(i));
    }
    model.scenes.push_back(scene);
    model.defaultScene = 0;
    for (const Camera& camera : document.cameras) {
        tinygltf::Camera out;
        out.name = cameraNames.take(utf8Of(camera.name));
        out.type = "perspective";
        out.perspective.yfov = camera.yfov;
        out.perspective.aspectRatio = camera.aspectRatio;
        out.perspective.znear = camera.znear;
        out.perspective.zfar = camera.zfar;
        model.cameras.push_back(out);
    }
    static const char* const kinds[] = {"directional", "point", "spot"};
    for (const Light& light : document.lights) {
        tinygltf::Light out;
        out.name = lightNames.take(utf8Of(light.name));
        out.type = kinds[light.kind];
        const std::vector<float> colour = linearColours(light.colour, 3, 3);
        out.color.assign(colour.begin(), colour.end());
        out.intensity = light.intensity;
        out.spot.innerConeAngle = light.innerCone;
        out.spot.outerConeAngle = light.outerCone;
        model.lights.push_back(out);
    }
}

void addAnimation(const Document& document, tinygltf::Model& model, ModelBuilder& builder)
{
    if (document.channels.empty())
        return;
    static const char* const paths[] = {"translation", "rotation", "scale"};
    static const char* const interpolations[] = {"LINEAR", "STEP", "CUBICSPLINE"};
    tinygltf::Animation animation;
    animation.name = "motion";
    for (const Channel& channel : document.channels) {
        tinygltf::AnimationSampler sampler;
        sampler.input = builder.floats(channel.times, 1, TINYGLTF_TYPE_SCALAR, 0, true);
        const bool rotation = channel.path == Channel::Rotation;
        sampler.output =
            builder.floats(channel.values, rotation ? 4 : 3, rotation ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3, 0, false);
        sampler.interpolation = interpolations[channel.interpolation];
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel out;
        out.sampler = int(animation.samplers.size() - 1);
        out.target_node = channel.node;
        out.target_path = paths[channel.path];
        animation.channels.push_back(out);
    }
    model.animations.push_back(animation);
}

} // namespace

Written writeGltf(const Document& document, bool binary, const std::string& besideName)
{
    Written written;
    tinygltf::Model model;
    ModelBuilder builder(model);
    if (document.timeShift != 0)
        model.asset.extras = object("timeShift", tinygltf::Value(double(document.timeShift)));
    addMeshes(document, model, builder);
    addMaterials(document, model, builder, besideName, binary ? nullptr : &written);
    addNodes(document, model);
    addAnimation(document, model, builder);
    std::vector<unsigned char> buffer = std::move(model.buffers[0].data);
    buffer.resize((buffer.size() + 3) & ~size_t(3), 0);
    if (buffer.empty())
        model.buffers.clear();
    else if (binary)
        model.buffers[0].data = std::move(buffer);
    // tinygltf's stream writer embeds a .gltf's buffer: the buffer is
    // written empty and pointed at its file below.
    std::ostringstream stream;
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToStream(&model, stream, !binary, binary))
        throw std::runtime_error("the glTF writer failed");
    written.main = stream.str();
    if (!binary && !buffer.empty()) {
        nlohmann::json json = nlohmann::json::parse(written.main);
        const std::string name = besideName + ".bin";
        json["buffers"][0] = {{"byteLength", buffer.size()}, {"uri", uriOf(name)}};
        written.main = json.dump(2);
        written.beside.push_back({name, std::move(buffer)});
    }
    return written;
}

} // namespace gltf_export
