#pragma once
// glTF 2.0 export: a scene as plain records (nodes, meshes, materials,
// cameras, lights, animation channels) in glTF's own right-handed axes, made
// from the player's scenes and written as .glb or .gltf.
//
// Axes: LightWave and the player are left-handed with +Z into the screen;
// glTF is right-handed. Negating Z maps one onto the other, so a point
// (x, y, z) is written (x, y, -z), a rotation matrix R becomes S R S with
// S = diag(1, 1, -1), and triangles are written with their winding reversed.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Scene;
class SceneNode;
class TransformNode;
namespace LW {
struct Scene;
}

namespace gltf_export {

struct Node {
    std::string name;
    int parent = -1;  // index into Document::nodes; -1 for a scene root
    float translation[3] = {0, 0, 0};
    float rotation[4] = {0, 0, 0, 1};  // quaternion x, y, z, w
    float scale[3] = {1, 1, 1};
    int mesh = -1, camera = -1, light = -1;
    int sceneNode = 0;  // the player's node number it stands for (written as extras), or 0
};

struct Primitive {
    int material = -1;
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> normals;    // as positions, or empty
    std::vector<float> uvs;        // u, v per vertex (v down, as glTF reads images), or empty
    std::vector<float> colours;    // r, g, b, a per vertex, or empty
    // Colours here, in materials and in lights are as LightWave shows them
    // (sRGB); the writer stores them linear, as glTF defines its colours.
    std::vector<uint32_t> indices;  // triangles, counter-clockwise seen from outside
};

struct Mesh {
    std::string name;
    std::vector<Primitive> primitives;
};

struct Image {
    std::string name;
    std::string mimeType;  // "image/png" or "image/jpeg"
    std::vector<unsigned char> bytes;
};

struct Material {
    std::string name;
    float baseColour[4] = {0.8f, 0.8f, 0.8f, 1};
    float metallic = 0, roughness = 1;
    float emissive[3] = {0, 0, 0};
    bool blend = false, doubleSided = false;
    bool vertexColours = false;  // its primitives' colours hold the whole colour (base colour white)
    int image = -1;  // base colour texture, or -1
    float textureScale[2] = {1, 1};  // KHR_texture_transform where not (1, 1)
    // The sampler's wrapS and wrapT (glTF's numbers).
    static constexpr int kRepeat = 10497, kMirroredRepeat = 33648, kClampToEdge = 33071;
    int wrap[2] = {kRepeat, kRepeat};
};

struct Camera {
    std::string name;
    float yfov = 0.8f;  // radians
    float aspectRatio = 4.0f / 3.0f;
    float znear = 1, zfar = 2500;
};

struct Light {
    enum Kind { Directional, Point, Spot };
    std::string name;
    Kind kind = Point;
    float colour[3] = {1, 1, 1};
    float intensity = 1;  // lux (directional) or candela
    float innerCone = 0, outerCone = 0.785398f;  // radians, spot lights
};

// One animated property of one node. CubicSpline keys hold in-tangent,
// value and out-tangent, each `width` floats; the others hold the value.
struct Channel {
    enum Path { Translation, Rotation, Scale };
    enum Interpolation { Linear, Step, CubicSpline };
    int node = -1;
    Path path = Translation;
    Interpolation interpolation = Linear;
    std::vector<float> times;
    std::vector<float> values;
};

struct Document {
    std::vector<Node> nodes;
    std::vector<Mesh> meshes;
    std::vector<Material> materials;
    std::vector<Image> images;
    std::vector<Camera> cameras;
    std::vector<Light> lights;
    std::vector<Channel> channels;
    std::vector<std::string> notCarried;  // what the export leaves out, by name
    // Seconds added to every animation time so that the timeline starts at
    // 0 (glTF has no negative times); written in the asset's extras.
    float timeShift = 0;
    // The material made for each source surface, so that two objects'
    // surfaces of one name stay two materials.
    std::map<const void*, int> materialOfSurface;
};

// What the scene's evaluation covers and how finely rotations are sampled.
struct TimeRange {
    float first = 0, last = 0;  // seconds
    float framesPerSecond = 30;
    // Every channel LINEAR at framesPerSecond, keys kept, for readers that
    // ignore CUBICSPLINE tangents (Blender 3.4).
    bool sampled = false;
};

// Called for every scene node as it becomes a glTF node; the returned name
// replaces the one made from the node's kind and number when not empty.
struct NodeNaming {
    virtual ~NodeNaming() = default;
    virtual std::string nameOf(const SceneNode& node) const = 0;
};

// The whole node tree of `scene` with its motion over `range`; shape nodes
// take their mesh from `meshOfPrimitive` (indexed by the scene's primitive
// table, -1 for none), camera nodes a glTF camera. Returns the index of the
// node made for each scene node number (-1 for none).
std::vector<int> addSceneNodes(Document& document, const Scene& scene, const std::vector<int>& meshOfPrimitive,
                               const TimeRange& range, const NodeNaming* naming);

// The animation channels of one transform node's handlers over `range`:
// translation and scale as exact curves, rotation sampled into quaternions.
// Constant handlers give no channel; their value goes into the node.
void addMotion(Document& document, int node, const TransformNode& transform, const TimeRange& range);

// Moves every animation time so that the earliest is 0 when any is
// negative (glTF allows none), adding the shift to `timeShift`; returns it.
float startAtZero(Document& document);

// The earliest and the latest key of any handler in the scene (a loop
// length counts as a key); false when nothing is keyed.
bool keyRange(const Scene& scene, float& first, float& last);

// Meshes of the scene's own primitives (scene files): positions and UVs as
// stored, normals smoothed across edges under `smoothingDegrees`.
std::vector<int> addScenePrimitives(Document& document, const Scene& scene, float smoothingDegrees);

// One LightWave object file (all layers with `layer` 0, else layer N as a
// scene's "LoadObjectLayer N" counts) as a mesh with one primitive per
// surface; materials and images come from the surfaces read into `record`.
// Returns the mesh index, or -1 when the object has no triangles. Throws as
// the object reader does.
int addLightWaveMesh(Document& document, LW::Scene& record, const std::string& path, uint32_t layer,
                     const std::string& name);

// Every layer of a LightWave object file as a mesh of its own (the whole
// object read once when it has one layer): `layer` as addLightWaveMesh takes
// it, the LAYR number of its parent layer (-1 for none), its name (`name`
// for a single layer) and its mesh (-1 for none).
struct LightWaveLayer {
    uint32_t layer;
    int parentNumber;
    std::string name;
    int mesh;
};
std::vector<LightWaveLayer> addLightWaveLayers(Document& document, LW::Scene& record, const std::string& path,
                                               const std::string& name);
// A node for each layer, under its parent layer's node wherever that comes.
void addLightWaveObjectNodes(Document& document, const std::vector<LightWaveLayer>& layers);

// Whose reading of glTF's light units the intensities are written for:
// glTF's own (three.js, Babylon.js, web viewers) or Blender's importer,
// which takes a watt as 683 lumens.
enum class LightUnits { Gltf, Blender };

// Every light's intensity from LightWave's (1 is 100 %) to glTF's, so that
// a white surface facing the light shows as LightWave shows it: a
// directional light everywhere, a point or spot light at its distance to the
// middle of the scene's objects (nodes placed as at the first frame).
void setLightBrightness(Document& document, LightUnits units);

// A written document: the main file's bytes and the files that go beside it
// (named as the main file refers to them).
struct Written {
    struct Beside {
        std::string name;
        std::vector<unsigned char> bytes;
    };
    std::string main;
    std::vector<Beside> beside;
};

// Writes .glb (binary, everything inside) or .gltf (JSON): a .gltf refers
// to its binary buffer as `besideName`.bin and to each picture as
// `besideName`_N.png (or .jpg), written beside it. Throws std::runtime_error
// when the document cannot be written.
Written writeGltf(const Document& document, bool binary, const std::string& besideName);

} // namespace gltf_export
