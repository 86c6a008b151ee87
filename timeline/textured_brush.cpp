#include "timeline/textured_brush.h"

#include <utility>

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

namespace {

// The texture coordinates at the frame's two edges along one axis, so that
// the frame's first and last pixel centres sample the first and last texel
// centres of the screen's share of the picture: a frame larger than the
// layout then never filters in the padding beyond the picture or the
// clamp's border. With one texel per pixel these are 0 and layout / texture.
std::pair<float, float> screenEdges(unsigned layoutPixels, unsigned framePixels, unsigned texturePixels)
{
    const float texelsPerPixel = framePixels > 1 ? float(layoutPixels - 1) / float(framePixels - 1) : 1.0f;
    const float margin = 0.5f - 0.5f * texelsPerPixel;
    return {margin / float(texturePixels), (float(layoutPixels) - margin) / float(texturePixels)};
}

} // namespace

void drawOverScreen(const TextureImage& image)
{
    const PixelImage& pixels = *image.currentImage();
    const auto [s0, s1] = screenEdges(gldevice::screenWidth * image.detail, gldevice::frameWidth, pixels.width);
    const auto [t0, t1] = screenEdges(gldevice::screenHeight * image.detail, gldevice::frameHeight, pixels.height);
    TexRect screen = {s0, t0, s1, t1};
    drawQuad({-1, -1, 1, 1}, &screen);
}

} // namespace hlv
