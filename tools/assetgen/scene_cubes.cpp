// "cubes.hlv": sixty-four cubes in a sunrise sky gather out of the air into
// a turning four-by-four-by-four block, hold, and burst apart again, while
// the camera circles them (20 s).
#include <cmath>

#include "scene/scene.h"
#include "tools/assetgen/camera_path.h"
#include "tools/assetgen/cos_sin.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/scene_kit.h"
#include "tools/assetgen/scene_outdoor.h"
#include "tools/assetgen/scene_textures.h"
#include "tools/assetgen/shading.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
const Vector3f kSun{0.0f, 0.35f, 1.0f};  // low, ahead of the camera's start

PolyMesh shadedCube(Rgb base, Rgb sky)
{
    PolyMesh mesh;
    mesh.addBox({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, mesh.tag("Cube"));
    ShadeLook look;
    look.base = base;
    look.sky = sky;
    look.ground = fromHex(0x4a3a58);
    look.lights = {{kSun, fromHex(0xffc890)}, {{-0.6f, 0.8f, -0.3f}, fromHex(0x4a5a8a)}};
    bakeShading(mesh, 0, look);
    return mesh;
}

Vector3f randomDirection(Sequence& random)
{
    float z = random.range(-1, 1), a = random.range(0, 2 * kPi), r = std::sqrt(1 - z * z);
    const CosSin turn = cosSin(a);
    return {r * turn.cos, z, r * turn.sin};
}

void makeCubes(const PackFolder& pack)
{
    Scene scene;
    addPlainSurface(scene, "Coral cubes", {1, 1, 1});
    addPlainSurface(scene, "Lilac cubes", {1, 1, 1});
    // The third kind wears the sky itself, like a mirror.
    const int d = pack.detail();
    const int cloud = scene.add_texture(rawRgbTexture(skyPanorama(128 * d, 128 * d, sunriseSky(), d)));
    const int grain = scene.add_texture(rawGreyTexture(detailTexture(64 * d, 17)));
    addDetailSurface(scene, "Sky cubes", cloud, grain, -1, {1, 1, 1}, {1, 1, 1});

    PolyMesh coral = shadedCube(fromHex(0xffb088), fromHex(0xa08ac0));
    PolyMesh lilac = shadedCube(fromHex(0xe0d0ff), fromHex(0xa898d0));
    PolyMesh tiled;
    tiled.addBox({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, tiled.tag("Cube"));
    const int kinds[3] = {addPrimitive(scene, coral, {{0, "Coral cubes", VertexFormat::PointColour}}),
                          addPrimitive(scene, lilac, {{0, "Lilac cubes", VertexFormat::PointColour}}),
                          addPrimitive(scene, tiled, {{0, "Sky cubes", VertexFormat::PointUV2, 1.0f, 3.0f}})};

    TransformNode* root = addTransform(scene, nullptr);
    addSkyDome(scene, root, sunriseSky(), 180.0f, d);
    // The block turns about Y all the time and leans a little.
    TransformNode* block = addTransform(scene, root,
                                        lw6(keys({{0, 12}, {10, 20}, {20, 12}}), linearKeys({{0, 0}, {20, 200}}, Envelope::LinearBehaviour),
                                            keys({{0, 0}})));
    Sequence random(75);
    for (int i = 0; i < 64; ++i) {
        Vector3f slot{(float(i % 4) - 1.5f) * 1.5f, (float(i / 4 % 4) - 1.5f) * 1.5f, (float(i / 16) - 1.5f) * 1.5f};
        // One draw a statement: the order of two draws in one expression is
        // the compiler's choice, and the pack must not depend on it.
        const float fromDistance = random.range(14, 22);
        Vector3f from = randomDirection(random) * fromDistance;
        Vector3f swirl = normalize(cross(from, {0, 1, 0})) * 6.0f + slot * 1.6f;
        const float burstDistance = random.range(22, 34);
        Vector3f burst = normalize(slot + randomDirection(random) * 0.4f) * burstDistance;
        float arrive = 8.5f + random.range(0, 2.5f);
        std::vector<HermiteInterpolator::Ctrl> path(5);
        const float times[5] = {0, arrive * 0.55f, arrive, 15.2f, 19.5f};
        const Vector3f points[5] = {from, swirl, slot, slot, burst};
        for (int k = 0; k < 5; ++k) {
            path[size_t(k)].time = times[k];
            path[size_t(k)].value = points[k];
        }
        path[3].linear = true;  // holds its place in the block
        path[2].tension = 0.6f;
        const float speed = random.range(60, 160);
        float spin = speed * (random.next() < 0.5f ? -1.0f : 1.0f);
        TransformNode* cube = addTransform(
            scene, block,
            // Tumbling on the way in, square in the block, tumbling out again.
            lw6(linearKeys({{0, spin * 4}, {arrive, 0}, {15.2f, 0}, {19.5f, spin * 2}}, Envelope::Constant),
                linearKeys({{0, spin * 3}, {arrive, 0}, {15.2f, 0}, {19.5f, -spin}}, Envelope::Constant), keys({{0, 0}})),
            constant({0.9f, 0.9f, 0.9f}), lw5(path, 0));
        addShape(scene, cube, kinds[i % 3]);
    }
    Orbit orbit;
    orbit.angle = -0.6f;
    orbit.sweep = 1.9f;
    orbit.radius = 19;
    orbit.radiusSwing = -5;
    orbit.height = 3;
    orbit.heightSwing = 2.5f;
    orbit.heightRate = 1.3f;
    Lens lens;
    lens.halfWidth = 0.6f;
    lens.halfHeight = 0.45f;
    addCameraPath(scene, root, orbitKeys(orbit), lens);
    setAir(scene, fromHex(0xe6a9a0), false, 0, 0);
    saveScene(pack, "demo\\cubes.hlv", scene);
}

} // namespace

void addCubesSceneStep(std::vector<AssetStep>& steps)
{
    steps.push_back({"cubes scene", makeCubes});
}

} // namespace assetgen
