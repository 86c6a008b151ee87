// The full-screen pictures: the loading card, the intro sky, the title, the
// frame of the shadow section and the closing logo. All 800 x 600, the size
// the backdrops show 1:1 (times the pack's detail).
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

Canvas screenCanvas(const PackFolder& pack)
{
    return Canvas(kScreenW * pack.detail(), kScreenH * pack.detail(), 3);
}

void makeLoading(const PackFolder& pack)
{
    const int detail = pack.detail();
    Canvas canvas = screenCanvas(pack);
    paintSky(canvas, nightSky(), detail);
    Typesetter type;
    Lettering title = titleLettering(88);
    title.glow = fromHex(0x6a7ad8);
    title.glowStrength = 0.6f;
    letterCentred(canvas, type, "Sky Drift", title, kScreenW / 2, 300, detail);
    letterCentred(canvas, type, "HALVANE  -  2001", smallLettering(16), kScreenW / 2, 350, detail);
    Lettering waiting = smallLettering(13);
    waiting.fill = fromHex(0xb8b0d8);
    letterCentred(canvas, type, "the sky is getting ready", waiting, kScreenW / 2, 530, detail);
    saveJpeg(pack, "demo\\loading.jpg", canvas);
}

void makeIntroSky(const PackFolder& pack)
{
    Canvas canvas = screenCanvas(pack);
    paintSky(canvas, dawnSky(), pack.detail());
    saveJpeg(pack, "demo\\backs\\1.jpg", canvas);
}

void makeTitle(const PackFolder& pack)
{
    const int detail = pack.detail();
    Canvas canvas = screenCanvas(pack);
    paintSky(canvas, sunriseSky(), detail);
    Typesetter type;
    letterCentred(canvas, type, "Sky Drift", titleLettering(132), kScreenW / 2, 290, detail);
    Lettering maker = smallLettering(22, Face::SansBold);
    maker.fill = fromHex(0x6a3a5a);
    maker.glow = fromHex(0xfff0e0);
    maker.glowStrength = 0.6f;
    letterCentred(canvas, type, "HALVANE  2001", maker, kScreenW / 2, 345, detail);
    saveJpeg(pack, "demo\\SkyDrift.jpg", canvas);
}

// White where the picture shows through; towards the edges a soft frame of
// dusk colour with a little cloud in it. The show multiplies the frame by it.
void makeFrontdrop(const PackFolder& pack)
{
    const int detail = pack.detail();
    Canvas canvas = screenCanvas(pack);
    NoiseField clouds{303};
    const Rgb edge = fromHex(0x2a1c3a), rim = fromHex(0xeab8b4);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            // Distance outside an inner rounded rectangle, in layout pixels.
            const float lx = layoutAt(x, detail), ly = layoutAt(y, detail);
            float dx = std::fabs(lx + 0.5f - kScreenW / 2.0f) - (kScreenW / 2.0f - 110);
            float dy = std::fabs(ly + 0.5f - kScreenH / 2.0f) - (kScreenH / 2.0f - 90);
            float ox = std::fmax(dx, 0.0f), oy = std::fmax(dy, 0.0f);
            float outside = std::sqrt(ox * ox + oy * oy);
            float wisp = clouds.fbm(lx / 160.0f, ly / 110.0f, 3);
            float t = smoothstep(0.0f, 170.0f, outside + (wisp - 0.5f) * 40.0f);
            Rgb c = mix({1, 1, 1}, rim, smoothstep(0.0f, 0.6f, t));
            c = mix(c, edge, smoothstep(0.45f, 1.1f, t));
            canvas.set(x, y, c);
        }
    saveJpeg(pack, "demo\\frontdrop.jpg", canvas, 95);
}

void makeBigLogo(const PackFolder& pack)
{
    const int detail = pack.detail();
    Canvas canvas = screenCanvas(pack);
    paintSky(canvas, goldenSky(), detail);
    Typesetter type;
    Lettering title = titleLettering(120);
    letterCentred(canvas, type, "Sky Drift", title, kScreenW / 2, 250, detail);
    Lettering maker = smallLettering(24, Face::SansBold);
    maker.fill = fromHex(0xfff2e0);
    maker.glow = fromHex(0xff8a50);
    letterCentred(canvas, type, "HALVANE", maker, kScreenW / 2, 305, detail);
    Lettering year = smallLettering(16, Face::SansBold);
    year.fill = fromHex(0x6a3a5a);
    year.glow = fromHex(0xfff0e0);
    letterCentred(canvas, type, "2001", year, kScreenW / 2, 333, detail);
    Lettering thanks = smallLettering(14);
    thanks.fill = fromHex(0x4a2848);
    thanks.glow = fromHex(0xfff0d0);
    letterCentred(canvas, type, "a drift through the sky  -  thank you for watching", thanks, kScreenW / 2, 570, detail);
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
