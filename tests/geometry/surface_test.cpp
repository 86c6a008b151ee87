#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "render/texture_image.h"
#include "scene/scene.h"
#include "tests/render/recording_gl.h"

namespace {

// Records, besides the state-cache calls, every call a surface draw makes.
void record_draw_calls()
{
    glCalls().clear();
    recordStateCalls();
    slot_glColor3f = [](GLfloat r, GLfloat g, GLfloat b) {
        recordCall("glColor3f", static_cast<unsigned>(r * 100 + g * 10 + b));
    };
    slot_glPushMatrix = [] { recordCall("glPushMatrix", 0); };
    slot_glPopMatrix = [] { recordCall("glPopMatrix", 0); };
    slot_glMultMatrixf = [](const GLfloat*) { recordCall("glMultMatrixf", 0); };
    slot_glScalef = [](GLfloat, GLfloat, GLfloat) { recordCall("glScalef", 0); };
    slot_glBlendFunc = [](GLenum source, GLenum destination) { recordCall("glBlendFunc", source << 16 | destination); };
    slot_glAlphaFunc = [](GLenum function, GLclampf) { recordCall("glAlphaFunc", function); };
    slot_glTexCoordPointer = [](GLint, GLenum, GLsizei stride, const void*) { recordCall("glTexCoordPointer", stride); };
    slot_glVertexPointer = [](GLint, GLenum, GLsizei stride, const void*) { recordCall("glVertexPointer", stride); };
    slot_glLockArraysEXT = [](GLint, GLsizei count) { recordCall("glLockArraysEXT", count); };
    slot_glUnlockArraysEXT = [] { recordCall("glUnlockArraysEXT", 0); };
    slot_glDrawRangeElementsEXT = [](GLenum, GLuint, GLuint last, GLsizei, GLenum, const void*) {
        recordCall("glDrawRangeElementsEXT", last);
    };
    slot_glDrawElements = [](GLenum, GLsizei count, GLenum, const void*) { recordCall("glDrawElements", count); };
    slot_glColorPointer = [](GLint, GLenum, GLsizei stride, const void*) { recordCall("glColorPointer", stride); };
    slot_glDeleteTextures = [](GLsizei, const GLuint*) {};
}

size_t count_of(const std::string& call)
{
    return static_cast<size_t>(std::count(glCalls().begin(), glCalls().end(), call));
}

std::vector<std::string> bound_names()
{
    std::vector<std::string> names;
    for (const std::string& call : glCalls())
        if (call.rfind("  name", 0) == 0)
            names.push_back(call);
    return names;
}

// A scene whose textures have the OpenGL names 11, 22 and 33 without uploading.
struct TexturedScene {
    TexturedScene()
    {
        for (GLuint name : {11u, 22u, 33u}) {
            auto* texture = new TextureImage;
            texture->texture = name;
            scene.add_texture(texture);
        }
    }
    Scene scene;
};

template <typename Vertex, typename Mesh>
Mesh triangle()
{
    std::vector<Vertex> vertices(3);
    vertices[1].position.set(1, 0, 0);
    vertices[2].position.set(0, 1, 0);
    return Mesh({{{0, 1, 2}}}, vertices);
}

} // namespace

TEST(Surface, EmptyBucketIssuesNoOpenGLCall)
{
    // Every slot empty: any OpenGL call would crash the test.
    for (int i = 0; i < glEntryPointCount(); ++i)
        *glEntryPoints()[i].slot = nullptr;
    glflags::ARB_multitexture = 1;
    Surface plain("plain", nullptr);
    TextureSurface texture("texture", nullptr, 0);
    TexDifSurface detail("detail", nullptr, 0, 1);
    detail.modulate_index = 2;
    Surface::current = nullptr;
    for (Surface* surface : {static_cast<Surface*>(&plain), static_cast<Surface*>(&texture), static_cast<Surface*>(&detail)}) {
        surface->draw(RenderBucket());
        EXPECT_EQ(Surface::current, nullptr);
    }
    EndFrame();
}

