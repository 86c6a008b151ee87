#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/camera.h"
#include "render/gl_state_cache.h"
#include "render/mat_lit.h"
#include "render/mat_volumetric.h"
#include "tests/render/material_frame.h"
#include "tests/support/gl_window.h"

using hlv::MeshPart;

namespace {

// An axis-aligned box, every face wound counter-clockwise seen from
// outside: with the show's mirrored cameras and GL_CW front faces, outside
// faces are front faces.
void addBox(MeshPart& part, const Vector3f& lo, const Vector3f& hi)
{
    const uint32_t base = part.vertexCount;
    for (int i = 0; i < 8; ++i) {
        const int x = (i == 1 || i == 2 || i == 5 || i == 6), y = (i == 2 || i == 3 || i == 6 || i == 7), z = i >= 4;
        part.positions.push_back({x ? hi.x : lo.x, y ? hi.y : lo.y, z ? hi.z : lo.z});
    }
    const uint32_t faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}};
    for (const auto& f : faces)
        part.indices.insert(part.indices.end(),
                            {base + f[0], base + f[1], base + f[2], base + f[0], base + f[2], base + f[3]});
    part.vertexCount += 8;
    part.triangleCount += 12;
}

// A square in the plane z = 0, counter-clockwise seen from +z.
MeshPart square(float half)
{
    MeshPart part;
    part.positions = {{-half, -half, 0}, {half, -half, 0}, {half, half, 0}, {-half, half, 0}};
    part.indices = {0, 1, 2, 0, 2, 3};
    part.vertexCount = 4;
    part.triangleCount = 2;
    return part;
}

// The camera of the tests: on +z at distance 10, a 90-degree-wide view.
const Camera kCamera(Vector3f(0, 0, 10), Vector3f(0, 0, 0), Vector3f(0, 1, 0), 1, 100, 1, 0.75f);

class MaterialTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        beginShowFrame(0, 0, 0);
        GLStateCache::instance().setMatrixMode(GL_PROJECTION);
        glLoadMatrixf(kCamera.projectionMatrix().data());
        GLStateCache::instance().setMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(kCamera.viewMatrix().data());
    }
};

// --- recording wrappers around the real entry points ---

std::vector<GLint> g_shininess;
void (*g_realMaterialiv)(GLenum, GLenum, const GLint*) = nullptr;

// Counts the stencil calls made while it lives, passing them on to OpenGL.
class StencilCallCounter {
public:
    StencilCallCounter()
    {
        calls = 0;
        realFunc = slot_glStencilFunc;
        realOp = slot_glStencilOp;
        realMask = slot_glStencilMask;
        realEnable = slot_glEnable;
        slot_glStencilFunc = [](GLenum f, GLint r, GLuint m) { ++calls, realFunc(f, r, m); };
        slot_glStencilOp = [](GLenum a, GLenum b, GLenum c) { ++calls, realOp(a, b, c); };
        slot_glStencilMask = [](GLuint m) { ++calls, realMask(m); };
        slot_glEnable = [](GLenum cap) {
            calls += cap == GL_STENCIL_TEST;
            realEnable(cap);
        };
    }
    ~StencilCallCounter()
    {
        slot_glStencilFunc = realFunc;
        slot_glStencilOp = realOp;
        slot_glStencilMask = realMask;
        slot_glEnable = realEnable;
    }

    static inline int calls = 0;

private:
    static inline void (*realFunc)(GLenum, GLint, GLuint) = nullptr;
    static inline void (*realOp)(GLenum, GLenum, GLenum) = nullptr;
    static inline void (*realMask)(GLuint) = nullptr;
    static inline void (*realEnable)(GLenum) = nullptr;
};

int red(int x, int y) { return readPixel(x, y).r; }

} // namespace

TEST_F(MaterialTest, LitShininessIsSentAsAnIntegerOutOf128)
{
    g_realMaterialiv = slot_glMaterialiv;
    slot_glMaterialiv = [](GLenum face, GLenum name, const GLint* value) {
        if (name == GL_SHININESS)
            g_shininess.push_back(*value);
        g_realMaterialiv(face, name, value);
    };
    MeshPart part = square(2);
    hlv::Mat_Lit material;
    material.shininess = 1.0f;
    material.render(&kCamera, &part);
    material.shininess = 0.9f;
    material.render(&kCamera, &part);
    slot_glMaterialiv = g_realMaterialiv;

    EXPECT_EQ(g_shininess, (std::vector<GLint>{128, 115}));
    GLint shininess = 0;
    glGetMaterialiv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 115);
}

