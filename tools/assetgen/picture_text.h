#pragma once
// Lettering laid over painted pictures: a soft glow under crisp text.

#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/typesetter.h"

namespace assetgen {

struct Lettering {
    TextStyle style;
    Rgb fill{1, 1, 1};
    Rgb glow{1.0f, 0.7f, 0.45f};
    int glowRadius = 8;
    float glowStrength = 1.0f;
    float shadow = 0;  // opacity of a dark drop shadow under the text
};

// `look`, `centreX` and `baseline` are in layout pixels; `detail` picture
// pixels stand for one of them, and the text is typeset at that size.
void letterCentred(Canvas& canvas, Typesetter& type, const std::string& text, const Lettering& look,
                   int centreX, int baseline, int detail = 1);

} // namespace assetgen
