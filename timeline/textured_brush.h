#pragma once
// What the image brushes share: the matrix reset, the texture set-up and the
// one quad each of them draws, in normalised device coordinates.

#include <string>

class TextureImage;

namespace hlv {

// Projection and modelview to identity; the matrix mode is left at modelview.
void resetMatrices();

// The start of every textured brush: matrices reset, texture unit 0 alone
// enabled, the bitmap bound on it. Returns the bitmap, or null when the
// bitmap manager does not hold it (or it has no size): the brush then sets
// and restores its state as usual but draws no quad.
TextureImage* beginTexturedBrush(const std::string& bitmapName);

// The end of every textured brush: all texture units disabled.
void endTexturedBrush();

// Blending by source alpha when the tint's alpha is below 1 or the image has
// alpha of its own. True when blending was turned on (the brush turns it off
// after its quad).
bool blendIfTranslucent(float alpha, const TextureImage* image);

struct QuadRect {
    float left, bottom, right, top;
};
// Texture coordinates: (s0, t0) at the upper-left corner, (s1, t1) at the
// lower-right one.
struct TexRect {
    float s0, t0, s1, t1;
};

// One GL_QUADS from the lower-left corner clockwise: lower-left, upper-left,
// upper-right, lower-right. Without `texture` no coordinates are given.
void drawQuad(const QuadRect& where, const TexRect* texture);

// A rectangle of size w x h centred on (x, y).
QuadRect centredRect(float x, float y, float w, float h);

// The image at its pixel size on the stored screen size (in layout pixels:
// its pixels over its detail), its lower-left corner at (x, y); texture row
// 0 is the top of the image.
void drawAtPixelSize(const TextureImage& image, float x, float y);

// The whole screen, one image pixel (or detail x detail of them) per layout
// pixel from the image's top-left corner: larger images are cropped, smaller
// ones repeat as the texture's wrap mode allows. On a frame of other pixels
// than the picture's the frame's outer pixels take the outer screen pixels of
// the image.
void drawOverScreen(const TextureImage& image);

} // namespace hlv
