// The player's node tree as glTF nodes. A transform node is one glTF node
// (T · R · S, as glTF composes them); its pivot becomes a child node that
// moves everything below back by the pivot, so that rotation and scale turn
// about it. Shapes and cameras hang under their transform as nodes of their
// own.
#include <cmath>
#include <string>

#include "export/axes.h"
#include "export/gltf_export.h"
#include "export/mesh_primitive.h"
#include "export/names.h"
#include "export/png_bytes.h"
#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "render/texture_image.h"
#include "scene/camera_node.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "scene/transform_node.h"

namespace gltf_export {

namespace {

struct Walk {
    Document& document;
    const Scene& scene;
    const std::vector<int>& meshOfPrimitive;
    const TimeRange& range;
    const NodeNaming* naming;
    std::vector<int> made;
    UniqueNames names;  // as the file will hold them, so that notes name them alike
};

int addNode(Document& document, const std::string& name, int parent)
{
    Node node;
    node.name = name;
    node.parent = parent;
    document.nodes.push_back(node);
    return int(document.nodes.size() - 1);
}

void addCamera(Walk& walk, const CameraNode& node, int at)
{
    const ::Camera& lens = node.stored_camera();
    Camera camera;
    camera.name = walk.document.nodes[size_t(at)].name;
    const float nearDistance = lens.nearDistance() > 0 ? lens.nearDistance() : 1;
    camera.yfov = 2 * std::atan(lens.halfHeight() / nearDistance);
    camera.aspectRatio = lens.halfHeight() > 0 ? lens.halfWidth() / lens.halfHeight() : 4.0f / 3.0f;
    camera.znear = nearDistance;
    camera.zfar = lens.farDistance() > nearDistance ? lens.farDistance() : nearDistance * 1000;
    walk.document.cameras.push_back(camera);
    Node& target = walk.document.nodes[size_t(at)];
    target.camera = int(walk.document.cameras.size() - 1);
    pointOf(lens.eye(), target.translation);
    lookRotation(lens.target() - lens.eye(), lens.trueUp(), target.rotation);
}

void visit(Walk& walk, const SceneNode* node, int parent)
{
    for (; node; node = node->next_sibling()) {
        const int number = walk.scene.node_number(node);
        std::string name = walk.naming ? walk.naming->nameOf(*node) : std::string();
        const char* kind = dynamic_cast<const TransformNode*>(node) ? "transform"
                         : dynamic_cast<const ShapeNode*>(node)     ? "shape"
                         : dynamic_cast<const CameraNode*>(node)    ? "camera"
                                                                    : "node";
        if (name.empty())
            name = std::string(kind) + " " + std::to_string(number);
        name = walk.names.take(utf8Of(name));
        const int at = addNode(walk.document, name, parent);
        if (number > 0 && size_t(number) < walk.made.size())
            walk.made[size_t(number)] = at;
        int below = at;
        if (const auto* transform = dynamic_cast<const TransformNode*>(node)) {
            addMotion(walk.document, at, *transform, walk.range);
            if (transform->has_pivot() && !(transform->pivot() == Vector3f(0, 0, 0))) {
                below = addNode(walk.document, name + " pivot", at);
                pointOf(-transform->pivot(), walk.document.nodes[size_t(below)].translation);
            }
        } else if (const auto* shape = dynamic_cast<const ShapeNode*>(node)) {
            const int index = shape->primitive_index;
            if (index >= 0 && size_t(index) < walk.meshOfPrimitive.size())
                walk.document.nodes[size_t(at)].mesh = walk.meshOfPrimitive[size_t(index)];
        } else if (const auto* camera = dynamic_cast<const CameraNode*>(node)) {
            addCamera(walk, *camera, at);
        }
        // The node whose world matrix is the scene node's own.
        walk.document.nodes[size_t(below)].sceneNode = number;
        visit(walk, node->first_child(), below);
    }
}

const Surface* surfaceNamed(const Scene& scene, const std::string& name)
{
    for (const Surface* surface : scene.surfaces())
        if (surface->name == name)
            return surface;
    return nullptr;
}

// The pixels of a scene texture as an embedded PNG; -1 when the texture
// kept none (a picture file's pixels are given up once uploaded).
int imageOf(Document& document, const Scene& scene, int textureIndex, std::vector<int>& madeFor)
{
    if (textureIndex < 0 || size_t(textureIndex) >= scene.textures().size())
        return -1;
    madeFor.resize(scene.textures().size(), -2);
    int& made = madeFor[size_t(textureIndex)];
    if (made != -2)
        return made;
    const TextureImage& texture = *scene.textures()[size_t(textureIndex)];
    const PixelImage* picture = texture.currentImage();
    const unsigned channels = texture.gray ? 1 : texture.rgb ? 3 : 4;
    made = -1;
    if (picture && picture->hasPixels()) {
        Image image;
        image.name = "texture " + std::to_string(textureIndex);
        image.mimeType = "image/png";
        image.bytes = pngOf(picture->pixels, picture->width, picture->height, channels);
        if (!image.bytes.empty()) {
            document.images.push_back(std::move(image));
            made = int(document.images.size() - 1);
        }
    }
    return made;
}

// A scene surface as a material: its colour times its factor, multiplied by
// its first texture as the player draws it.
int materialOf(Document& document, const Scene& scene, const std::string& surfaceName, std::vector<int>& images)
{
    for (size_t m = 0; m < document.materials.size(); ++m)
        if (document.materials[m].name == surfaceName)
            return int(m);
    Material material;
    material.name = surfaceName;
    if (const Surface* surface = surfaceNamed(scene, surfaceName)) {
        for (int c = 0; c < 3; ++c)
            material.baseColour[c] = std::fmin(1.0f, std::fmax(0.0f, surface->colour[c] * surface->colour_factor));
        if (const auto* textured = dynamic_cast<const TextureSurface*>(surface)) {
            material.image = imageOf(document, scene, textured->texture_index, images);
            if (material.image < 0)
                document.notCarried.push_back("surface '" + surfaceName + "': its texture (a picture file's pixels, not kept)");
            if (dynamic_cast<const TexDifSurface*>(surface))
                document.notCarried.push_back("surface '" + surfaceName + "': its detail texture");
        }
    }
    document.materials.push_back(material);
    return int(document.materials.size() - 1);
}

// The texture matrix's scale (a textured surface's texture_scale) is baked
// into the coordinates.
template <typename Vertex, typename UV>
Primitive elementPrimitive(const UniSurfaceMesh& element, const std::vector<Vertex>& vertices, UV uvOf,
                           float smoothingDegrees, const Vector3f& uvScale, const std::vector<uint32_t>* colours = nullptr)
{
    std::vector<Vector3f> positions;
    std::vector<float> uvs;
    for (const Vertex& vertex : vertices) {
        positions.push_back(vertex.position);
        uvOf(vertex, uvs);
    }
    for (size_t i = 0; i + 1 < uvs.size(); i += 2) {
        uvs[i] *= uvScale.x;
        uvs[i + 1] *= uvScale.y;
    }
    std::vector<uint32_t> indices(element.indices.begin(), element.indices.end());
    MeshArrays arrays;
    arrays.positions = &positions;
    arrays.uvs = uvs.empty() ? nullptr : uvs.data();
    arrays.colours = colours;
    arrays.indices = indices.data();
    arrays.triangleCount = std::min(size_t(element.triangle_count), indices.size() / 3);
    for (uint32_t index : indices)
        if (index >= positions.size())
            return Primitive();
    return primitiveOf(arrays, smoothingDegrees);
}

Primitive elementPrimitive(const UniSurfaceMesh& element, float smoothingDegrees, const Vector3f& uvScale)
{
    auto none = [](const auto&, std::vector<float>&) {};
    if (const auto* uv = dynamic_cast<const UniSurfaceMesh_PointUV*>(&element))
        return elementPrimitive(element, uv->vertices, [](const VertexPointUV& v, std::vector<float>& uvs) {
            uvs.push_back(v.u);
            uvs.push_back(v.v);
        }, smoothingDegrees, uvScale);
    if (const auto* uv2 = dynamic_cast<const UniSurfaceMesh_PointUV2*>(&element))
        return elementPrimitive(element, uv2->vertices, [](const VertexPointUV2& v, std::vector<float>& uvs) {
            uvs.push_back(v.u0);
            uvs.push_back(v.v0);
        }, smoothingDegrees, uvScale);
    if (const auto* plain = dynamic_cast<const UniSurfaceMesh_Point*>(&element))
        return elementPrimitive(element, plain->vertices, none, smoothingDegrees, uvScale);
    if (const auto* normal = dynamic_cast<const UniSurfaceMesh_PointNormal*>(&element)) {
        // The player draws this format's normal as the vertex colour.
        std::vector<uint32_t> colours;
        auto byte = [](float c) { return uint32_t(std::lround(std::fmin(1.0f, std::fmax(0.0f, c)) * 255)); };
        for (const VertexPointNormal& vertex : normal->vertices)
            colours.push_back(byte(vertex.normal.x) << 24 | byte(vertex.normal.y) << 16 | byte(vertex.normal.z) << 8 | 0xFF);
        return elementPrimitive(element, normal->vertices, none, smoothingDegrees, uvScale, &colours);
    }
    return Primitive();
}

} // namespace

std::vector<int> addSceneNodes(Document& document, const Scene& scene, const std::vector<int>& meshOfPrimitive,
                               const TimeRange& range, const NodeNaming* naming)
{
    Walk walk{document, scene, meshOfPrimitive, range, naming, std::vector<int>(scene.nodes().size(), -1), {}};
    visit(walk, scene.root(), -1);
    return walk.made;
}

std::vector<int> addScenePrimitives(Document& document, const Scene& scene, float smoothingDegrees)
{
    std::vector<int> meshes, images;
    for (size_t p = 0; p < scene.primitives().size(); ++p) {
        const auto* nmesh = dynamic_cast<const NMesh*>(scene.primitives()[p]);
        if (!nmesh) {
            document.notCarried.push_back("primitive " + std::to_string(p) + " (not a triangle mesh)");
            meshes.push_back(-1);
            continue;
        }
        Mesh mesh;
        mesh.name = "primitive " + std::to_string(p);
        for (size_t e = 0; e < nmesh->elements.size(); ++e) {
            const size_t part = nmesh->elements[e]->part_index;
            const std::string surface = part < nmesh->surface_names.size() ? nmesh->surface_names[part] : std::string();
            const auto* textured = dynamic_cast<const TextureSurface*>(surfaceNamed(scene, surface));
            Primitive primitive =
                elementPrimitive(*nmesh->elements[e], smoothingDegrees, textured ? textured->texture_scale : Vector3f(1, 1, 1));
            if (primitive.indices.empty())
                continue;
            primitive.material = materialOf(document, scene, surface, images);
            if (document.materials[size_t(primitive.material)].image < 0)
                primitive.uvs.clear();
            mesh.primitives.push_back(std::move(primitive));
        }
        if (mesh.primitives.empty()) {
            meshes.push_back(-1);
            continue;
        }
        document.meshes.push_back(std::move(mesh));
        meshes.push_back(int(document.meshes.size() - 1));
    }
    return meshes;
}

} // namespace gltf_export
