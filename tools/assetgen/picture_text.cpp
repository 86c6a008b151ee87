#include "tools/assetgen/picture_text.h"

namespace assetgen {

void letterCentred(Canvas& canvas, Typesetter& type, const std::string& text, const Lettering& look,
                   int centreX, int baseline, int detail)
{
    const TextStyle style = atDetail(look.style, detail);
    centreX *= detail;
    baseline *= detail;
    Canvas mask(canvas.width(), canvas.height(), 1);
    type.drawCentred(mask, text, style, centreX, baseline);
    if (look.shadow > 0) {
        Canvas shadow(canvas.width(), canvas.height(), 1);
        type.drawCentred(shadow, text, style, centreX + 2 * detail, baseline + 3 * detail);
        shadow.blur(3 * detail);
        canvas.blendMask(shadow, {0.05f, 0.03f, 0.1f}, look.shadow);
    }
    if (look.glowStrength > 0 && look.glowRadius > 0) {
        Canvas glow = mask;
        glow.blur(look.glowRadius * detail);
        canvas.addMask(glow, scaled(look.glow, look.glowStrength));
    }
    canvas.blendMask(mask, look.fill);
}

} // namespace assetgen