TEST(Surface, TwoTextureSurfacesApplyOnceAndBindTheirOwnTextures)
{
    record_draw_calls();
    TexturedScene textured;
    auto mesh = triangle<VertexPointUV, UniSurfaceMesh_PointUV>();
    RenderBucket bucket{{&mesh, Matrix44()}};
    TextureSurface first("first", &textured.scene, 0);
    TextureSurface second("second", &textured.scene, 1);
    second.colour[0] = 0;

    Surface::current = nullptr;
    first.draw(bucket);
    second.draw(bucket);

    EXPECT_EQ(Surface::current, &first);  // the second apply returned at once
    EXPECT_EQ(count_of("glEnable 0xde1"), 1u);              // GL_TEXTURE_2D on unit 0
    EXPECT_EQ(count_of("glEnableClientState 0x8078"), 1u);  // GL_TEXTURE_COORD_ARRAY
    EXPECT_EQ(count_of("glEnableClientState 0x8074"), 1u);  // GL_VERTEX_ARRAY
    EXPECT_EQ(bound_names(), (std::vector<std::string>{"  name 0xb", "  name 0x16"}));
    EXPECT_EQ(count_of("glColor3f 0x6f"), 1u);  // (1, 1, 1)
    EXPECT_EQ(count_of("glColor3f 0xb"), 1u);   // (0, 1, 1)
    EXPECT_EQ(count_of("glDrawRangeElementsEXT 0x2"), 2u);
    EXPECT_EQ(count_of("glPushMatrix 0x0"), 2u);
    EXPECT_EQ(count_of("glPopMatrix 0x0"), 2u);

    // After the frame the next surface sets its state afresh.
    EndFrame();
    EXPECT_EQ(Surface::current, nullptr);
    glCalls().clear();
    second.draw(bucket);
    EXPECT_EQ(Surface::current, &second);
    textured.scene.textures()[0]->texture = 0;
}

TEST(Surface, TexDifModulatesInASecondPassOnlyWithAModulateTexture)
{
    record_draw_calls();
    glflags::ARB_multitexture = 1;
    TexturedScene textured;
    auto mesh = triangle<VertexPointUV2, UniSurfaceMesh_PointUV2>();
    RenderBucket bucket{{&mesh, Matrix44()}};
    TexDifSurface surface("rock", &textured.scene, 0, 1);

    Surface::current = nullptr;
    surface.draw(bucket);
    EXPECT_EQ(count_of("glDrawRangeElementsEXT 0x2"), 1u);
    EXPECT_EQ(count_of("glBlendFunc 0x3060000"), 0u);
    EXPECT_EQ(bound_names(), (std::vector<std::string>{"  name 0xb", "  name 0x16"}));

    glCalls().clear();
    surface.modulate_index = 2;
    surface.draw(bucket);
    EXPECT_EQ(count_of("glDrawRangeElementsEXT 0x2"), 2u);
    EXPECT_EQ(count_of("glBlendFunc 0x3060000"), 1u);  // GL_DST_COLOR, GL_ZERO
    EXPECT_EQ(count_of("glAlphaFunc 0x205"), 1u);      // GL_NOTEQUAL
    EXPECT_EQ(count_of("glScalef 0x0"), 1u);
    // Two sets in the first pass; the second pass sets its own pointer, then the mesh its two.
    EXPECT_EQ(count_of("glTexCoordPointer 0x1c"), 5u);
    EXPECT_EQ(bound_names(), (std::vector<std::string>{"  name 0x21"}));
    // The scale goes on unit 0's texture matrix, where the modulate texture
    // is, and comes off the same one: the last unit made active before the
    // texture matrix is pushed, and again before it is popped, is unit 0.
    auto unitBefore = [](size_t end) {
        std::string unit;
        for (size_t i = 0; i < end; ++i)
            if (glCalls()[i].rfind("glActiveTextureARB", 0) == 0)
                unit = glCalls()[i];
        return unit;
    };
    const std::vector<std::string>& calls = glCalls();
    size_t push = std::find(calls.begin(), calls.end(), "glScalef 0x0") - calls.begin();
    size_t pop = std::find(calls.rbegin(), calls.rend(), "glPopMatrix 0x0").base() - calls.begin() - 1;
    EXPECT_EQ(unitBefore(push), "glActiveTextureARB 0x84c0");
    EXPECT_EQ(unitBefore(pop), "glActiveTextureARB 0x84c0");
    EndFrame();
}

