#include "timeline/brush_backdrop.h"

#include "render/gl_api.h"
#include "timeline/textured_brush.h"

namespace hlv {

void BrushBackdrop::render(float localTime)
{
    if (!visible)
        return;
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    TextureImage* image = beginTexturedBrush(bitmapName);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_ALWAYS);
    if (destinationAlphaBlend) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA);
    }
    glColor4f(channels[4], channels[5], channels[6], 0.0f);
    if (image)
        drawOverScreen(*image);
    if (destinationAlphaBlend) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDisable(GL_BLEND);
    }
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    endTexturedBrush();
}

} // namespace hlv
