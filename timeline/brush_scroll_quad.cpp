#include "timeline/brush_scroll_quad.h"

#include "render/gl_api.h"
#include "render/texture_image.h"
#include "timeline/textured_brush.h"

namespace hlv {

void BrushScrollQuad::render(float localTime)
{
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    TextureImage* image = beginTexturedBrush(bitmapName);
    bool blend = blendIfTranslucent(channels[7], image);
    glColor4f(channels[4], channels[5], channels[6], channels[7]);
    if (image) {
        // Strip pictures are loaded clamped like every bitmap; the strip only
        // scrolls if its texture repeats vertically, so it does while drawn.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        TexRect scrolled = {0, textureOffset, 1, textureOffset + 1};
        drawQuad(centredRect(channels[0], channels[1], channels[2], channels[3]), &scrolled);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(image->wrapT));
    }
    if (blend)
        glDisable(GL_BLEND);
    endTexturedBrush();
}

} // namespace hlv
