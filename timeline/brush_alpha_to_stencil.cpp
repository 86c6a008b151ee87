#include "timeline/brush_alpha_to_stencil.h"

#include <algorithm>

#include "render/gl_api.h"
#include "timeline/textured_brush.h"

namespace hlv {

void BrushAlphaToStencil::render(float localTime)
{
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    TextureImage* image = beginTexturedBrush(bitmapName);
    glEnable(GL_ALPHA_TEST);
    // Half the tint's alpha (as the colour clamps it): the mask is drawn
    // magnified and filtered, so its edges blend over a frame pixel or more;
    // the middle of the blend is where the mask's own edge lies, at every
    // frame size. Where texels fall on pixel centres (the 800x600 frame)
    // alpha is 0 or the tint's, as before.
    glAlphaFunc(GL_GREATER, 0.5f * std::clamp(channels[7], 0.0f, 1.0f));
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 0xFFFFFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glColor4f(channels[4], channels[5], channels[6], channels[7]);
    if (image)
        drawAtPixelSize(*image, channels[0], channels[1]);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    endTexturedBrush();
}

} // namespace hlv
