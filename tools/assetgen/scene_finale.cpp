// "fin2.hlv": above a sea of cloud at sunset, balloons circle and puffs of
// cloud bob, seen by four cameras at once. Every track repeats, so the
// scene plays for as long as the show keeps it on screen.
#include <cmath>

#include "scene/scene.h"
#include "tools/assetgen/camera_path.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/scene_kit.h"
#include "tools/assetgen/scene_outdoor.h"
#include "tools/assetgen/shading.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
const Vector3f kSun = normalize(Vector3f{-1.0f, 0.35f, 0.0f});

// Rolling cloud tops, lit from the low sun; tiles across the sea.
Canvas cloudTops(int size)
{
    Canvas canvas(size, size, 3);
    NoiseField field{707, 4, 4};
    const Rgb shade = fromHex(0x8a6a9a), lit = fromHex(0xffe0c8), glow = fromHex(0xffb48a);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / float(size) * 4, v = float(y) / float(size) * 4;
            float n = field.fbm(u, v, 5);
            float slope = field.fbm(u - 0.02f, v, 5) - n;  // towards -X: the sun's side
            Rgb c = mix(shade, lit, clamp01(0.45f + n * 0.6f + slope * 18.0f));
            canvas.set(x, y, mix(c, glow, clamp01(slope * 25.0f) * 0.5f));
        }
    return canvas;
}

// A heap of three rounded lumps rising out of the cloud sea.
PolyMesh puff()
{
    PolyMesh mesh;
    const uint16_t tag = mesh.tag("Puffs");
    std::vector<ProfilePoint> profile = {{0.0f, -0.2f}, {0.8f, -0.15f}, {1.0f, 0.1f}, {0.85f, 0.45f}, {0.5f, 0.75f}, {0.0f, 0.85f}};
    const Vector3f lumps[3] = {{0.0f, 0.0f, 0.0f}, {0.75f, -0.1f, 0.3f}, {-0.55f, -0.15f, -0.45f}};
    const float sizes[3] = {1.0f, 0.7f, 0.6f};
    for (int i = 0; i < 3; ++i) {
        uint32_t first = mesh.lathe(profile, 16, tag);
        mesh.transform(first, Matrix44::translation(lumps[i]) * Matrix44::scale(sizes[i], sizes[i] * 1.1f, sizes[i]));
    }
    ShadeLook look;
    look.base = fromHex(0xfff4ee);
    look.sky = fromHex(0xa890c0);
    look.ground = fromHex(0x7a5a80);
    look.lights = {{kSun, fromHex(0xffb080)}};
    look.rim = 0.35f;
    bakeShading(mesh, 0, look);
    return mesh;
}

// A closed circle of `samples` keys (the last equals the first) round the
// scene, repeating every `period` seconds.
std::vector<CameraKey> circle(float period, float radius, float height, float angle, float direction, Vector3f target,
                              float bob)
{
    Orbit orbit;
    orbit.duration = period;
    orbit.samples = 12;
    orbit.angle = angle;
    orbit.sweep = 2 * kPi * direction;
    orbit.radius = radius;
    orbit.height = height;
    orbit.heightSwing = bob;
    orbit.heightRate = 2 * direction;  // two whole waves per turn: the loop closes
    orbit.target = target;
    return orbitKeys(orbit);
}

void makeFinale(const PackFolder& pack)
{
    Scene scene;
    const int d = pack.detail();
    const int tops = scene.add_texture(rawRgbTexture(cloudTops(256 * d)));
    addTextureSurface(scene, "Cloud sea", tops);
    addPlainSurface(scene, "Puffs", {1, 1, 1});
    addPlainSurface(scene, "Balloons", {1, 1, 1});

    TransformNode* root = addTransform(scene, nullptr);
    addSkyDome(scene, root, goldenSky(), 420.0f, d);
    PolyMesh sea;
    sea.addGrid({-300, 0, -300}, {0, 0, 600}, {600, 0, 0}, 12, 12, sea.tag("Cloud sea"), {0, 0}, {1, 1});
    addShape(scene, root, addPrimitive(scene, sea, {{0, "Cloud sea", VertexFormat::PointUV, 14.0f}}));

    const int puffIndex = addPrimitive(scene, puff(), {{0, "Puffs", VertexFormat::PointColour}});
    Sequence random(2410);
    for (int i = 0; i < 14; ++i) {
        float a = random.range(0, 2 * kPi), r = random.range(12, 70), s = random.range(3, 8), period = random.range(6, 11);
        const CosSin turn = cosSin(a);
        Vector3f at{r * turn.cos, -0.5f, r * turn.sin};
        TransformNode* node = addTransform(scene, root, nullptr, constant({s, s * 0.7f, s}),
                                           lw6(keys({{0, at.x}}), keys({{0, at.y}, {period / 2, at.y + 0.8f}, {period, at.y}}, Envelope::Repeat),
                                               keys({{0, at.z}})));
        addShape(scene, node, puffIndex);
    }
    int balloons[3];
    for (int p = 0; p < 3; ++p)
        balloons[p] = addPrimitive(scene, balloonMesh(p, kSun), {{0, "Balloons", VertexFormat::PointColour}});
    for (int i = 0; i < 6; ++i) {
        // Each balloon circles the scene on a closed spline loop.
        float period = 40.0f + 8.0f * float(i), radius = 14.0f + 7.0f * float(i), height = 6.0f + 3.5f * float(i % 3);
        std::vector<HermiteInterpolator::Ctrl> loop;
        for (int k = 0; k <= 8; ++k) {
            float a = float(i) * 1.1f + 2 * kPi * float(k) / 8 * (i % 2 ? 1.0f : -1.0f);
            HermiteInterpolator::Ctrl ctrl;
            ctrl.time = period * float(k) / 8;
            const CosSin turn = cosSin(a);
            ctrl.value = {radius * turn.cos, height + 1.5f * std::sin(float(k) * kPi / 2), radius * turn.sin};
            loop.push_back(ctrl);
        }
        float size = 2.2f + 0.3f * float(i % 3);
        TransformNode* node = addTransform(scene, root, nullptr, constant({size, size, size}), lw5(loop, period));
        addShape(scene, node, balloons[i % 3]);
    }
    // Cameras 0 to 3.
    Lens lens;
    lens.halfWidth = 0.7f;
    lens.halfHeight = 0.525f;
    lens.farDistance = 900.0f;
    addCameraFlights(scene, root,
                     {{circle(64, 70, 16, 0.0f, 1, {0, 9, 0}, 3), Envelope::Repeat},
                      {circle(50, 32, 9, 0.5f, -1, {0, 10, 0}, 2), Envelope::Repeat},
                      {circle(90, 55, 40, 2.0f, 1, {0, 4, 0}, 4), Envelope::Repeat},
                      {circle(70, 24, 5.0f, 1.0f, -1, {-60, 8, 0}, 1.0f), Envelope::Repeat}},
                     lens);
    setAir(scene, fromHex(0xf7a56a), false, 0, 0);
    saveScene(pack, "demo\\fin2.hlv", scene);
}

} // namespace

void addFinaleSceneStep(std::vector<AssetStep>& steps)
{
    steps.push_back({"end scene", makeFinale});
}

} // namespace assetgen
