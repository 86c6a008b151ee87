#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "math/envelope.h"
#include "render/texture_image.h"
#include "tests/scene/scene_builders.h"
#include "tests/support/gl_window.h"

namespace {

TextureImage* grey_texture(uint8_t level)
{
    auto* image = new ImageRGB;
    image->width = 2;
    image->height = 4;
    image->pixels.assign(2 * 4 * 3, level);
    return new TextureImage(image, TextureImage::NoMipmap);
}

template <typename Vertex>
std::vector<Vertex> fan(float x)
{
    std::vector<Vertex> vertices(4);
    const float corners[4][3] = {{0, 0, 0}, {1, 0, 0.5f}, {1, 2, -1}, {-0.25f, 3, 0}};
    for (int i = 0; i < 4; ++i)
        vertices[i].position.set(corners[i][0] + x, corners[i][1], corners[i][2]);
    return vertices;
}

const std::vector<MeshTriangle> kFan = {{{0, 1, 2}}, {{0, 2, 3}}};

// One primitive with a part in each vertex format.
NMesh* every_format()
{
    auto* mesh = new NMesh;
    for (const char* name : {"plain", "tex", "dif", "plain"})
        mesh->add_part(name);
    auto* point = new UniSurfaceMesh_Point(kFan, fan<VertexPoint>(0));
    std::vector<VertexPointUV> uv = fan<VertexPointUV>(2);
    for (int i = 0; i < 4; ++i) {
        uv[i].u = 0.2f * i;
        uv[i].v = 0.75f;  // one value everywhere: stored exactly
    }
    auto* uvMesh = new UniSurfaceMesh_PointUV(kFan, uv);
    std::vector<VertexPointUV2> uv2 = fan<VertexPointUV2>(4);
    for (int i = 0; i < 4; ++i) {
        uv2[i].u0 = -1.5f;
        uv2[i].v0 = 0.1f * i;
        uv2[i].u1 = 3.0f * i;
        uv2[i].v1 = 2.0f;
    }
    auto* uv2Mesh = new UniSurfaceMesh_PointUV2(kFan, uv2);
    std::vector<VertexPointNormal> normals = fan<VertexPointNormal>(6);
    for (int i = 0; i < 4; ++i)
        normals[i].normal.set(0, 1, 0.25f * i);
    auto* normalMesh = new UniSurfaceMesh_PointNormal(kFan, normals);
    UniSurfaceMesh* elements[4] = {point, uvMesh, uv2Mesh, normalMesh};
    for (unsigned int part = 0; part < 4; ++part) {
        elements[part]->part_index = part;
        mesh->add_element(elements[part]);
    }
    return mesh;
}

TransformNode::KeyframeHandler* lw5_motion()
{
    HermiteInterpolator::Ctrl a, b, c;
    a.value.set(0, 0, 0);
    b.time = 1;
    b.value.set(10, 20, 30);
    b.tension = 0.3f;
    c.time = 3;
    c.value.set(-5, 0, 5);
    c.linear = true;
    return new LW5KeyframeHandler({a, b, c}, 4);
}

TransformNode::KeyframeHandler* lw6_motion()
{
    auto* x = new Envelope;
    x->addKey(0, 1).addKey(2, 5, 0.5f).addKey(4, -1);
    x->setOscillate();
    auto* y = new Envelope;
    y->addKey(1, 2);
    return new LW6KeyframeHandler(x, y, new Envelope);
}

// Every surface kind, every vertex format, all three handler kinds, a camera.
void build_complete(Scene& scene)
{
    for (uint8_t level : {40, 120, 200})
        scene.add_texture(grey_texture(level));
    auto* plain = new Surface("plain", &scene);
    plain->colour[1] = 0.5f;
    plain->colour_factor = 0.8f;
    scene.add_surface(plain);
    auto* tex = new TextureSurface("tex", &scene, 0);
    tex->modulate_index = 2;
    tex->texture_scale.set(2, 3, 1);
    scene.add_surface(tex);
    auto* dif = new TexDifSurface("dif", &scene, 1, 2);
    dif->reserved = 0.5f;
    scene.add_surface(dif);
    scene.add_primitive(every_format());

    TransformNode* root = placed(scene, Vector3f(0, 1, 0), nullptr);
    root->set_rotation(lw5_motion());
    root->set_pivot(Vector3f(1, 0, 0));
    TransformNode* moving = placed(scene, Vector3f(), shape(scene, 0));
    moving->set_position(lw6_motion());
    moving->set_scale(new ConstantKeyframeHandler(Vector3f(2, 2, 2)));
    moving->rotation_order = 2;
    moving->attach(root);
    shape(scene, -1)->attach(root);
    camera_on_z(scene, 20, root);
    scene.set_root(root);

    const float backdrop[4] = {0.1f, 0.2f, 0.3f, 1}, fog[4] = {0.5f, 0.5f, 0.6f, 1};
    std::copy(backdrop, backdrop + 4, scene.backdrop);
    scene.fog_enabled = true;
    scene.fog_start = 10;
    scene.fog_end = 90;
    std::copy(fog, fog + 4, scene.fog_colour);
}

// Tables written frame by frame: what a read gave back is equal when it
// writes the same bytes.
template <typename T>
void expect_same_frames(const std::vector<T*>& original, const std::vector<T*>& back, size_t first = 0)
{
    ASSERT_EQ(original.size(), back.size());
    for (size_t i = first; i < original.size(); ++i)
        EXPECT_EQ(written(*original[i]), written(*back[i])) << original[i]->class_name() << " " << i;
}

void expect_close(const Vector3f& a, const Vector3f& b, const Vector3f& tolerance)
{
    EXPECT_LE(std::fabs(a.x - b.x), tolerance.x);
    EXPECT_LE(std::fabs(a.y - b.y), tolerance.y);
    EXPECT_LE(std::fabs(a.z - b.z), tolerance.z);
}

template <typename Mesh>
const Mesh& as(const UniSurfaceMesh* element)
{
    return dynamic_cast<const Mesh&>(*element);
}

void expect_same_mesh(const NMesh& a, const NMesh& b)
{
    EXPECT_EQ(a.surface_names, b.surface_names);
    ASSERT_EQ(a.elements.size(), b.elements.size());
    for (size_t i = 0; i < a.elements.size(); ++i) {
        const UniSurfaceMesh& x = *a.elements[i];
        const UniSurfaceMesh& y = *b.elements[i];
        EXPECT_STREQ(x.class_name(), y.class_name());
        EXPECT_EQ(x.indices, y.indices);
        EXPECT_EQ(x.part_index, y.part_index);
        EXPECT_EQ(x.box.min, y.box.min);
        EXPECT_EQ(x.box.max, y.box.max);
        EXPECT_EQ(a.parts[i].box.max, b.parts[i].box.max);
    }
    // One quantisation step per axis (with a little float slack).
    const Vector3f step = (a.elements[0]->box.max - a.elements[0]->box.min) * (0.5f / 32767.0f * 1.01f);
    for (int v = 0; v < 4; ++v) {
        expect_close(as<UniSurfaceMesh_Point>(a.elements[0]).vertices[v].position,
                     as<UniSurfaceMesh_Point>(b.elements[0]).vertices[v].position, step);
        const VertexPointUV& uv = as<UniSurfaceMesh_PointUV>(b.elements[1]).vertices[v];
        expect_close(as<UniSurfaceMesh_PointUV>(a.elements[1]).vertices[v].position, uv.position, step);
        EXPECT_NEAR(uv.u, 0.2f * v, 0.3f / 32767);
        EXPECT_EQ(uv.v, 0.75f);
        const VertexPointUV2& uv2 = as<UniSurfaceMesh_PointUV2>(b.elements[2]).vertices[v];
        EXPECT_EQ(uv2.u0, -1.5f);
        EXPECT_EQ(uv2.v1, 2.0f);
        EXPECT_NEAR(uv2.v0, 0.1f * v, 0.15f / 32767);
        EXPECT_NEAR(uv2.u1, 3.0f * v, 4.5f / 32767);
        const VertexPointNormal& n = as<UniSurfaceMesh_PointNormal>(b.elements[3]).vertices[v];
        EXPECT_EQ(n.position, as<UniSurfaceMesh_PointNormal>(a.elements[3]).vertices[v].position);
        EXPECT_EQ(n.normal, Vector3f(0, 1, 0.25f * v));
    }
}

} // namespace

