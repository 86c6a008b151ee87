#include "tools/writers/picture_writer.h"

#include <FreeImage.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace writers {

namespace {

int samplesPerPixel(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;  // grey, palette
    }
}

// Only trivially destructible locals here: libpng reports errors by longjmp.
bool writePngFile(FILE* file, const PngPicture& picture, png_bytep* rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color colours[256];
        int count = static_cast<int>(picture.palette.size() / 3);
        for (int i = 0; i < count && i < 256; ++i)
            colours[i] = {picture.palette[i * 3], picture.palette[i * 3 + 1], picture.palette[i * 3 + 2]};
        png_set_PLTE(png, info, colours, count < 256 ? count : 256);
        if (!picture.transparency.empty())
            png_set_tRNS(png, info, picture.transparency.data(), static_cast<int>(picture.transparency.size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

size_t PngPicture::rowBytes() const
{
    return (size_t(width) * samplesPerPixel(colourType) * bitDepth + 7) / 8;
}

bool writePng(const std::string& path, const PngPicture& picture)
{
    size_t rowBytes = picture.rowBytes();
    if (picture.rows.size() < rowBytes * picture.height)
        return false;
    std::vector<png_bytep> rows(picture.height);
    for (uint32_t y = 0; y < picture.height; ++y)
        rows[y] = const_cast<png_bytep>(picture.rows.data() + y * rowBytes);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = writePngFile(file, picture, rows.data());
    return std::fclose(file) == 0 && written;
}

bool writePng(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height, unsigned channels)
{
    static const int kColourTypes[5] = {-1, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                        PNG_COLOR_TYPE_RGB_ALPHA};
    if (channels == 0 || channels > 4)
        return false;
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = kColourTypes[channels];
    picture.rows.assign(pixels, pixels + size_t(width) * height * channels);
    return writePng(path, picture);
}

bool writeJpeg(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height, unsigned channels,
               int quality)
{
    if (channels != 1 && channels != 3)
        return false;
    FIBITMAP* bitmap = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), channels == 3 ? 24 : 8);
    if (!bitmap)
        return false;
    if (channels == 1) {
        RGBQUAD* palette = FreeImage_GetPalette(bitmap);
        for (int i = 0; i < 256; ++i)
            palette[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    }
    // FreeImage keeps the bottom row first and colour as B, G, R.
    for (uint32_t y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, static_cast<int>(height - 1 - y));
        const uint8_t* source = pixels + size_t(y) * width * channels;
        for (uint32_t x = 0; x < width; ++x, source += channels) {
            if (channels == 1) {
                line[x] = source[0];
                continue;
            }
            line[x * 3 + FI_RGBA_RED] = source[0];
            line[x * 3 + FI_RGBA_GREEN] = source[1];
            line[x * 3 + FI_RGBA_BLUE] = source[2];
        }
    }
    bool saved = FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), quality | JPEG_SUBSAMPLING_444);
    FreeImage_Unload(bitmap);
    return saved;
}

} // namespace writers
