#include "tools/assetgen/typesetter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace assetgen {

namespace {

const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu/";

const char* fileOf(Face face)
{
    switch (face) {
    case Face::SansBold: return "DejaVuSans-Bold.ttf";
    case Face::Serif: return "DejaVuSerif.ttf";
    case Face::SerifBold: return "DejaVuSerif-Bold.ttf";
    default: return "DejaVuSans.ttf";
    }
}

} // namespace

struct Typesetter::Impl {
    FT_Library library = nullptr;
    FT_Face faces[4] = {nullptr, nullptr, nullptr, nullptr};

    FT_Face face(const TextStyle& style)
    {
        FT_Face f = faces[int(style.face)];
        FT_Set_Pixel_Sizes(f, 0, FT_UInt(style.pixelSize));
        return f;
    }

    // Walks the glyphs of a line, calling `glyph(face, penX)` after loading each.
    template <typename Visit>
    int walk(const std::string& text, const TextStyle& style, Visit visit)
    {
        FT_Face f = face(style);
        bool kerning = FT_HAS_KERNING(f);
        FT_UInt previous = 0;
        long pen = 0;  // 26.6 fixed point
        for (size_t i = 0; i < text.size(); ++i) {
            FT_UInt index = FT_Get_Char_Index(f, FT_ULong(static_cast<unsigned char>(text[i])));
            if (kerning && previous && index) {
                FT_Vector delta;
                FT_Get_Kerning(f, previous, index, FT_KERNING_DEFAULT, &delta);
                pen += delta.x;
            }
            if (FT_Load_Glyph(f, index, FT_LOAD_RENDER) == 0)
                visit(f->glyph, int(pen >> 6));
            pen += f->glyph->advance.x + long(style.tracking * 64.0f);
            previous = index;
        }
        return int((pen - long(style.tracking * 64.0f)) >> 6);
    }
};

TextStyle atDetail(TextStyle style, int detail)
{
    style.pixelSize *= detail;
    style.tracking *= float(detail);
    return style;
}

Typesetter::Typesetter() : impl_(new Impl)
{
    if (FT_Init_FreeType(&impl_->library) != 0) {
        delete impl_;
        throw std::runtime_error("FreeType could not start");
    }
    for (int i = 0; i < 4; ++i) {
        std::string path = std::string(kFontFolder) + fileOf(Face(i));
        if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->faces[i]) != 0) {
            FT_Done_FreeType(impl_->library);
            delete impl_;
            throw std::runtime_error("cannot open font " + path + " (package fonts-dejavu-core)");
        }
    }
}

Typesetter::~Typesetter()
{
    FT_Done_FreeType(impl_->library);  // also frees the faces
    delete impl_;
}

int Typesetter::measure(const std::string& text, const TextStyle& style)
{
    return impl_->walk(text, style, [](FT_GlyphSlot, int) {});
}

void Typesetter::draw(Canvas& mask, const std::string& text, const TextStyle& style, int x, int baseline)
{
    impl_->walk(text, style, [&](FT_GlyphSlot glyph, int penX) {
        const FT_Bitmap& bitmap = glyph->bitmap;
        int left = x + penX + glyph->bitmap_left;
        int top = baseline - glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int px = left + int(col), py = top + int(row);
                if (px < 0 || py < 0 || px >= mask.width() || py >= mask.height())
                    continue;
                float coverage = float(bitmap.buffer[row * bitmap.pitch + col]) / 255.0f;
                float* p = mask.pixel(px, py);
                p[0] = std::min(1.0f, p[0] + coverage);
            }
    });
}

void Typesetter::drawCentred(Canvas& mask, const std::string& text, const TextStyle& style, int centreX, int baseline)
{
    draw(mask, text, style, centreX - measure(text, style) / 2, baseline);
}

} // namespace assetgen
