#include "export/png_bytes.h"

#include <png.h>

#include <algorithm>
#include <string>

namespace gltf_export {

namespace {

void append(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush(png_structp) {}

} // namespace

std::vector<unsigned char> pngOf(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                                 unsigned channels)
{
    std::vector<unsigned char> out;
    const int types[] = {-1, PNG_COLOR_TYPE_GRAY, -1, PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGBA};
    if (channels > 4 || types[channels] < 0 || width == 0 || height == 0 ||
        pixels.size() < size_t(width) * height * channels)
        return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return out;
    }
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(&pixels[size_t(height - 1 - y) * width * channels]);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, width, height, 8, types[channels], PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<unsigned char> withoutColourSpaceNotes(const std::vector<unsigned char>& png)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature, signature + 8, png.begin()))
        return png;
    std::vector<unsigned char> out(png.begin(), png.begin() + 8);
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const size_t length = size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3];
        if (length > png.size() - at - 12)
            return png;  // damaged: left for the reader to judge
        const std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        if (type != "gAMA" && type != "cHRM" && type != "iCCP" && type != "sRGB" && type != "pHYs")
            out.insert(out.end(), png.begin() + long(at), png.begin() + long(at + 12 + length));
        at += 12 + length;
    }
    out.insert(out.end(), png.begin() + long(at), png.end());
    return out;
}

} // namespace gltf_export
