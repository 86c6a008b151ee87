#include "timeline/bitmap_brush.h"

#include "render/gl_api.h"
#include "timeline/textured_brush.h"

namespace hlv {

void BitmapBrush::render(float localTime)
{
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    TextureImage* image = beginTexturedBrush(bitmapName);
    bool blend = blendIfTranslucent(channels[7], image);
    glColor4f(channels[4], channels[5], channels[6], channels[7]);
    if (image)
        drawAtPixelSize(*image, channels[0], channels[1]);
    if (blend)
        glDisable(GL_BLEND);
    endTexturedBrush();
}

} // namespace hlv