TEST(Surface, LessOrdersKindsThenIndicesThenNames)
{
    glflags::ARB_multitexture = 1;
    Surface zebra("zebra", nullptr);
    TextureSurface apple("apple", nullptr, 5);
    TextureSurface early("zz", nullptr, 1);
    TexDifSurface detailFirst("b", nullptr, 9, 0);
    TexDifSurface detailSecond("a", nullptr, 0, 1);
    TexDifSurface sameDetail("a", nullptr, 1, 1);

    EXPECT_TRUE(zebra.less(apple));
    EXPECT_FALSE(apple.less(zebra));
    EXPECT_TRUE(early.less(apple));                // texture index before name
    EXPECT_TRUE(apple.less(detailFirst));
    EXPECT_TRUE(detailFirst.less(detailSecond));   // detail index first
    EXPECT_TRUE(detailSecond.less(sameDetail));    // then texture index

    Surface prefix("ab", nullptr), longer("abc", nullptr), other("b", nullptr);
    EXPECT_TRUE(prefix.less(longer));
    EXPECT_FALSE(longer.less(prefix));
    EXPECT_TRUE(longer.less(other));
    EXPECT_FALSE(prefix.less(prefix));
    Surface high("\xE9t\xE9", nullptr);
    EXPECT_TRUE(other.less(high));  // bytes compare unsigned
}

TEST(Surface, EndFrameAndDeletionClearTheCurrentSurface)
{
    record_draw_calls();
    auto mesh = triangle<VertexPoint, UniSurfaceMesh_Point>();
    RenderBucket bucket{{&mesh, Matrix44()}};
    Surface::current = nullptr;
    auto* doomed = new Surface("doomed", nullptr);
    doomed->draw(bucket);
    EXPECT_EQ(Surface::current, doomed);
    delete doomed;  // as when a scene is released in the middle of a frame
    EXPECT_EQ(Surface::current, nullptr);
    EndFrame();
}

TEST(Surface, MeshesDrawLockedAndRangedOnlyWhenTheDriverCan)
{
    record_draw_calls();
    std::vector<VertexPointNormal> vertices(4);
    UniSurfaceMesh_PointNormal mesh({{{0, 1, 2}}, {{0, 2, 3}}}, vertices);

    glflags::EXT_compiled_vertex_array = 1;
    glflags::EXT_draw_range_elements = 1;
    mesh.draw();
    EXPECT_EQ(glCalls(), (std::vector<std::string>{"glVertexPointer 0x18", "glColorPointer 0x18",
                                                   "glEnableClientState 0x8076", "glLockArraysEXT 0x4",
                                                   "glDrawRangeElementsEXT 0x3", "glUnlockArraysEXT 0x0",
                                                   "glDisableClientState 0x8076"}));

    glCalls().clear();
    glflags::EXT_compiled_vertex_array = 0;
    glflags::EXT_draw_range_elements = 0;
    mesh.draw();
    EXPECT_EQ(count_of("glDrawElements 0x6"), 1u);
    EXPECT_EQ(count_of("glLockArraysEXT 0x4"), 0u);

    glCalls().clear();
    UniSurfaceMesh_PointNormal empty({}, vertices);
    empty.draw();
    EXPECT_EQ(count_of("glDrawElements 0x0"), 0u);
    EXPECT_EQ(glCalls().size(), 4u);  // pointers and the colour array only
}
