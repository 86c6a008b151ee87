// "metaballs.hlv": a pearly cluster of blobs high in a deep blue sky, turning and
// breathing, with smaller drops that orbit out of it and sink back in as
// if they merged (34 s). The show pulses this camera's near distance.
#include <cmath>

#include "scene/scene.h"
#include "tools/assetgen/camera_path.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/metaball_surface.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/scene_kit.h"
#include "tools/assetgen/scene_outdoor.h"
#include "tools/assetgen/shading.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

// Pearl: lilac from the sky, gold from the sun, a pale rim.
ShadeLook pearl()
{
    ShadeLook look;
    look.base = fromHex(0xfff0f4);
    look.sky = fromHex(0x9a86c8);
    look.ground = fromHex(0x5a3050);
    look.lights = {{{0.3f, 0.4f, 1.0f}, fromHex(0xffb070)}, {{-1.0f, 0.2f, -0.4f}, fromHex(0x6a8ad0)}};
    look.rim = 0.3f;
    look.viewer = {0, 0, -1};
    return look;
}

PolyMesh drop()
{
    PolyMesh mesh;
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= 10; ++i) {
        float e = -kPi / 2 + kPi * float(i) / 10;
        const CosSin turn = cosSin(e);
        profile.push_back({(i == 0 || i == 10) ? 0.0f : turn.cos, turn.sin});
    }
    mesh.lathe(profile, 18, mesh.tag("Drops"));
    bakeShading(mesh, 0, pearl());
    return mesh;
}

void makeMetaballs(const PackFolder& pack)
{
    Scene scene;
    addPlainSurface(scene, "Pearl", {1, 1, 1});
    addPlainSurface(scene, "Drops", {1, 1, 1});
    const std::vector<Blob> blobs = {{{0.0f, 0.0f, 0.0f}, 1.05f},  {{1.25f, 0.45f, 0.1f}, 0.75f},
                                     {{-1.1f, -0.3f, 0.6f}, 0.8f}, {{0.2f, 1.1f, -0.7f}, 0.65f},
                                     {{-0.3f, -1.05f, -0.8f}, 0.7f}, {{0.6f, -0.5f, 1.2f}, 0.55f}};
    PolyMesh core = metaballSurface(blobs, 1.35f, 3.0f, 48, "Pearl");
    bakeShading(core, 0, pearl());
    const int coreIndex = addPrimitive(scene, core, {{0, "Pearl", VertexFormat::PointColour}});
    const int dropIndex = addPrimitive(scene, drop(), {{0, "Drops", VertexFormat::PointColour}});

    TransformNode* root = addTransform(scene, nullptr);
    addSkyDome(scene, root, highSky(), 180.0f, pack.detail());
    TransformNode* cluster = addTransform(
        scene, root,
        lw6(keys({{0, 0}, {17, 40}, {34, 0}}, Envelope::Repeat), linearKeys({{0, 0}, {34, 250}}, Envelope::LinearBehaviour),
            keys({{0, 0}, {11, 15}, {23, -10}, {34, 0}}, Envelope::Repeat)),
        lw6(keys({{0, 1}, {1.5f, 1.06f}, {3, 1}}, Envelope::Repeat), keys({{0, 1}, {1.5f, 0.95f}, {3, 1}}, Envelope::Repeat),
            keys({{0, 1}, {1.5f, 1.04f}, {3, 1}}, Envelope::Repeat)));
    addShape(scene, cluster, coreIndex);
    Sequence random(93);
    for (int i = 0; i < 10; ++i) {
        // A loop that leaves the cluster, swings round and dives back in.
        float period = random.range(7, 12), phase = random.range(0, 2 * kPi), tilt = random.range(-0.8f, 0.8f);
        std::vector<HermiteInterpolator::Ctrl> path;
        for (int k = 0; k <= 6; ++k) {
            float a = phase + 2 * kPi * float(k) / 6;
            float r = (k % 3 == 0) ? 0.5f : random.range(2.6f, 3.6f);
            HermiteInterpolator::Ctrl ctrl;
            ctrl.time = period * float(k) / 6;
            const CosSin turn = cosSin(a);
            ctrl.value = {r * turn.cos, r * turn.sin * tilt + random.range(-0.6f, 0.6f), r * turn.sin};
            path.push_back(ctrl);
        }
        path.back().value = path.front().value;  // the loop closes
        float size = random.range(0.32f, 0.6f);
        TransformNode* node = addTransform(scene, cluster, nullptr, constant({size, size, size}), lw5(path, period));
        addShape(scene, node, dropIndex);
    }
    Orbit orbit;
    orbit.duration = 34;
    orbit.angle = 0.4f;
    orbit.sweep = 2.2f;
    orbit.radius = 8.5f;
    orbit.radiusSwing = 1.5f;
    orbit.radiusWaves = 2.8f;
    orbit.height = 1.2f;
    orbit.heightSwing = 1.4f;
    orbit.heightRate = 1.7f;
    // Looking below the cluster keeps it in the upper half of the picture,
    // clear of the balloon on the left and the greetings on the right.
    orbit.target = {0, -2.4f, 0};
    Lens lens;
    lens.halfWidth = 0.6f;
    lens.halfHeight = 0.45f;
    addCameraPath(scene, root, orbitKeys(orbit), lens);
    setAir(scene, fromHex(0x4a64b0), false, 0, 0);
    saveScene(pack, "demo\\metaballs.hlv", scene);
}

} // namespace

void addMetaballsSceneStep(std::vector<AssetStep>& steps)
{
    steps.push_back({"metaballs scene", makeMetaballs});
}

} // namespace assetgen
