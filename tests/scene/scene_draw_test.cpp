#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "log/logger.h"
#include "render/gl_state_cache.h"
#include "render/texture_image.h"
#include "tests/render/image_test_files.h"
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

// Frame state, a black clear, then the scene through camera 0.
void draw_through_camera_0(Scene& scene)
{
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.set_pending_camera(0);
    scene.evaluate(0);
    scene.draw();
    EndFrame();
}

// Where camera 0 puts a world point on the screen.
void pixel_seen(const Scene& scene, const Vector3f& world, int& x, int& y)
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

Rgba seen_through_camera_0(const Scene& scene, const Vector3f& world)
{
    int x, y;
    pixel_seen(scene, world, x, y);
    return readPixel(x, y);
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

    void draw()
    {
        scene.post_load();
        draw_through_camera_0(scene);
    }

    void pixel_of(const Vector3f& world, int& x, int& y) const { pixel_seen(scene, world, x, y); }
    Rgba seen_at(const Vector3f& world) const { return seen_through_camera_0(scene, world); }

    Scene scene;
    TransformNode* root;
};

bool is_red(Rgba p) { return p.r > 200 && p.g < 40 && p.b < 40; }
bool is_black(Rgba p) { return p.r < 20 && p.g < 20 && p.b < 20; }
bool is_blue(Rgba p) { return p.r < 40 && p.g < 40 && p.b > 200; }
bool is_green(Rgba p) { return p.r < 40 && p.g > 200 && p.b < 40; }

// Keeps every message instead of discarding it.
class KeptLog : public hlv::Logger {
public:
    void write(const char* format, va_list args) override
    {
        char line[512];
        std::vsnprintf(line, sizeof line, format, args);
        text += line;
    }
    std::string text;
};

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

// A picture file embedded in a scene that does not decode costs only its
// own texture: the scene reads, the other surfaces draw with theirs, the
// surface on the broken one is drawn in its own colour, untextured, and the
// log names the picture.
TEST_F(SceneDraw, AnUndecodablePictureLeavesItsSurfaceUntextured)
{
    ScratchDirectory scratch;
    FILE* file = std::fopen("cracked.jpg", "wb");
    ASSERT_NE(file, nullptr);
    const char noise[] = "\xFF\xD8 this was a picture once";
    std::fwrite(noise, 1, sizeof noise, file);
    std::fclose(file);

    RedScene source;
    auto* cracked = new ImageRGB;
    cracked->name = "cracked.jpg";  // written as the file's bytes
    auto* broken = new TextureImage;
    broken->rgb.reset(cracked);
    source.scene.add_texture(broken);
    auto* plain = new TextureSurface("green", &source.scene, 1);
    plain->colour[0] = plain->colour[2] = 0;
    source.scene.add_surface(plain);
    source.scene.add_primitive(one_part_mesh(textured_square(0.5f), "green"));
    const Vector3f redAt(2, 0, 0), greenAt(-2, 0, 0);
    placed(source.scene, redAt, shape(source.scene, 0))->attach(source.root);
    placed(source.scene, greenAt, shape(source.scene, 1))->attach(source.root);

    KeptLog log;
    hlv::Logger* previous = hlv::currentLogger();
    hlv::setLogger(&log, false);
    ReadResult read = read_scene(written(source.scene));
    hlv::setLogger(previous, false);
    ASSERT_TRUE(read.scene) << "error " << read.error;
    EXPECT_NE(log.text.find("\"cracked.jpg\""), std::string::npos) << log.text;
    ASSERT_EQ(read.scene->textures().size(), 2u);
    EXPECT_FALSE(read.scene->textures()[1]->rgb->hasPixels());

    draw_through_camera_0(*read.scene);
    EXPECT_TRUE(is_red(seen_through_camera_0(*read.scene, redAt)));
    EXPECT_TRUE(is_green(seen_through_camera_0(*read.scene, greenAt)));
    EXPECT_TRUE(is_black(seen_through_camera_0(*read.scene, Vector3f(0, 0, 0))));
}
