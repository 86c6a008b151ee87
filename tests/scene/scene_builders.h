#pragma once
// Small scenes built in code for the scene tests.

#include <memory>

#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "persist/encoding.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"

// A square of side 2 * half in the z = 0 plane, centred on the origin, with
// both windings so that it shows from either side. UVs span 0..1.
inline UniSurfaceMesh_PointUV* textured_square(float half, unsigned int part = 0)
{
    std::vector<VertexPointUV> vertices(4);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
        vertices[i].position.set(corners[i][0] * half, corners[i][1] * half, 0);
        vertices[i].u = (corners[i][0] + 1) / 2;
        vertices[i].v = (corners[i][1] + 1) / 2;
    }
    auto* mesh = new UniSurfaceMesh_PointUV({{{0, 1, 2}}, {{0, 2, 3}}, {{0, 2, 1}}, {{0, 3, 2}}}, vertices);
    mesh->part_index = part;
    return mesh;
}

// A primitive with one part on `surfaceName`.
inline NMesh* one_part_mesh(UniSurfaceMesh* element, const std::string& surfaceName)
{
    auto* mesh = new NMesh;
    mesh->add_part(surfaceName);
    mesh->add_element(element);
    return mesh;
}

// A transform node at `position` (constant motion) with `child` below it.
inline TransformNode* placed(Scene& scene, const Vector3f& position, SceneNode* child)
{
    auto* node = new TransformNode;
    node->set_position(new ConstantKeyframeHandler(position));
    scene.add_node(node);
    if (child)
        child->attach(node);
    return node;
}

inline ShapeNode* shape(Scene& scene, int primitiveIndex)
{
    auto* node = new ShapeNode(primitiveIndex);
    scene.add_node(node);
    return node;
}

// A camera on the +z axis at `distance`, looking at the origin, 90 degrees
// wide and high.
inline CameraNode* camera_on_z(Scene& scene, float distance, SceneNode* parent)
{
    auto* node = new CameraNode(Camera(Vector3f(0, 0, distance), Vector3f(0, 0, 0), Vector3f(0, 1, 0), 1.0f, 100.0f, 1.0f, 1.0f));
    scene.add_node(node);
    node->attach(parent);
    return node;
}

inline std::vector<uint8_t> written(const persistent& object)
{
    memory_pstream out;
    write_object(out, object);
    return out.bytes();
}

// The scene of the bytes, post-loaded, or the exception its read threw.
struct ReadResult {
    std::unique_ptr<Scene> scene;
    int error = 0;
};

inline ReadResult read_scene(const std::vector<uint8_t>& bytes)
{
    register_factories();
    ReadResult result;
    memory_pstream in(bytes);
    try {
        std::unique_ptr<persistent> object(read_object(in));
        result.scene.reset(dynamic_cast<Scene*>(object.get()));
        if (result.scene) {
            object.release();
            result.scene->post_load();
        }
    } catch (persistent::exception e) {
        result.error = e;
    }
    return result;
}
