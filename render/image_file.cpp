#include "render/image_file.h"

#include <FreeImage.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "platform/path.h"

namespace {

// Pictures larger than any texture we could make are refused before their
// pixels are allocated. The area bounds what a small hostile file can make
// us allocate: 192 MB of RGB, twice that again while it is scaled.
constexpr uint32_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 8192 * 8192;

bool sidesFit(uint32_t width, uint32_t height)
{
    return width <= kMaxSide && height <= kMaxSide && uint64_t(width) * height <= kMaxPixels;
}

// ---- FreeImage -------------------------------------------------------------

// Copies a 24-bit or 8-bit bitmap into `image`, top row first; 24-bit pixels
// go from FreeImage's stored order to R, G, B.
void copyBitmap(FIBITMAP* bitmap, unsigned bytesPerPixel, PixelImage& image)
{
    uint32_t width = FreeImage_GetWidth(bitmap);
    uint32_t height = FreeImage_GetHeight(bitmap);
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height * bytesPerPixel);
    uint8_t* out = image.pixels.data();
    for (uint32_t y = height; y-- > 0;) {
        const uint8_t* line = FreeImage_GetScanLine(bitmap, static_cast<int>(y));
        if (bytesPerPixel == 1) {
            std::memcpy(out, line, width);
            out += width;
            continue;
        }
        for (uint32_t x = 0; x < width; ++x, line += 3) {
            *out++ = line[FI_RGBA_RED];
            *out++ = line[FI_RGBA_GREEN];
            *out++ = line[FI_RGBA_BLUE];
        }
    }
}

FIBITMAP* toRGB(FIBITMAP* bitmap)
{
    if (FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == 24)
        return bitmap;
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(bitmap);
    FreeImage_Unload(bitmap);
    return converted;
}

// Plain 8-bit grey is kept as it is; palettes and colour become luminance
// rather than having their indices or one channel read as grey: an index
// says nothing about how light a pixel is. The libpng path does the same.
FIBITMAP* toEightBit(FIBITMAP* bitmap)
{
    bool standardBitmap = FreeImage_GetImageType(bitmap) == FIT_BITMAP;
    if (standardBitmap && FreeImage_GetBPP(bitmap) == 8 && FreeImage_GetColorType(bitmap) == FIC_MINISBLACK)
        return bitmap;
    FIBITMAP* converted = standardBitmap ? FreeImage_ConvertToGreyscale(bitmap) : FreeImage_ConvertTo8Bits(bitmap);
    FreeImage_Unload(bitmap);
    return converted;
}

FIBITMAP* loadFromMemory(FREE_IMAGE_FORMAT format, const uint8_t* bytes, size_t size, int flags)
{
    FIMEMORY* memory = FreeImage_OpenMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size));
    FIBITMAP* bitmap = FreeImage_LoadFromMemory(format, memory, flags);
    FreeImage_CloseMemory(memory);
    return bitmap;
}

// A few hundred bytes of header may claim a picture of gigabytes, which
// FreeImage would allocate before reading a pixel: refuse sides beyond the
// limit from the header alone, where the format can read it alone.
bool headerFits(FREE_IMAGE_FORMAT format, const uint8_t* bytes, size_t size)
{
    if (!FreeImage_FIFSupportsNoPixels(format))
        return true;
    FIBITMAP* header = loadFromMemory(format, bytes, size, FIF_LOAD_NOPIXELS);
    if (!header)
        return false;
    bool fits = sidesFit(FreeImage_GetWidth(header), FreeImage_GetHeight(header));
    FreeImage_Unload(header);
    return fits;
}

// FreeImage's Targa reader sizes a buffer from the file's length less its
// header, ID field and colour map, and uses it without a check: a file that
// ends inside them (17 bytes were enough) crashed the program. Such files,
// and colour-map types Targa does not have, are refused first.
bool targaLayoutFits(const uint8_t* bytes, size_t size)
{
    constexpr size_t kHeaderBytes = 18;
    if (size < kHeaderBytes)
        return false;
    const unsigned idLength = bytes[0], mapType = bytes[1];
    const size_t mapLength = bytes[5] | bytes[6] << 8, mapEntryBytes = (bytes[7] + 7u) / 8;
    if (mapType > 1)
        return false;
    return size > kHeaderBytes + idLength + (mapType ? mapLength * mapEntryBytes : 0);
}

