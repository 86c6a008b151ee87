#pragma once
// Real typography for the pictures: FreeType renders a DejaVu face into a
// one-channel coverage canvas, with kerning and optional letter spacing.

#include <stdexcept>
#include <string>

#include "tools/assetgen/canvas.h"

namespace assetgen {

enum class Face { Sans, SansBold, Serif, SerifBold };

struct TextStyle {
    Face face = Face::Sans;
    int pixelSize = 32;
    float tracking = 0;  // extra pixels between letters
};

// `style` for a picture of `detail` pixels to each pixel it was sized for.
TextStyle atDetail(TextStyle style, int detail);

class Typesetter {
public:
    Typesetter();  // throws std::runtime_error naming the font file it misses
    ~Typesetter();
    Typesetter(const Typesetter&) = delete;
    Typesetter& operator=(const Typesetter&) = delete;

    // Width in pixels of a line of (UTF-8 free, plain ASCII) text.
    int measure(const std::string& text, const TextStyle& style);
    // Adds the coverage of `text` into `mask` with its baseline at y and its
    // left edge at x.
    void draw(Canvas& mask, const std::string& text, const TextStyle& style, int x, int baseline);
    // The same, centred on `centreX`.
    void drawCentred(Canvas& mask, const std::string& text, const TextStyle& style, int centreX, int baseline);

private:
    struct Impl;
    Impl* impl_;
};

} // namespace assetgen
