#include "import/layer_picture.h"

#include <algorithm>

#ifndef GL_MIRRORED_REPEAT
#define GL_MIRRORED_REPEAT 0x8370
#endif
#ifndef GL_CLAMP_TO_BORDER
#define GL_CLAMP_TO_BORDER 0x812D
#endif

namespace LW {

namespace {

uint8_t byteOf(float value) { return uint8_t(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f); }

bool resets(WrapMode mode) { return mode == WrapMode::Reset; }

} // namespace

void layOverSurface(ImageRGB& picture, const LWTextureBlock& layer, const float (&colour)[3])
{
    const float opacity = std::clamp(layer.opacity, 0.0f, 1.0f);
    if (opacity == 1 && !layer.negative)
        return;
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        float value = picture.pixels[i] / 255.0f;
        if (layer.negative)
            value = 1 - value;
        picture.pixels[i] = byteOf(opacity * value + (1 - opacity) * colour[i % 3]);
    }
}

GLenum textureWrapOf(WrapMode mode)
{
    switch (mode) {
    case WrapMode::Reset: return GL_CLAMP_TO_BORDER;
    case WrapMode::Mirror: return GL_MIRRORED_REPEAT;
    case WrapMode::Edge: return GL_CLAMP_TO_EDGE;
    case WrapMode::Repeat: break;
    }
    return GL_REPEAT;
}

bool surroundedAcross(const LWTextureBlock& layer)
{
    return resets(layer.widthWrapMode) || resets(layer.heightWrapMode);
}

ImageRGB surroundedPicture(const ImageRGB& picture, const LWTextureBlock& layer, const float (&colour)[3])
{
    const bool across = resets(layer.widthWrapMode), down = resets(layer.heightWrapMode);
    ImageRGB out;
    out.width = across ? picture.width * 2 : picture.width;
    out.height = down ? picture.height * 2 : picture.height;
    const uint32_t left = across ? picture.width / 2 : 0, top = down ? picture.height / 2 : 0;
    out.pixels.resize(size_t(out.width) * out.height * 3);
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = byteOf(colour[i % 3]);
    for (uint32_t y = 0; y < picture.height; ++y)
        std::copy_n(&picture.pixels[size_t(y) * picture.width * 3], size_t(picture.width) * 3,
                    &out.pixels[(size_t(y + top) * out.width + left) * 3]);
    return out;
}

TexCoord intoSurroundedPicture(const LWTextureBlock& layer, TexCoord uv)
{
    if (resets(layer.widthWrapMode))
        uv.u = 0.25f + 0.5f * uv.u;
    if (resets(layer.heightWrapMode))
        uv.v = 0.25f + 0.5f * uv.v;
    return uv;
}

} // namespace LW
