#include "tools/assetgen/scene_outdoor.h"

#include <cmath>

#include "scene/scene.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/scene_kit.h"
#include "tools/assetgen/scene_textures.h"
#include "tools/assetgen/shading.h"

namespace assetgen {

void addSkyDome(Scene& scene, SceneNode* parent, const SkyLook& look, float radius, int detail)
{
    const int texture = scene.add_texture(rawRgbTexture(skyPanorama(512 * detail, 256 * detail, look, detail)));
    addTextureSurface(scene, "Sky", texture);
    // A closed sphere; the panorama's rows run from the zenith (v = 0) down
    // to 20 degrees below the horizon (v = 1, the horizon at 0.82), and
    // everything lower keeps its last row.
    std::vector<ProfilePoint> profile;
    const int rings = 16;
    for (int i = 0; i <= rings; ++i) {
        float e = (-90.0f + 180.0f * float(i) / rings) * 0.017453292f;
        bool pole = i == 0 || i == rings;
        const CosSin turn = cosSin(e);
        profile.push_back({pole ? 0.0f : radius * turn.cos, radius * turn.sin});
    }
    PolyMesh dome;
    const uint16_t tag = dome.tag("Sky");
    dome.lathe(profile, 32, tag);
    dome.flipFrom(0);
    for (uint32_t i = 0; i < dome.points().size(); ++i) {
        float elevation = std::asin(std::max(-1.0f, std::min(1.0f, dome.points()[i].y / radius))) * 57.29578f;
        dome.setPointUV(i, {dome.uvs()[i].u, std::min(0.995f, (90.0f - elevation) / 110.0f)});
    }
    addShape(scene, parent, addPrimitive(scene, dome, {{tag, "Sky", VertexFormat::PointUV}}));
}

PolyMesh balloonMesh(int palette, const Vector3f& sun)
{
    static const uint32_t palettes[3][4] = {{0xf0705a, 0xffc560, 0xfff0d8, 0x8a5aa8},
                                           {0x4aa0d8, 0xfff0d8, 0xe85a6a, 0xfff0d8},
                                           {0xffb040, 0xe86a3a, 0xffe080, 0xc04a5a}};
    PolyMesh mesh;
    const uint16_t tag = mesh.tag("Balloons");
    // Envelope: a sphere on a tapering neck, revolved in 16 gores.
    std::vector<ProfilePoint> profile = {{0.18f, 0.9f}, {0.45f, 1.15f}, {0.72f, 1.45f}, {0.88f, 1.8f}, {0.92f, 2.1f},
                                         {0.85f, 2.45f}, {0.65f, 2.75f}, {0.35f, 2.95f}, {0.0f, 3.02f}};
    uint32_t first = mesh.lathe(profile, 16, tag, true);
    ShadeLook look;
    look.sky = fromHex(0x6a6088);
    look.ground = fromHex(0x3a2430);
    look.lights = {{sun, fromHex(0xffd8b0)}};
    look.rim = 0.25f;
    bakeShading(mesh, first, look);
    // Tint each gore: every point gets the colour of the gore it starts.
    for (uint32_t i = first; i < mesh.points().size(); ++i) {
        int gore = int(mesh.uvs()[i].u * 16.0f + 0.01f) % 4;
        Rgb c = fromHex(palettes[palette % 3][gore]);
        const Colour4& shade = mesh.colours()[i];
        mesh.setPointColour(i, {shade.r * c.r * 1.4f > 1 ? 1 : shade.r * c.r * 1.4f,
                                shade.g * c.g * 1.4f > 1 ? 1 : shade.g * c.g * 1.4f,
                                shade.b * c.b * 1.4f > 1 ? 1 : shade.b * c.b * 1.4f, 1});
    }
    first = mesh.addBox({-0.2f, 0.0f, -0.2f}, {0.2f, 0.3f, 0.2f}, tag);
    ShadeLook wicker;
    wicker.base = fromHex(0xa0703c);
    wicker.lights = look.lights;
    bakeShading(mesh, first, wicker);
    return mesh;
}

void setAir(Scene& scene, Rgb colour, bool fog, float fogStart, float fogEnd)
{
    const float c[4] = {colour.r, colour.g, colour.b, 0};
    for (int i = 0; i < 4; ++i) {
        scene.backdrop[i] = c[i];
        scene.fog_colour[i] = c[i];
    }
    scene.fog_enabled = fog;
    scene.fog_start = fogStart;
    scene.fog_end = fogEnd;
}

} // namespace assetgen
