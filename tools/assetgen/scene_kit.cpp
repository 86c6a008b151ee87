#include "tools/assetgen/scene_kit.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "math/camera.h"
#include "persist/factory.h"
#include "persist/pstream.h"
#include "render/texture_image.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "tools/assetgen/picture_files.h"

namespace assetgen {

namespace {

template <typename Image>
std::unique_ptr<Image> imageOf(const Canvas& canvas)
{
    auto image = std::make_unique<Image>();
    image->width = uint32_t(canvas.width());
    image->height = uint32_t(canvas.height());
    image->pixels = canvas.bytes();
    return image;
}

TextureImage* withRepeat(TextureImage* texture)
{
    texture->wrapS = GL_REPEAT;
    texture->wrapT = GL_REPEAT;
    texture->maxAnisotropy = 2.0f;
    return texture;
}

} // namespace

TextureImage* rawRgbTexture(const Canvas& rgb)
{
    auto* texture = new TextureImage;
    texture->rgb = imageOf<ImageRGB>(rgb);
    return withRepeat(texture);
}

TextureImage* rawGreyTexture(const Canvas& grey)
{
    auto* texture = new TextureImage;
    texture->gray = imageOf<Image8>(grey);
    return withRepeat(texture);
}

TextureImage* fileRgbTexture(const Canvas& rgb, const std::string& workFolder, const std::string& fileName)
{
    std::string path = workFolder + "/" + fileName;
    PackFolder plain(workFolder);
    saveJpeg(plain, fileName.c_str(), rgb, 90);
    auto* texture = new TextureImage;
    texture->rgb = imageOf<ImageRGB>(rgb);
    texture->rgb->name = path;  // written as the file's bytes under its file name
    return withRepeat(texture);
}

namespace {

template <typename Element, typename Vertex, typename MakeVertex>
Element* elementOf(const std::vector<std::array<uint32_t, 3>>& triangles, MakeVertex makeVertex)
{
    // Compact vertices: only the points the triangles use, in first-use order.
    std::vector<int> remap;
    std::vector<Vertex> vertices;
    std::vector<MeshTriangle> local;
    for (const auto& t : triangles) {
        MeshTriangle out;
        for (int k = 0; k < 3; ++k) {
            uint32_t p = t[size_t(k)];
            if (remap.size() <= p)
                remap.resize(p + 1, -1);
            if (remap[p] < 0) {
                remap[p] = int(vertices.size());
                vertices.push_back(makeVertex(p));
            }
            out.vertex[k] = unsigned(remap[p]);
        }
        local.push_back(out);
    }
    if (vertices.size() > 65535)
        throw std::runtime_error("a scene mesh part has more than 65535 vertices");
    return new Element(local, vertices);
}

} // namespace

int addPrimitive(Scene& scene, const PolyMesh& mesh, const std::vector<PartPlan>& parts)
{
    auto* primitive = new NMesh;
    const auto& points = mesh.points();
    const auto& uvs = mesh.uvs();
    const auto& colours = mesh.colours();
    for (size_t i = 0; i < parts.size(); ++i) {
        const PartPlan& plan = parts[i];
        std::vector<std::array<uint32_t, 3>> triangles = mesh.fanTriangles(plan.tag);
        UniSurfaceMesh* element = nullptr;
        switch (plan.format) {
        case VertexFormat::Point:
            element = elementOf<UniSurfaceMesh_Point, VertexPoint>(triangles, [&](uint32_t p) { return VertexPoint{points[p]}; });
            break;
        case VertexFormat::PointUV:
            element = elementOf<UniSurfaceMesh_PointUV, VertexPointUV>(triangles, [&](uint32_t p) {
                VertexPointUV v;
                v.position = points[p];
                v.u = uvs[p].u * plan.uvScale;
                v.v = uvs[p].v * plan.uvScale;
                return v;
            });
            break;
        case VertexFormat::PointUV2:
            element = elementOf<UniSurfaceMesh_PointUV2, VertexPointUV2>(triangles, [&](uint32_t p) {
                return VertexPointUV2{points[p], uvs[p].u * plan.uvScale, uvs[p].v * plan.uvScale,
                                      uvs[p].u * plan.detailScale, uvs[p].v * plan.detailScale};
            });
            break;
        case VertexFormat::PointColour:
            element = elementOf<UniSurfaceMesh_PointNormal, VertexPointNormal>(triangles, [&](uint32_t p) {
                return VertexPointNormal{points[p], {colours[p].r, colours[p].g, colours[p].b}};
            });
            break;
        }
        element->part_index = unsigned(i);
        primitive->add_part(plan.surfaceName);
        primitive->add_element(element);
    }
    return scene.add_primitive(primitive);
}

void addPlainSurface(Scene& scene, const std::string& name, Rgb colour, float factor)
{
    auto* surface = new Surface(name, &scene);
    surface->colour[0] = colour.r;
    surface->colour[1] = colour.g;
    surface->colour[2] = colour.b;
    surface->colour_factor = factor;
    scene.add_surface(surface);
}

void addTextureSurface(Scene& scene, const std::string& name, int texture, Rgb colour)
{
    auto* surface = new TextureSurface(name, &scene, texture);
    surface->colour[0] = colour.r;
    surface->colour[1] = colour.g;
    surface->colour[2] = colour.b;
    scene.add_surface(surface);
}

void addDetailSurface(Scene& scene, const std::string& name, int texture, int detail, int modulate,
                      Vector3f modulateScale, Rgb colour)
{
    auto* surface = new TexDifSurface(name, &scene, texture, detail);
    surface->modulate_index = modulate;
    surface->texture_scale = modulateScale;
    surface->colour[0] = colour.r;
    surface->colour[1] = colour.g;
    surface->colour[2] = colour.b;
    scene.add_surface(surface);
}

TransformNode::KeyframeHandler* constant(const Vector3f& value)
{
    return new ConstantKeyframeHandler(value);
}

TransformNode::KeyframeHandler* lw6(const Envelope& x, const Envelope& y, const Envelope& z)
{
    return new LW6KeyframeHandler(new Envelope(x), new Envelope(y), new Envelope(z));
}

TransformNode::KeyframeHandler* lw5(std::vector<HermiteInterpolator::Ctrl> points, float loopLength)
{
    return new LW5KeyframeHandler(std::move(points), loopLength);
}

Envelope keys(const std::vector<std::pair<float, float>>& points, int behaviour)
{
    Envelope envelope;
    for (const auto& [time, value] : points)
        envelope.addKey(time, value);
    envelope.preBehaviour = envelope.postBehaviour = behaviour;
    return envelope;
}

Envelope linearKeys(const std::vector<std::pair<float, float>>& points, int behaviour)
{
    Envelope envelope;
    for (const auto& [time, value] : points) {
        Key key;
        key.time = time;
        key.value = value;
        key.shape = Envelope::Linear;
        envelope.appendKey(key);
    }
    envelope.preBehaviour = envelope.postBehaviour = behaviour;
    return envelope;
}

namespace {

void hang(Scene& scene, SceneNode* parent, SceneNode* node)
{
    scene.add_node(node);
    if (parent)
        node->attach(parent);
    else
        scene.set_root(node);
}

} // namespace

TransformNode* addTransform(Scene& scene, SceneNode* parent, TransformNode::KeyframeHandler* rotation,
                            TransformNode::KeyframeHandler* scale, TransformNode::KeyframeHandler* position)
{
    auto* node = new TransformNode;
    if (rotation)
        node->set_rotation(rotation);
    if (scale)
        node->set_scale(scale);
    if (position)
        node->set_position(position);
    hang(scene, parent, node);
    return node;
}

void addShape(Scene& scene, SceneNode* parent, int primitive)
{
    hang(scene, parent, new ShapeNode(primitive));
}

CameraNode* addCamera(Scene& scene, SceneNode* parent, float halfWidth, float halfHeight, float nearDistance,
                      float farDistance)
{
    auto* node = new CameraNode(Camera({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, nearDistance, farDistance, halfWidth, halfHeight));
    hang(scene, parent, node);
    return node;
}

void saveScene(const PackFolder& pack, const char* resourceName, const Scene& scene)
{
    std::string path = pack.pathOf(resourceName);
    FILE* file = std::fopen(path.c_str(), "wb");
    checkWritten(file != nullptr, path);
    {
        file_pstream stream(file);
        write_object(stream, scene);
    }
    bool ok = !std::ferror(file);
    ok = (std::fclose(file) == 0) && ok;
    checkWritten(ok, path);
}

WorkFolder::WorkFolder(const PackFolder& pack) : path_(pack.pathOf("texture-work\\x"))
{
    path_ = std::filesystem::path(path_).parent_path().string();
}

WorkFolder::~WorkFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace assetgen
