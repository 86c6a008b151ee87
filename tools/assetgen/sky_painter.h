#pragma once
// The show's skies: dawn gradients, a low sun with its halo, stars, and
// banks of clouds lit from the sun's side. Every picture that shows sky
// paints it through here so that the palette stays one.

#include <cstdint>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

struct GradientStop {
    float at;  // 0 = top row, 1 = bottom row
    Rgb colour;
};

struct CloudLayer {
    uint32_t seed = 7;
    float top = 0.4f, bottom = 0.9f;  // band of the picture (0..1) the clouds live in
    float scaleX = 3.0f, scaleY = 9.0f;  // noise cells across the picture's width / height
    float cover = 0.5f;     // 0 clear .. 1 overcast
    float opacity = 0.9f;
    Rgb lit{1.0f, 0.85f, 0.7f};
    Rgb shade{0.45f, 0.35f, 0.5f};
};

struct SkyLook {
    std::vector<GradientStop> gradient;
    float sunX = 0.5f, sunY = 0.8f;  // fraction of width / height
    float sunRadius = 0.03f;         // fraction of width
    Rgb sunColour{1.0f, 0.9f, 0.7f};
    float haloStrength = 0.6f;
    float starDensity = 0;           // stars per thousand pixels (at detail 1), above the glow
    std::vector<CloudLayer> clouds;
    bool wrapX = false;  // a panorama: left and right edges meet (cloud scales must be whole numbers)
};

Rgb gradientAt(const std::vector<GradientStop>& stops, float t);

// `detail` canvas pixels stand for one pixel of the look (stars keep their
// places and sizes; gradients, sun and clouds scale with the canvas anyway).
void paintSky(Canvas& canvas, const SkyLook& look, int detail = 1);

// The shared looks: deep dawn (before sunrise), golden sunrise, the warm
// evening of the final logo, and the deep sky high above the clouds.
SkyLook dawnSky();
SkyLook sunriseSky();
SkyLook nightSky();
SkyLook goldenSky();
SkyLook highSky();  // above the clouds: deep blue, a pink band at the horizon

} // namespace assetgen
