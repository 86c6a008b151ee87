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
#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
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

// A scene surface as a material: its colour; textures are the scene's
// pictures, which a scene file holds only as pixels uploaded for drawing.
int materialOf(Document& document, const Scene& scene, const std::string& surfaceName)
{
    for (size_t m = 0; m < document.materials.size(); ++m)
        if (document.materials[m].name == surfaceName)
            return int(m);
    Material material;
    material.name = surfaceName;
    for (const Surface* surface : scene.surfaces()) {
        if (surface->name != surfaceName)
            continue;
        for (int c = 0; c < 3; ++c)
            material.baseColour[c] = std::fmin(1.0f, std::fmax(0.0f, surface->colour[c] * surface->colour_factor));
        if (surface->texture_count > 0)
            document.notCarried.push_back("texture of surface '" + surfaceName + "' (scene file pixels)");
    }
    document.materials.push_back(material);
    return int(document.materials.size() - 1);
}

template <typename Vertex, typename UV>
Primitive elementPrimitive(const UniSurfaceMesh& element, const std::vector<Vertex>& vertices, UV uvOf,
                           float smoothingDegrees)
{
    std::vector<Vector3f> positions;
    std::vector<float> uvs;
    for (const Vertex& vertex : vertices) {
        positions.push_back(vertex.position);
        uvOf(vertex, uvs);
    }
    std::vector<uint32_t> indices(element.indices.begin(), element.indices.end());
    MeshArrays arrays;
    arrays.positions = &positions;
    arrays.uvs = uvs.empty() ? nullptr : uvs.data();
    arrays.indices = indices.data();
    arrays.triangleCount = std::min(size_t(element.triangle_count), indices.size() / 3);
    for (uint32_t index : indices)
        if (index >= positions.size())
            return Primitive();
    return primitiveOf(arrays, smoothingDegrees);
}

Primitive elementPrimitive(const UniSurfaceMesh& element, float smoothingDegrees)
{
    auto none = [](const auto&, std::vector<float>&) {};
    if (const auto* uv = dynamic_cast<const UniSurfaceMesh_PointUV*>(&element))
        return elementPrimitive(element, uv->vertices, [](const VertexPointUV& v, std::vector<float>& uvs) {
            uvs.push_back(v.u);
            uvs.push_back(v.v);
        }, smoothingDegrees);
    if (const auto* uv2 = dynamic_cast<const UniSurfaceMesh_PointUV2*>(&element))
        return elementPrimitive(element, uv2->vertices, [](const VertexPointUV2& v, std::vector<float>& uvs) {
            uvs.push_back(v.u0);
            uvs.push_back(v.v0);
        }, smoothingDegrees);
    if (const auto* plain = dynamic_cast<const UniSurfaceMesh_Point*>(&element))
        return elementPrimitive(element, plain->vertices, none, smoothingDegrees);
    if (const auto* normal = dynamic_cast<const UniSurfaceMesh_PointNormal*>(&element))
        return elementPrimitive(element, normal->vertices, none, smoothingDegrees);
    return Primitive();
}

} // namespace

std::vector<int> addSceneNodes(Document& document, const Scene& scene, const std::vector<int>& meshOfPrimitive,
                               const TimeRange& range, const NodeNaming* naming)
{
    Walk walk{document, scene, meshOfPrimitive, range, naming, std::vector<int>(scene.nodes().size(), -1)};
    visit(walk, scene.root(), -1);
    return walk.made;
}

std::vector<int> addScenePrimitives(Document& document, const Scene& scene, float smoothingDegrees)
{
    std::vector<int> meshes;
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
            Primitive primitive = elementPrimitive(*nmesh->elements[e], smoothingDegrees);
            if (primitive.indices.empty())
                continue;
            const size_t part = nmesh->elements[e]->part_index;
            const std::string surface = part < nmesh->surface_names.size() ? nmesh->surface_names[part] : std::string();
            primitive.material = materialOf(document, scene, surface);
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
