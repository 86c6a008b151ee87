#include "timeline/textured_brush.h"

#include "render/device.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "resources/bitmap_manager.h"

namespace hlv {

void resetMatrices()
{
    GLStateCache& cache = GLStateCache::instance();
    cache.setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    cache.setMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

TextureImage* beginTexturedBrush(const std::string& bitmapName)
{
    resetMatrices();
    TextureImage* image = BitmapManager::instance().find(bitmapName.c_str());
    const PixelImage* pixels = image ? image->currentImage() : nullptr;
    if (!pixels || pixels->width == 0 || pixels->height == 0)
        image = nullptr;
    GLStateCache& cache = GLStateCache::instance();
    cache.setTextureUnits(1);
    if (image)
        cache.bindTexture(0, image->texture);
    return image;
}

void endTexturedBrush()
{
    GLStateCache::instance().setTextureUnits(0);
}

bool blendIfTranslucent(float alpha, const TextureImage* image)
{
    bool blend = alpha < 1.0f || (image && image->hasAlpha);
    if (blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    return blend;
}

void drawQuad(const QuadRect& where, const TexRect* texture)
{
    glBegin(GL_QUADS);
    if (texture)
        glTexCoord2f(texture->s0, texture->t1);
    glVertex2f(where.left, where.bottom);
    if (texture)
        glTexCoord2f(texture->s0, texture->t0);
    glVertex2f(where.left, where.top);
    if (texture)
        glTexCoord2f(texture->s1, texture->t0);
    glVertex2f(where.right, where.top);
    if (texture)
        glTexCoord2f(texture->s1, texture->t1);
    glVertex2f(where.right, where.bottom);
    glEnd();
}

QuadRect centredRect(float x, float y, float w, float h)
{
    return {x - w / 2, y - h / 2, x + w / 2, y + h / 2};
}

void drawAtPixelSize(const TextureImage& image, float x, float y)
{
    const PixelImage& pixels = *image.currentImage();
    float w = 2.0f * (float(pixels.width) / float(image.detail)) / gldevice::screenWidth;
    float h = 2.0f * (float(pixels.height) / float(image.detail)) / gldevice::screenHeight;
    TexRect whole = {0, 0, 1, 1};
    drawQuad({x, y, x + w, y + h}, &whole);
}

void drawOverScreen(const TextureImage& image)
{
    const PixelImage& pixels = *image.currentImage();
    float u = float(gldevice::screenWidth * image.detail) / pixels.width;
    float v = float(gldevice::screenHeight * image.detail) / pixels.height;
    TexRect screen = {0, 0, u, v};
    drawQuad({-1, -1, 1, 1}, &screen);
}

} // namespace hlv
