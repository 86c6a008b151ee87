#include "timeline/brush_flat_quad.h"

#include "render/gl_api.h"
#include "timeline/textured_brush.h"

namespace hlv {

void BrushFlatQuad::render(float localTime)
{
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    endTexturedBrush();
    resetMatrices();
    bool blend = blendIfTranslucent(channels[7], nullptr);
    glDisable(GL_DEPTH_TEST);
    glColor4f(channels[4], channels[5], channels[6], channels[7]);
    drawQuad(centredRect(channels[0], channels[1], channels[2], channels[3]), nullptr);
    glEnable(GL_DEPTH_TEST);
    if (blend)
        glDisable(GL_BLEND);
}

} // namespace hlv
