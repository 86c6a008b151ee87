// "Davudare.hlv": a river valley between hills at sunrise, hot-air balloons
// drifting over it. Camera 0 flies down the valley, the sun behind, for 40 s;
// camera 1 looks up at the balloons from the valley floor (the show frames
// it above the city skyline).
#include <cmath>

#include "scene/scene.h"
#include "tools/assetgen/camera_path.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/scene_kit.h"
#include "tools/assetgen/scene_outdoor.h"
#include "tools/assetgen/scene_textures.h"
#include "tools/assetgen/shading.h"

namespace assetgen {

namespace {

constexpr float kExtent = 160.0f;  // the terrain runs from -160 to 160 on X and Z
constexpr int kGrid = 80;
// The sky panorama puts the sun at azimuth 180 degrees: towards -X.
const Vector3f kSun = normalize(Vector3f{-1.0f, 0.28f, 0.1f});

float riverZ(float x) { return 22.0f * std::sin(x / 55.0f); }

float terrainHeight(float x, float z)
{
    static const NoiseField hills{404};
    float h = hills.fbm(x / 110.0f + 5, z / 110.0f + 5, 5) * 70.0f - 22.0f;
    float across = z - riverZ(x);
    h -= 26.0f * std::exp(-across * across / (2 * 20.0f * 20.0f));
    float r = std::sqrt(x * x + z * z);
    h += 45.0f * smoothstep(100.0f, 160.0f, r);  // mountains close the horizon
    return h;
}

Vector3f terrainNormal(float x, float z)
{
    const float e = 1.0f;
    return normalize(Vector3f{terrainHeight(x - e, z) - terrainHeight(x + e, z), 2 * e,
                              terrainHeight(x, z - e) - terrainHeight(x, z + e)});
}

// Colour by height and slope, lit by the low sun, hazier with distance.
Canvas terrainTexture(int size)
{
    Canvas canvas(size, size, 3);
    NoiseField speckle{405};
    const Rgb sand = fromHex(0xc8a080), grass = fromHex(0x5a7040), meadow = fromHex(0x8a8a48), rock = fromHex(0x7a6a64),
              snow = fromHex(0xf0e8f0), haze = fromHex(0xe0a8a0);
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            float x = -kExtent + 2 * kExtent * (float(i) + 0.5f) / float(size);
            float z = -kExtent + 2 * kExtent * (float(j) + 0.5f) / float(size);
            float h = terrainHeight(x, z);
            Vector3f n = terrainNormal(x, z);
            float n1 = speckle.fbm(x / 8, z / 8, 3);
            Rgb c = mix(grass, meadow, smoothstep(0.35f, 0.7f, n1));
            c = mix(sand, c, smoothstep(0.5f, 3.0f, h));
            c = mix(c, rock, smoothstep(0.75f, 0.55f, n.y));
            c = mix(c, snow, smoothstep(48.0f, 58.0f, h + n1 * 8));
            float sun = std::max(0.0f, dot(n, kSun));
            Rgb lit{0.32f + 1.25f * sun, 0.28f + 1.0f * sun, 0.36f + 0.7f * sun};
            c = {c.r * lit.r, c.g * lit.g, c.b * lit.b};
            float far = smoothstep(60.0f, 170.0f, std::sqrt(x * x + z * z));
            canvas.set(i, j, mix(c, haze, far * 0.55f));
        }
    return canvas;
}

PolyMesh terrainMesh()
{
    PolyMesh mesh;
    const uint16_t tag = mesh.tag("Land");
    mesh.addGrid({-kExtent, 0, -kExtent}, {2 * kExtent, 0, 0}, {0, 0, 2 * kExtent}, kGrid, kGrid, tag, {0, 0}, {1, 1});
    for (uint32_t i = 0; i < mesh.points().size(); ++i) {
        // addGrid's UV runs 0..1 over the grid: lift each point to the ground.
        UV uv = mesh.uvs()[i];
        float x = -kExtent + 2 * kExtent * uv.u, z = -kExtent + 2 * kExtent * uv.v;
        mesh.movePoint(i, {x, terrainHeight(x, z), z});
    }
    // The grid was built facing -Y (du x dv); the ground faces up.
    mesh.flipFrom(0);
    return mesh;
}

// Still water: deep lilac near, the pale sky mirrored further off, peach
// towards the sun.
PolyMesh waterMesh()
{
    PolyMesh mesh;
    mesh.addGrid({-kExtent, 0, -kExtent}, {0, 0, 2 * kExtent}, {2 * kExtent, 0, 0}, 32, 32, mesh.tag("Water"), {0, 0}, {1, 1});
    const Rgb deep = fromHex(0x4a4a7a), sky = fromHex(0x9aa0d0), glow = fromHex(0xf0b090);
    for (uint32_t i = 0; i < mesh.points().size(); ++i) {
        const Vector3f& p = mesh.points()[i];
        float towardsSun = smoothstep(60.0f, -140.0f, p.x) * (1.0f - smoothstep(20.0f, 110.0f, std::fabs(p.z)));
        float mirrored = smoothstep(10.0f, 120.0f, std::fabs(p.x) + std::fabs(p.z) * 0.5f);
        Rgb c = mix(mix(deep, sky, mirrored * 0.7f), glow, towardsSun * 0.85f);
        mesh.setPointColour(i, {c.r, c.g, c.b, 1});
    }
    return mesh;
}

struct Drift {
    int palette;
    Vector3f from, to;
    float scale;
};

void makeLandscape(const PackFolder& pack)
{
    Scene scene;
    const int d = pack.detail();
    const int land = scene.add_texture(rawRgbTexture(terrainTexture(512 * d)));
    const int grain = scene.add_texture(rawGreyTexture(detailTexture(128 * d, 406)));
    addDetailSurface(scene, "Land", land, grain);
    addPlainSurface(scene, "Water", {1, 1, 1});
    addPlainSurface(scene, "Balloons", {1, 1, 1});

    TransformNode* root = addTransform(scene, nullptr);
    addSkyDome(scene, root, sunriseSky(), 420.0f, d);
    addShape(scene, root, addPrimitive(scene, terrainMesh(), {{0, "Land", VertexFormat::PointUV2, 1.0f, 48.0f}}));
    addShape(scene, root, addPrimitive(scene, waterMesh(), {{0, "Water", VertexFormat::PointColour}}));
    int balloons[3];
    for (int p = 0; p < 3; ++p)
        balloons[p] = addPrimitive(scene, balloonMesh(p, kSun), {{0, "Balloons", VertexFormat::PointColour}});
    // The balloons keep to either side of the camera's flight (|z| < 11).
    const Drift drifts[6] = {{0, {40, 30, 24}, {-10, 36, 22}, 3.0f},   {1, {10, 38, -28}, {-35, 44, -24}, 3.2f},
                             {2, {-20, 26, 30}, {-60, 32, 26}, 2.8f}, {0, {80, 46, -26}, {35, 52, -22}, 3.4f},
                             {1, {-60, 34, -32}, {-95, 40, -28}, 3.0f}, {2, {100, 28, 26}, {60, 32, 22}, 2.6f}};
    for (const Drift& d : drifts) {
        std::vector<HermiteInterpolator::Ctrl> path(3);
        path[0].time = 0;
        path[0].value = d.from;
        path[1].time = 20;
        path[1].value = (d.from + d.to) * 0.5f + Vector3f{0, 2.5f, 0};
        path[2].time = 40;
        path[2].value = d.to;
        TransformNode* node = addTransform(scene, root, lw6(keys({{0, 0}}), linearKeys({{0, 0}, {40, 30}}, Envelope::LinearBehaviour), keys({{0, 0}})),
                                           constant({d.scale, d.scale, d.scale}), lw5(path, 0));
        addShape(scene, node, balloons[d.palette]);
    }
    // Camera 0 flies down the valley, camera 1 looks up from the lake shore.
    Lens lens;
    lens.halfWidth = 0.7f;
    lens.halfHeight = 0.525f;
    lens.farDistance = 900.0f;
    std::vector<CameraKey> flight;
    for (int k = 0; k <= 8; ++k) {
        // Down the valley with the sun behind, so the slopes ahead are lit;
        // well above the floor, looking a little ahead and down.
        float t = 40.0f * float(k) / 8, x = -75.0f + 100.0f * float(k) / 8;
        float ahead = x + 45;
        float z = riverZ(x) * 0.5f;
        float ground = std::max(0.0f, terrainHeight(x, z));
        float y = ground + 34.0f + 4.0f * std::sin(float(k) * 0.9f);
        flight.push_back({t, {x, y, z}, {ahead, y - 6.0f, riverZ(ahead) * 0.4f}});
    }
    const std::vector<CameraKey> shore = {{0, {-5, 9, 40}, {10, 30, -5}},
                                          {9, {-8, 10, 40}, {-15, 34, -10}},
                                          {18, {-12, 11, 38}, {-40, 32, -5}},
                                          {40, {-20, 12, 36}, {-70, 30, 0}}};
    addCameraFlights(scene, root, {{flight}, {shore}}, lens);
    setAir(scene, fromHex(0xffc58c), false, 0, 0);
    saveScene(pack, "demo\\Davudare.hlv", scene);
}

} // namespace

void addLandscapeSceneStep(std::vector<AssetStep>& steps)
{
    steps.push_back({"landscape scene", makeLandscape});
}

} // namespace assetgen
