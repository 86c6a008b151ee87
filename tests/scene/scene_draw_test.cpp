#include <gtest/gtest.h>

#include "render/gl_state_cache.h"
#include "render/texture_image.h"
#include "tests/scene/scene_builders.h"
#include "tests/support/gl_window.h"

namespace {

const int kWidth = 800, kHeight = 600;

TextureImage* solid_texture(uint8_t r, uint8_t g, uint8_t b)
{
    auto* image = new ImageRGB;
    image->width = image->height = 4;
    for (int i = 0; i < 16; ++i)
        image->pixels.insert(image->pixels.end(), {r, g, b});
    return new TextureImage(image, TextureImage::NoMipmap);
}

// A scene with a red texture on surface "red", one square mesh (primitive
// 0) and a camera on +z at distance 10, hanging under a root transform node.
struct RedScene {
    RedScene()
    {
        scene.add_texture(solid_texture(255, 0, 0));
        scene.add_surface(new TextureSurface("red", &scene, 0));
        scene.add_primitive(one_part_mesh(textured_square(0.5f), "red"));
        root = placed(scene, Vector3f(), nullptr);
        scene.set_root(root);
        camera_on_z(scene, 10, root);
    }

    // Frame state, a black clear, then the scene through camera 0.
    void draw()
    {
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.post_load();
        scene.set_pending_camera(0);
        scene.evaluate(0);
        scene.draw();
        EndFrame();
    }

    // Where the camera puts a world point on the screen.
    void pixel_of(const Vector3f& world, int& x, int& y) const
    {
        const Camera& camera = *scene.cameras()[0];
        Matrix44 clip = camera.projectionMatrix() * camera.viewMatrix();
        const float* m = clip.m;
        float cx = m[0] * world.x + m[4] * world.y + m[8] * world.z + m[12];
        float cy = m[1] * world.x + m[5] * world.y + m[9] * world.z + m[13];
        float w = m[3] * world.x + m[7] * world.y + m[11] * world.z + m[15];
        x = static_cast<int>((cx / w + 1) / 2 * kWidth);
        y = static_cast<int>((cy / w + 1) / 2 * kHeight);
    }

    Rgba seen_at(const Vector3f& world) const
    {
        int x, y;
        pixel_of(world, x, y);
        return readPixel(x, y);
    }

    Scene scene;
    TransformNode* root;
};

bool is_red(Rgba p) { return p.r > 200 && p.g < 40 && p.b < 40; }
bool is_black(Rgba p) { return p.r < 20 && p.g < 20 && p.b < 20; }
bool is_blue(Rgba p) { return p.r < 40 && p.g < 40 && p.b > 200; }

} // namespace

using SceneDraw = GLWindowTest;

TEST_F(SceneDraw, TexturedSquareLandsWhereTheCameraSays)
{
    RedScene red;
    const Vector3f where(2, 1.5f, 0);
    placed(red.scene, where, shape(red.scene, 0))->attach(red.root);
    red.draw();
    EXPECT_TRUE(is_red(red.seen_at(where)));
    EXPECT_TRUE(is_black(red.seen_at(Vector3f(-2, 1.5f, 0))));  // the camera mirrors X
    EXPECT_TRUE(is_black(red.seen_at(Vector3f(0, 0, 0))));
    int x, y;
    red.pixel_of(where, x, y);
    EXPECT_LT(x, kWidth / 2);  // mirrored: +x shows on the left
}

TEST_F(SceneDraw, NodeOutsideTheFrustumIsCulledWithItsSubtree)
{
    RedScene red;
    placed(red.scene, Vector3f(), shape(red.scene, 0))->attach(red.root);
    int outsideMesh = red.scene.add_primitive(one_part_mesh(textured_square(0.5f), "red"));
    TransformNode* far = placed(red.scene, Vector3f(50, 0, 0), nullptr);
    placed(red.scene, Vector3f(0, 1, 0), shape(red.scene, outsideMesh))->attach(far);
    far->attach(red.root);

    Primitive::Part& outsidePart = red.scene.primitives()[outsideMesh]->parts[0];
    outsidePart.visible = true;  // only a visit of the shape node could clear it
    red.draw();
    EXPECT_TRUE(outsidePart.visible);
    EXPECT_TRUE(red.scene.primitives()[0]->parts[0].visible);
    EXPECT_TRUE(is_red(red.seen_at(Vector3f())));
}

TEST_F(SceneDraw, FogColoursFarPixelsOnly)
{
    RedScene red;
    const Vector3f near(1, 0, 8), far(-1, 0, 0);
    placed(red.scene, near, shape(red.scene, 0))->attach(red.root);
    placed(red.scene, far, shape(red.scene, 0))->attach(red.root);
    red.draw();
    EXPECT_TRUE(is_red(red.seen_at(near)));
    EXPECT_TRUE(is_red(red.seen_at(far)));

    red.scene.fog_enabled = true;
    red.scene.fog_start = 3;
    red.scene.fog_end = 6;
    const float blue[4] = {0, 0, 1, 1};
    std::copy(blue, blue + 4, red.scene.fog_colour);
    red.draw();
    EXPECT_TRUE(is_red(red.seen_at(near)));
    EXPECT_TRUE(is_blue(red.seen_at(far)));
    GLboolean fogLeftOn = glIsEnabled(GL_FOG);
    EXPECT_FALSE(fogLeftOn);
}

TEST_F(SceneDraw, RotationOrderTwoIsNotRotated)
{
    RedScene red;
    TransformNode* turning = placed(red.scene, Vector3f(), nullptr);
    turning->set_rotation(new ConstantKeyframeHandler(Vector3f(0, 180, 0)));
    placed(red.scene, Vector3f(2, 0, 0), shape(red.scene, 0))->attach(turning);
    turning->attach(red.root);

    red.draw();
    EXPECT_TRUE(is_red(red.seen_at(Vector3f(-2, 0, 0))));
    EXPECT_TRUE(is_black(red.seen_at(Vector3f(2, 0, 0))));

    turning->rotation_order = 2;
    red.draw();
    EXPECT_TRUE(is_red(red.seen_at(Vector3f(2, 0, 0))));
    EXPECT_TRUE(is_black(red.seen_at(Vector3f(-2, 0, 0))));
}