// The formats whose signature decides over a file's name: those LightWave
// content is saved in, often without an extension or with another one
// (an Amiga ILBM named "sky", a BMP named "hull.pic"). Other formats are
// read only by their name, which keeps their readers out of reach of a
// file that merely looks like them.
bool knownBySignature(FREE_IMAGE_FORMAT format)
{
    switch (format) {
    case FIF_JPEG:
    case FIF_PNG:
    case FIF_BMP:
    case FIF_IFF:
    case FIF_TIFF:
    case FIF_GIF:
    case FIF_PCX:
    case FIF_SGI:
        return true;
    default:
        return false;
    }
}

FREE_IMAGE_FORMAT formatOf(const uint8_t* bytes, size_t size, const char* storedName)
{
    FIMEMORY* memory = FreeImage_OpenMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size));
    const FREE_IMAGE_FORMAT content = FreeImage_GetFileTypeFromMemory(memory, static_cast<int>(size));
    FreeImage_CloseMemory(memory);
    return knownBySignature(content) ? content : FreeImage_GetFIFFromFilename(storedName);
}

bool decodeWithFreeImage(const uint8_t* bytes, size_t size, const char* storedName, unsigned bytesPerPixel,
                         PixelImage& image)
{
    if (size > std::numeric_limits<DWORD>::max())
        return false;
    FREE_IMAGE_FORMAT format = formatOf(bytes, size, storedName);
    if (format == FIF_UNKNOWN)
        return false;
    if ((format == FIF_TARGA && !targaLayoutFits(bytes, size)) || !headerFits(format, bytes, size))
        return false;
    FIBITMAP* bitmap = loadFromMemory(format, bytes, size, 0);
    if (!bitmap)
        return false;
    bitmap = bytesPerPixel == 3 ? toRGB(bitmap) : toEightBit(bitmap);
    if (!bitmap)
        return false;
    bool fits = sidesFit(FreeImage_GetWidth(bitmap), FreeImage_GetHeight(bitmap));
    if (fits)
        copyBitmap(bitmap, bytesPerPixel, image);
    FreeImage_Unload(bitmap);
    return fits;
}

// ---- libpng ----------------------------------------------------------------

// Everything a PNG read touches lives here, outside the function that calls
// setjmp: libpng reports errors by longjmp, which must not skip destructors.
struct PngJob {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    unsigned bytesPerPixel = 0;  // 3 or 1; 0 reads the header only
    int colourType = 0;
    PixelImage* image = nullptr;
    std::vector<png_bytep> rows;
};

// Failures are reported by the result alone, without a message.
void quietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void quietWarning(png_structp, png_const_charp) {}

void readPngBytes(png_structp png, png_bytep out, png_size_t length)
{
    PngJob& job = *static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job.size - job.position)
        png_error(png, "file ends early");
    std::memcpy(out, job.data + job.position, length);
    job.position += length;
}

// Every picture becomes 8 bits per sample with `bytesPerPixel` channels:
// palettes expanded, alpha stripped, grey replicated to RGB or colour
// reduced to luminance as the target asks.
void choosePngTransforms(png_structp png, int colourType, int bitDepth, unsigned bytesPerPixel)
{
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (bitDepth < 8)
        png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    // Not only the colour types with alpha: expanding a palette turns its
    // transparency (a tRNS chunk) into an alpha channel too. Pictures that
    // end up without one are left as they are.
    png_set_strip_alpha(png);
    bool colour = colourType & (PNG_COLOR_MASK_COLOR | PNG_COLOR_MASK_PALETTE);
    if (bytesPerPixel == 3 && !colour)
        png_set_gray_to_rgb(png);
    if (bytesPerPixel == 1 && colour)
        png_set_rgb_to_gray_fixed(png, PNG_ERROR_ACTION_NONE, -1, -1);
}

