#pragma once
// A small scene for the scene manager and scene brush tests: an orange
// textured square of side 10 at the origin, seen by camera 0 from +z at
// distance 10 through a 90-degree frustum, so that it covers the middle
// half of the viewport (x 200..600, y 150..450 of a full screen), on a
// blue backdrop.

#include "render/texture_image.h"
#include "scene/scene_file.h"
#include "tests/scene/scene_builders.h"
#include "tests/support/gl_window.h"

inline void build_orange_square_scene(Scene& scene)
{
    auto* pixels = new ImageRGB;
    pixels->width = pixels->height = 4;
    for (int i = 0; i < 16; ++i)
        pixels->pixels.insert(pixels->pixels.end(), {255, 128, 0});
    scene.add_texture(new TextureImage(pixels, TextureImage::NoMipmap));
    scene.add_surface(new TextureSurface("orange", &scene, 0));
    scene.add_primitive(one_part_mesh(textured_square(5.0f), "orange"));
    TransformNode* root = placed(scene, Vector3f(), nullptr);
    scene.set_root(root);
    placed(scene, Vector3f(), shape(scene, 0))->attach(root);
    camera_on_z(scene, 10, root);
    const float blue[4] = {0, 0, 1, 1};
    std::copy(blue, blue + 4, scene.backdrop);
}

// Writes the scene as a file under `resourceName`.
inline void save_orange_square_scene(const std::string& resourceName)
{
    Scene scene;
    build_orange_square_scene(scene);
    save_scene(scene, resourceName);
}

inline bool is_orange(Rgba p) { return p.r > 230 && p.g > 100 && p.g < 156 && p.b < 30; }
inline bool is_blue(Rgba p) { return p.r < 30 && p.g < 30 && p.b > 225; }
