#include "timeline/brush_frontdrop.h"

#include "render/gl_api.h"
#include "timeline/textured_brush.h"

namespace hlv {

void BrushFrontdrop::render(float localTime)
{
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    TextureImage* image = beginTexturedBrush(bitmapName);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glColor4f(channels[4], channels[5], channels[6], 0.0f);
    if (image)
        drawOverScreen(*image);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    endTexturedBrush();
}

} // namespace hlv