TEST_F(MaterialTest, LitUsesThePartNormalsOrElseTheCurrentNormal)
{
    // A white light on the eye: a square facing it gets the global ambient
    // (0.2 x 0.2) plus the diffuse 0.8 times the cosine at its corners (lit
    // per vertex: 10 / sqrt(2^2 + 2^2 + 10^2)); one facing away only the ambient.
    glEnable(GL_LIGHT0);
    const float light[4] = {0, 0, 10, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    const int lit = int((0.04 + 0.8 * 10 / std::sqrt(108.0)) * 255), unlit = int(0.04 * 255);
    hlv::Mat_Lit material;

    MeshPart bare = square(2);
    glNormal3f(0, 0, 1);
    material.render(&kCamera, &bare);
    EXPECT_NEAR(red(400, 300), lit, 3);
    glNormal3f(0, 0, -1);
    material.render(&kCamera, &bare);
    EXPECT_NEAR(red(400, 300), unlit, 3);

    MeshPart withNormals = square(2);
    withNormals.normals.assign(4, Vector3f(0, 0, 1));
    material.render(&kCamera, &withNormals);  // the current normal still points away
    EXPECT_NEAR(red(400, 300), lit, 3);
    glDisable(GL_LIGHT0);

    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
}

TEST_F(MaterialTest, VolumetricGlowGrowsWithThicknessInFrontOfTheEye)
{
    // Two boxes seen along -z: A is 1 unit deep (z -1..0), B 2 units (z -1..1).
    // Eye depths run from 9 to 11, so each pixel gains colour x 10 x thickness.
    MeshPart part;
    addBox(part, {-4, -1, -1}, {-2, 1, 0});
    addBox(part, {2, -1, -1}, {4, 1, 1});
    hlv::Mat_Volumetric material;
    material.colour[0] = material.colour[1] = material.colour[2] = 0.02f;

    {
        StencilCallCounter counter;
        material.render(&kCamera, &part);
    }
    EXPECT_EQ(StencilCallCounter::calls, 0);

    // The mirrored camera puts world x = -3 at screen x 520 and x = 3 at 280.
    const Rgba boxA = readPixel(520, 300), boxB = readPixel(280, 300);
    EXPECT_NEAR(boxA.r, 0.2 * 255, 2);
    EXPECT_NEAR(boxA.b, 0.2 * 255, 2);
    EXPECT_NEAR(boxB.g, 0.4 * 255, 2);
    EXPECT_EQ(red(400, 300), 0);  // between the boxes

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
}

TEST_F(MaterialTest, VolumetricAroundTheEyeMeasuresFromTheEyePlane)
{
    // The eye (z = 10) is inside the box z 0..12: no near surface can be
    // drawn, so the thickness runs from the eye to the far face, 10 units.
    MeshPart part;
    addBox(part, {-50, -50, 0}, {50, 50, 12});
    hlv::Mat_Volumetric material;
    material.colour[0] = material.colour[1] = material.colour[2] = 0.005f;

    {
        StencilCallCounter counter;
        material.render(&kCamera, &part);
    }
    EXPECT_GT(StencilCallCounter::calls, 0);

    EXPECT_NEAR(red(400, 300), 0.005 * 10 * 10 * 255, 3);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST_F(MaterialTest, VolumetricDrawsNothingWithoutDepthOrWeight)
{
    hlv::Mat_Volumetric material;
    MeshPart flat = square(2);  // every vertex at the same eye depth
    material.render(&kCamera, &flat);
    EXPECT_EQ(red(400, 300), 0);

    MeshPart weightless;
    addBox(weightless, {-1, -1, -1}, {1, 1, 1});
    weightless.weights.assign(8, 0xFFFFFF00u);  // white, alpha 0
    material.render(&kCamera, &weightless);
    EXPECT_EQ(red(400, 300), 0);
}
