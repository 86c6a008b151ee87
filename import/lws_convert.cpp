#include "import/lws_convert.h"

#include <map>
#include <memory>
#include <set>

#include "geometry/nmesh.h"
#include "geometry/uni_surface_mesh.h"
#include "import/content_directory.h"
#include "import/importer_context.h"
#include "import/layer_picture.h"
#include "import/lws_line_reader.h"
#include "import/lwo2_mesh_build.h"
#include "import/lws_object.h"
#include "import/part_split.h"
#include "import/lws_parser.h"
#include "import/lws_targets.h"
#include "log/logger.h"
#include "math/camera.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"

namespace LW {

namespace {

constexpr size_t kMaxHierarchyDepth = 256;

template <typename Mesh, typename Vertex, typename MakeVertex>
UniSurfaceMesh* partElement(const hlv::MeshPart& part, MakeVertex makeVertex)
{
    std::vector<MeshTriangle> triangles(part.triangleCount);
    for (uint32_t t = 0; t < part.triangleCount; ++t)
        for (int k = 0; k < 3; ++k)
            triangles[t].vertex[k] = part.indices[3 * t + k];
    std::vector<Vertex> vertices;
    vertices.reserve(part.vertexCount);
    for (uint32_t v = 0; v < part.vertexCount; ++v)
        vertices.push_back(makeVertex(v));
    return new Mesh(triangles, vertices);
}

// One element per draw part, in the vertex format its surface draws with:
// positions only, one or two texture-coordinate sets.
UniSurfaceMesh* elementOf(const hlv::MeshPart& part, size_t textureSets)
{
    auto uv = [&](uint32_t set, uint32_t v, int k) { return part.uvLayers[set][2 * v + k]; };
    if (textureSets >= 2 && part.uvLayerCount >= 2)
        return partElement<UniSurfaceMesh_PointUV2, VertexPointUV2>(part, [&](uint32_t v) {
            return VertexPointUV2{part.positions[v], uv(0, v, 0), uv(0, v, 1), uv(1, v, 0), uv(1, v, 1)};
        });
    if (textureSets >= 1 && part.uvLayerCount >= 1)
        return partElement<UniSurfaceMesh_PointUV, VertexPointUV>(part, [&](uint32_t v) {
            VertexPointUV vertex;
            vertex.position = part.positions[v];
            vertex.u = uv(0, v, 0);
            vertex.v = uv(0, v, 1);
            return vertex;
        });
    return partElement<UniSurfaceMesh_Point, VertexPoint>(part, [&](uint32_t v) { return VertexPoint{part.positions[v]}; });
}

// Welds the object and makes one part per surface, several for a surface
// with more vertices than a part can index.
std::unique_ptr<NMesh> meshOf(SceneObject& object, const LwsScene& scene, const std::vector<std::string>& surfaceNames)
{
    hlv::RobustMesh& mesh = *object.mesh;
    mesh.build(0);
    // Parts come in ascending surface-tag order.
    const std::set<uint32_t> tags(mesh.surfaceIds().begin(), mesh.surfaceIds().end());
    auto primitive = std::make_unique<NMesh>();
    auto tag = tags.begin();
    for (const hlv::MeshPart& part : mesh.parts()) {
        const uint32_t surfaceIndex = *tag < object.tagSurface.size() ? object.tagSurface[*tag] : ~0u;
        ++tag;
        const LWSurface* surface = surfaceIndex < scene.surfaces.size() ? scene.surfaces[surfaceIndex].get() : nullptr;
        const size_t sets = uvSetCount(surface, MeshRules::LightWave);
        const std::vector<hlv::MeshPart> pieces = splitPart(part);
        if (pieces.size() > 1)
            hlv::log("\n%sSurface '%s' has %u vertices: drawn in %zu parts.", indent(),
                     surface ? surface->name.c_str() : "", part.vertexCount, pieces.size());
        const std::vector<const LWTextureBlock*> layers = uvSetLayers(surface, MeshRules::LightWave);
        for (hlv::MeshPart piece : pieces) {
            // A reset picture is drawn from a copy with the surface around it.
            for (size_t set = 0; set < layers.size() && set < piece.uvLayers.size(); ++set)
                if (surroundedAcross(*layers[set]))
                    for (size_t v = 0; v + 1 < piece.uvLayers[set].size(); v += 2) {
                        const TexCoord uv =
                            intoSurroundedPicture(*layers[set], {piece.uvLayers[set][v], piece.uvLayers[set][v + 1]});
                        piece.uvLayers[set][v] = uv.u;
                        piece.uvLayers[set][v + 1] = uv.v;
                    }
            std::unique_ptr<UniSurfaceMesh> element(elementOf(piece, sets));
            if (surface && !surface->vertexColourMap.empty() && piece.hasWeights())
                for (uint32_t v = 0; v < piece.vertexCount; ++v) {
                    const std::array<uint8_t, 4> rgba = surface->vertexColourBytes(piece.weights[v]);
                    element->colours.insert(element->colours.end(), rgba.begin(), rgba.end());
                }
            element->part_index = unsigned(primitive->parts.size());
            primitive->add_part(surface ? surfaceNames[surfaceIndex] : std::string());
            primitive->add_element(element.release());
        }
    }
    return primitive;
}

// Primitives by object file and layer: two items of the same layer share one.
using PrimitiveTable = std::map<std::pair<std::string, uint32_t>, int>;

// The pivot the object file gives the layer an item loads: where LightWave
// puts the item's pivot when the scene names none. Data outside any layer
// (and LWOB files) has none; a whole object takes its layer's when it has one.
Vector3f layerPivot(const SceneObject& object, uint32_t layer)
{
    if (layer == 0)
        return object.layers.size() == 1 ? object.layers[0].pivot : Vector3f(0, 0, 0);
    for (const Lwo2Layer& candidate : object.layers)
        if (candidate.number + 1u == layer)
            return candidate.pivot;
    return Vector3f(0, 0, 0);
}

void takeLayerPivots(LwsScene& source, const std::map<std::pair<std::string, uint32_t>, Vector3f>& pivots)
{
    for (const auto& item : source.items) {
        auto* mesh = dynamic_cast<LwsScene::Mesh*>(item.get());
        if (!mesh || mesh->hasPivot)
            continue;
        const auto found = pivots.find({mesh->path, mesh->layer});
        if (found != pivots.end() && !(found->second == Vector3f(0, 0, 0))) {
            mesh->pivot = found->second;
            mesh->hasPivot = true;
        }
    }
}

// An object not found, or found and not readable (damaged, of a kind the
// readers do not take, without the layer the item names), leaves its item
// empty with a warning: the item still moves and its children keep their
// places. A strict import fails instead.
void convertObjects(LwsScene& source, ::Scene& target, PrimitiveTable& primitiveOf)
{
    hlv::log("\n%sProcessing objects ------------------------------------------------------", indent());
    std::set<std::string> missing;
    std::set<std::pair<std::string, uint32_t>> unreadable;
    std::map<std::pair<std::string, uint32_t>, Vector3f> pivots;
    for (size_t i = 0; i < source.items.size(); ++i) {
        const auto* mesh = dynamic_cast<const LwsScene::Mesh*>(source.items[i].get());
        if (!mesh || mesh->path.empty() || primitiveOf.count({mesh->path, mesh->layer}) || missing.count(mesh->path) ||
            unreadable.count({mesh->path, mesh->layer}))
            continue;
        const std::string found = locateSceneFile(source, mesh->path, "object item " + std::to_string(i + 1));
        if (found.empty()) {
            missing.insert(mesh->path);
            continue;
        }
        SceneObject object;
        try {
            object = readSceneObject(found.c_str(), source, mesh->layer, mesh->subdivisionLevel);
        } catch (bool) {
            if (source.strict) {
                // The reader's message says what is wrong; this one says with what.
                hlv::log("\n%sThe object '%s' (layer %u) cannot be used", indent(), mesh->path.c_str(), mesh->layer);
                throw;
            }
            hlv::log("\n%s%s'%s' (layer %u, needed by object item %zu) cannot be read: %s Its item is left empty.",
                     indent(), kUnreadableObjectWarning, mesh->path.c_str(), mesh->layer, i + 1,
                     lastLoadFailure().c_str());
            source.files.back().problem = "cannot be read: " + lastLoadFailure();
            unreadable.insert({mesh->path, mesh->layer});
            continue;
        }
        pivots[{mesh->path, mesh->layer}] = layerPivot(object, mesh->layer);
        primitiveOf[{mesh->path, mesh->layer}] =
            target.add_primitive(meshOf(object, source, sceneSurfaceNames(source)).release());
        source.convertedObjects.push_back(mesh->path);
    }
    takeLayerPivots(source, pivots);
    hlv::log("\nOK.");
}

// Scene nodes turn by (pitch, heading, bank) in degrees: RotY(heading) ·
// RotX(pitch) · RotZ(bank). LightWave's heading takes +Z towards +X and its
// bank +X towards +Y, where the nodes' Y and Z rotations turn the other way;
// pitch turns the same way in both. Versions 1 and 2 write degrees, later
// versions radians.
struct RotationConversion {
    explicit RotationConversion(int version) : degrees(version <= 2 ? 1.0f : 57.2957795131f) {}
    // What each of the file's angles is multiplied by to become the node's.
    float pitch() const { return degrees; }
    float heading() const { return -degrees; }
    float bank() const { return -degrees; }
    // (heading, pitch, bank) as the file writes them, as a node rotation.
    // (Adding 0 keeps negative zeros out of the files.)
    Vector3f node(const Vector3f& hpb) const
    {
        return {hpb.y * pitch() + 0.0f, hpb.x * heading() + 0.0f, hpb.z * bank() + 0.0f};
    }
    float degrees;
};

// Channels `order` (three indices) into one handler, each multiplied by its
// factor; `fallback` where the item has no such channels.
TransformNode::KeyframeHandler* handlerOf(const std::vector<Envelope>& channels, const size_t (&order)[3],
                                          const Vector3f& fallback, const float (&factor)[3] = {1, 1, 1})
{
    if (channels.size() <= order[0] || channels.size() <= order[1] || channels.size() <= order[2])
        return new ConstantKeyframeHandler(fallback);
    bool constant = true;
    for (size_t c : order)
        constant = constant && channels[c].keyCount == 1;
    if (constant)
        return new ConstantKeyframeHandler({channels[order[0]].evaluate(0) * factor[0] + 0.0f,
                                            channels[order[1]].evaluate(0) * factor[1] + 0.0f,
                                            channels[order[2]].evaluate(0) * factor[2] + 0.0f});
    Envelope* envelopes[3];
    for (int i = 0; i < 3; ++i) {
        envelopes[i] = new Envelope(channels[order[i]]);
        if (factor[i] != 1)
            envelopes[i]->scaleValues(factor[i]);
    }
    return new LW6KeyframeHandler(envelopes[0], envelopes[1], envelopes[2]);
}

TransformNode::KeyframeHandler* lw5HandlerOf(const std::vector<HermiteInterpolator::Ctrl>& points, float loop,
                                             const Vector3f& fallback)
{
    if (points.empty())
        return new ConstantKeyframeHandler(fallback);
    return new LW5KeyframeHandler(points, loop);
}

TransformNode* transformOf(const LwsScene::Object& item, const RotationConversion& rotation)
{
    auto node = std::make_unique<TransformNode>();
    if (item.lw5Motion) {
        const bool repeat = item.lw5EndBehaviour == LwsScene::EndRepeat;
        const float loop = repeat && !item.lw5Position.empty() ? item.lw5Position.back().time : 0.0f;
        // The spline of scene files holds its last value or repeats; it
        // cannot drop back to zero.
        if (item.lw5EndBehaviour == LwsScene::EndReset)
            hlv::log("\n%s** Warning: EndBehavior 0 (reset) is played as 1 (stop)", indent());
        std::vector<HermiteInterpolator::Ctrl> turns = item.lw5Rotation;
        for (HermiteInterpolator::Ctrl& point : turns)
            point.value = rotation.node(point.value);
        node->set_position(lw5HandlerOf(item.lw5Position, loop, {0, 0, 0}));
        node->set_rotation(lw5HandlerOf(turns, loop, {0, 0, 0}));
        node->set_scale(lw5HandlerOf(item.lw5Scale, loop, {1, 1, 1}));
    } else {
        node->set_position(handlerOf(item.channels, {0, 1, 2}, {0, 0, 0}));
        node->set_rotation(handlerOf(item.channels, {4, 3, 5}, {0, 0, 0},
                                     {rotation.pitch(), rotation.heading(), rotation.bank()}));
        node->set_scale(handlerOf(item.channels, {6, 7, 8}, {1, 1, 1}));
    }
    if (const auto* object = dynamic_cast<const LwsScene::ObjectItem*>(&item))
        if (object->hasPivot)
            node->set_pivot(object->pivot);
    return node.release();
}

int typeCode(LwsScene::ItemKind kind)
{
    switch (kind) {
    case LwsScene::ItemKind::Mesh:
    case LwsScene::ItemKind::Null: return 1;
    case LwsScene::ItemKind::Light: return 2;
    case LwsScene::ItemKind::Camera: return 3;
    }
    return 0;
}

// The item that "ParentItem" or "TargetItem" names: its type in the top
// four bits, its number in the low 16: the number of the item's own id where
// the file gives ids, else its place among the items of that type (among all
// items when the type is 0). A bone's id holds its object's number in the
// low 16 bits: what follows a bone follows that object.
int itemIndex(const LwsScene& scene, unsigned id, const char* keyword, int line)
{
    int type = int(id >> 28);
    const unsigned number = id & 0xFFFF;
    if (type == 4) {
        hlv::log("\n%s** Warning: %s %X is a bone; the item follows the bone's object", indent(), keyword, id);
        type = 1;
    }
    unsigned place = 0;
    for (size_t i = 0; i < scene.items.size(); ++i) {
        const LwsScene::Object& item = *scene.items[i];
        if (type != 0 && typeCode(item.kind) != type)
            continue;
        const unsigned itemNumber = item.hasId && type != 0 ? item.itemId & 0xFFFF : place;
        ++place;
        if (itemNumber == number)
            return int(i);
    }
    parseError("\n%s%s %X names no item. (line %d)", indent(), keyword, id, line);
}

int parentIndex(const LwsScene& scene, size_t child)
{
    return itemIndex(scene, scene.items[child]->parentItem, "ParentItem", scene.items[child]->parentLine);
}

// Each item's target, or -1.
std::vector<int> targetsOf(const LwsScene& scene)
{
    std::vector<int> targets(scene.items.size(), -1);
    for (size_t i = 0; i < scene.items.size(); ++i)
        if (scene.items[i]->hasTarget)
            targets[i] = itemIndex(scene, scene.items[i]->targetItem, "TargetItem", scene.items[i]->targetLine);
    return targets;
}

std::vector<int> parentsOf(const LwsScene& scene)
{
    std::vector<int> parents(scene.items.size(), -1);
    for (size_t i = 0; i < scene.items.size(); ++i)
        if (scene.items[i]->hasParent)
            parents[i] = parentIndex(scene, i);
    // Nodes are evaluated and drawn recursively: the depth is bounded.
    for (size_t i = 0; i < parents.size(); ++i) {
        int at = int(i);
        for (size_t steps = 0; at >= 0; ++steps, at = parents[size_t(at)]) {
            if (steps > parents.size())
                parseError("\n%sThe items' parents form a loop.", indent());
            if (steps > kMaxHierarchyDepth)
                parseError("\n%sItems are parented more than %d levels deep.", indent(), int(kMaxHierarchyDepth));
        }
    }
    return parents;
}

TransformNode* addTransform(::Scene& target, SceneNode* parent, const Vector3f& rotation)
{
    auto* node = new TransformNode;
    node->set_rotation(new ConstantKeyframeHandler(rotation));
    target.add_node(node);
    node->attach(parent);
    return node;
}

// Where an object's geometry hangs. A pivot rotation turns the axes its
// keys turn about, not its geometry: the geometry gets the inverse turn
// about the pivot point, one axis per node (bank, pitch, heading).
SceneNode* geometryParent(::Scene& target, const LwsScene::ObjectItem& object, TransformNode* item,
                          const RotationConversion& rotation)
{
    const Vector3f turn = rotation.node(object.pivotRotation);
    if (turn == Vector3f(0, 0, 0))
        return item;
    TransformNode* bank = addTransform(target, item, {0, 0, -turn.z});
    bank->set_position(new ConstantKeyframeHandler(object.pivot));
    TransformNode* pitch = addTransform(target, bank, {-turn.x, 0, 0});
    TransformNode* heading = addTransform(target, pitch, {0, -turn.y, 0});
    heading->set_pivot(object.pivot);
    return heading;
}

void buildHierarchy(LwsScene& source, ::Scene& target, const PrimitiveTable& primitiveOf)
{
    hlv::log("\n%sProcessing keyframes --------------------------------------------------", indent());
    const RotationConversion rotation(source.version);
    auto* root = new TransformNode;
    target.add_node(root);
    target.set_root(root);
    std::vector<TransformNode*> transforms;
    for (const auto& item : source.items) {
        transforms.push_back(transformOf(*item, rotation));
        target.add_node(transforms.back());
    }
    source.itemNodes.assign(transforms.begin(), transforms.end());

    hlv::log("\n%sProcessing scene hierarchy --------------------------------------------", indent());
    const std::vector<int> parents = parentsOf(source);
    // A node goes to the head of its parent's children, and files number
    // the nodes by a walk that takes children in list order: attaching the
    // items last first, and each item's own camera or shape after them,
    // gives an item, its geometry, then its children in the scene's order,
    // and the cameras their order in the scene.
    for (size_t i = source.items.size(); i-- > 0;)
        transforms[i]->attach(parents[i] >= 0 ? transforms[size_t(parents[i])] : root);
    bakeTargets(source, transforms, targetsOf(source));
    for (size_t i = 0; i < source.items.size(); ++i) {
        if (const auto* camera = dynamic_cast<const LwsScene::Camera*>(source.items[i].get())) {
            // The zoom factor is the focal length over the half-height.
            const float zoom = camera->zoomFactor > 0 ? camera->zoomFactor : 1.0f;
            const float halfHeight = camera->nearClip / zoom;
            auto* node = new CameraNode(::Camera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, camera->nearClip, camera->farClip,
                                                 halfHeight * 4.0f / 3.0f, halfHeight));
            target.add_node(node);
            node->attach(transforms[i]);
        } else if (const auto* mesh = dynamic_cast<const LwsScene::Mesh*>(source.items[i].get())) {
            auto found = primitiveOf.find({mesh->path, mesh->layer});
            if (found == primitiveOf.end())
                continue;
            SceneNode* parent = geometryParent(target, *mesh, transforms[i], rotation);
            auto* node = new ShapeNode(found->second);
            target.add_node(node);
            node->attach(parent);
        }
    }
}

void convertMisc(const LwsScene& source, ::Scene& target)
{
    hlv::log("\n%sProcessing misc. --------------------------------------------", indent());
    for (int i = 0; i < 3; ++i) {
        target.backdrop[i] = source.backdrop[i];
        target.fog_colour[i] = source.fogTakesBackdrop ? source.backdrop[i] : source.fogColour[i];
    }
    target.fog_enabled = source.fogEnabled;
    target.fog_start = source.fogMinDistance;
    target.fog_end = source.fogMaxDistance;
    if (source.fogMinAmount != 0)
        hlv::log("\n%s** Warning: Fog Min Amount is not taken into account", indent());
    if (source.fogMaxAmount != 0)
        hlv::log("\n%s** Warning: Fog Max Amount is not taken into account", indent());
}

} // namespace

::Scene* convertLwsScene(LwsScene& source, const ConvertOptions& options)
{
    SceneContext context(source);
    auto target = std::make_unique<::Scene>();
    PrimitiveTable primitiveOf;
    convertObjects(source, *target, primitiveOf);
    convertSurfaces(source, *target, options);
    buildHierarchy(source, *target, primitiveOf);
    // Numbers and camera indices are those of the scene file it makes.
    target->number_nodes_by_walk();
    convertMisc(source, *target);
    return target.release();
}

::Scene* importLwsScene(const char* path, const char* searchDirectory, const ConvertOptions& options)
{
    LwsScene scene;
    if (searchDirectory)
        scene.searchDirectories.push_back(searchDirectory);
    SceneContext context(scene);
    parseLwsFile(path, scene);
    return convertLwsScene(scene, options);
}

} // namespace LW