bool allocatePixels(PngJob& job, uint32_t width, uint32_t height)
{
    try {
        PixelImage& image = *job.image;
        size_t rowBytes = size_t(width) * job.bytesPerPixel;
        image.pixels.assign(rowBytes * height, 0);
        job.rows.resize(height);
        for (uint32_t y = 0; y < height; ++y)
            job.rows[y] = image.pixels.data() + y * rowBytes;
        image.width = width;
        image.height = height;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Only trivially destructible locals here (see PngJob).
bool runPngJob(PngJob& job)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_read_fn(png, &job, readPngBytes);
    png_read_info(png, info);
    job.colourType = png_get_color_type(png, info);
    bool ok = true;
    if (job.bytesPerPixel != 0) {
        uint32_t width = png_get_image_width(png, info);
        uint32_t height = png_get_image_height(png, info);
        choosePngTransforms(png, job.colourType, png_get_bit_depth(png, info), job.bytesPerPixel);
        png_read_update_info(png, info);
        ok = sidesFit(width, height) && png_get_rowbytes(png, info) == size_t(width) * job.bytesPerPixel &&
             allocatePixels(job, width, height);
        if (ok)
            png_read_image(png, job.rows.data());
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

bool hasPngSignature(const std::vector<uint8_t>& bytes)
{
    return bytes.size() >= 4 && png_sig_cmp(bytes.data(), 0, 4) == 0;
}

// ---- shared ----------------------------------------------------------------

bool fail(PixelImage& image)
{
    image.releasePixels();
    image.width = 0;
    image.height = 0;
    return false;
}

bool loadFile(const char* path, unsigned bytesPerPixel, PixelImage& image)
{
    std::vector<uint8_t> bytes;
    bool ok = readResourceFile(path, bytes);
    if (ok && hasPngSignature(bytes)) {
        PngJob job;
        job.data = bytes.data();
        job.size = bytes.size();
        job.bytesPerPixel = bytesPerPixel;
        job.image = &image;
        ok = runPngJob(job);
    } else if (ok) {
        ok = decodeWithFreeImage(bytes.data(), bytes.size(), path, bytesPerPixel, image);
    }
    if (!ok)
        return fail(image);
    image.name = path;
    return true;
}

bool loadMemory(const uint8_t* bytes, size_t size, const char* storedName, unsigned bytesPerPixel,
                PixelImage& image)
{
    return decodeWithFreeImage(bytes, size, storedName, bytesPerPixel, image) || fail(image);
}

} // namespace

bool readResourceFile(const char* path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    FILE* file = platform::openResource(path, "rb");
    if (!file)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

bool loadImageRGB(const char* path, ImageRGB& image)
{
    return loadFile(path, ImageRGB::kBytesPerPixel, image);
}

bool loadImage8(const char* path, Image8& image)
{
    return loadFile(path, Image8::kBytesPerPixel, image);
}

bool loadImageRGBFromMemory(const uint8_t* bytes, size_t size, const char* storedName, ImageRGB& image)
{
    return loadMemory(bytes, size, storedName, ImageRGB::kBytesPerPixel, image);
}

bool loadImage8FromMemory(const uint8_t* bytes, size_t size, const char* storedName, Image8& image)
{
    return loadMemory(bytes, size, storedName, Image8::kBytesPerPixel, image);
}

bool loadImageRGBAFromMemory(const uint8_t*, size_t, const char*, ImageRGBA& image)
{
    return fail(image);
}

bool isPngFile(const char* path, unsigned& pngFlags)
{
    pngFlags = 0;
    std::vector<uint8_t> bytes;
    if (!readResourceFile(path, bytes) || !hasPngSignature(bytes))
        return false;
    PngJob job;
    job.data = bytes.data();
    job.size = bytes.size();
    if (!runPngJob(job))
        return false;
    if (job.colourType == PNG_COLOR_TYPE_GRAY)
        pngFlags |= kPngGrey;
    if (job.colourType & PNG_COLOR_MASK_ALPHA)
        pngFlags |= kPngHasAlpha;
    return true;
}