using SceneRoundTrip = GLWindowTest;

TEST_F(SceneRoundTrip, CompleteSceneReadsBackEqual)
{
    Scene scene;
    build_complete(scene);
    std::vector<uint8_t> bytes = written(scene);
    ReadResult read = read_scene(bytes);
    ASSERT_TRUE(read.scene) << read.error;
    const Scene& back = *read.scene;

    expect_same_frames(scene.surfaces(), back.surfaces());
    for (const Surface* surface : back.surfaces())
        EXPECT_EQ(surface->scene, &back);
    ASSERT_EQ(back.textures().size(), 3u);
    EXPECT_EQ(back.textures()[2]->currentImage()->height, 4u);
    EXPECT_NE(back.textures()[2]->texture, 0u);
    ASSERT_EQ(back.primitives().size(), 1u);
    expect_same_mesh(dynamic_cast<const NMesh&>(*scene.primitives()[0]), dynamic_cast<const NMesh&>(*back.primitives()[0]));
    EXPECT_EQ(back.primitives()[0]->surface_indices, (std::vector<unsigned int>{0, 1, 2, 0}));
    expect_same_frames(scene.nodes(), back.nodes(), 1);
    EXPECT_EQ(back.node_number(back.root()), scene.node_number(scene.root()));
    EXPECT_EQ(back.cameras().size(), 1u);
    EXPECT_EQ(back.backdrop[2], 0.3f);
    EXPECT_TRUE(back.fog_enabled);
    EXPECT_EQ(back.fog_end, 90.0f);
    EXPECT_EQ(back.fog_colour[2], 0.6f);
}
