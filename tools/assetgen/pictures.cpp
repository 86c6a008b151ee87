// The full-screen pictures: the loading card, the intro sky, the title, the
// frame of the shadow section and the closing logo. All 800 x 600, the size
// the backdrops show 1:1.
#include <cmath>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/picture_text.h"
#include "tools/assetgen/sky_painter.h"
#include "tools/assetgen/picture_files.h"

namespace assetgen {

namespace {

constexpr int kScreenW = 800, kScreenH = 600;

Lettering titleLettering(int size)
{
    Lettering look;
    look.style = {Face::Serif, size, size * 0.08f};
    look.fill = fromHex(0xfff6ea);
    look.glow = fromHex(0xff9a5a);
    look.glowRadius = size / 7;
    look.glowStrength = 0.9f;
    look.shadow = 0.35f;
    return look;
}

Lettering smallLettering(int size, Face face = Face::Sans)
{
    Lettering look;
    look.style = {face, size, size * 0.25f};
    look.fill = fromHex(0xf4e6f0);
    look.glow = fromHex(0x8a6ab0);
    look.glowRadius = 3;
    look.glowStrength = 0.5f;
    return look;
}

void makeLoading(const PackFolder& pack)
{
    Canvas canvas(kScreenW, kScreenH, 3);
    paintSky(canvas, nightSky());
    Typesetter type;
    Lettering title = titleLettering(88);
    title.glow = fromHex(0x6a7ad8);
    title.glowStrength = 0.6f;
    letterCentred(canvas, type, "Sky Drift", title, kScreenW / 2, 300);
    letterCentred(canvas, type, "HALVANE  -  2001", smallLettering(16), kScreenW / 2, 350);
    Lettering waiting = smallLettering(13);
    waiting.fill = fromHex(0xb8b0d8);
    letterCentred(canvas, type, "the sky is getting ready", waiting, kScreenW / 2, 530);
    saveJpeg(pack, "demo\\loading.jpg", canvas);
}

void makeIntroSky(const PackFolder& pack)
{
    Canvas canvas(kScreenW, kScreenH, 3);
    paintSky(canvas, dawnSky());
    saveJpeg(pack, "demo\\backs\\1.jpg", canvas);
}

void makeTitle(const PackFolder& pack)
{
    Canvas canvas(kScreenW, kScreenH, 3);
    paintSky(canvas, sunriseSky());
    Typesetter type;
    letterCentred(canvas, type, "Sky Drift", titleLettering(132), kScreenW / 2, 290);
    Lettering maker = smallLettering(22, Face::SansBold);
    maker.fill = fromHex(0x6a3a5a);
    maker.glow = fromHex(0xfff0e0);
    maker.glowStrength = 0.6f;
    letterCentred(canvas, type, "HALVANE  2001", maker, kScreenW / 2, 345);
    saveJpeg(pack, "demo\\SkyDrift.jpg", canvas);
}

// White where the picture shows through; towards the edges a soft frame of
// dusk colour with a little cloud in it. The show multiplies the frame by it.
void makeFrontdrop(const PackFolder& pack)
{
    Canvas canvas(kScreenW, kScreenH, 3);
    NoiseField clouds{303};
    const Rgb edge = fromHex(0x2a1c3a), rim = fromHex(0xeab8b4);
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            // Distance outside an inner rounded rectangle, in pixels.
            float dx = std::fabs(float(x) + 0.5f - kScreenW / 2.0f) - (kScreenW / 2.0f - 110);
            float dy = std::fabs(float(y) + 0.5f - kScreenH / 2.0f) - (kScreenH / 2.0f - 90);
            float ox = std::fmax(dx, 0.0f), oy = std::fmax(dy, 0.0f);
            float outside = std::sqrt(ox * ox + oy * oy);
            float wisp = clouds.fbm(float(x) / 160.0f, float(y) / 110.0f, 3);
            float t = smoothstep(0.0f, 170.0f, outside + (wisp - 0.5f) * 40.0f);
            Rgb c = mix({1, 1, 1}, rim, smoothstep(0.0f, 0.6f, t));
            c = mix(c, edge, smoothstep(0.45f, 1.1f, t));
            canvas.set(x, y, c);
        }
    saveJpeg(pack, "demo\\frontdrop.jpg", canvas, 95);
}

void makeBigLogo(const PackFolder& pack)
{
    Canvas canvas(kScreenW, kScreenH, 3);
    paintSky(canvas, goldenSky());
    Typesetter type;
    Lettering title = titleLettering(120);
    letterCentred(canvas, type, "Sky Drift", title, kScreenW / 2, 250);
    Lettering maker = smallLettering(24, Face::SansBold);
    maker.fill = fromHex(0xfff2e0);
    maker.glow = fromHex(0xff8a50);
    letterCentred(canvas, type, "HALVANE", maker, kScreenW / 2, 305);
    Lettering year = smallLettering(16, Face::SansBold);
    year.fill = fromHex(0x6a3a5a);
    year.glow = fromHex(0xfff0e0);
    letterCentred(canvas, type, "2001", year, kScreenW / 2, 333);
    Lettering thanks = smallLettering(14);
    thanks.fill = fromHex(0x4a2848);
    thanks.glow = fromHex(0xfff0d0);
    letterCentred(canvas, type, "a drift through the sky  -  thank you for watching", thanks, kScreenW / 2, 570);
    saveJpeg(pack, "demo\\backs\\biglogo.jpg", canvas);
}

} // namespace

void addPictureSteps(std::vector<AssetStep>& steps)
{
    steps.push_back({"loading picture", makeLoading});
    steps.push_back({"intro sky", makeIntroSky});
    steps.push_back({"title picture", makeTitle});
    steps.push_back({"front frame", makeFrontdrop});
    steps.push_back({"final logo", makeBigLogo});
    addCutoutSteps(steps);
}

} // namespace assetgen
