#pragma once
// Pixel images and the decoding of picture files (JPEG, PNG and whatever else
// FreeImage reads) into them. Paths are resource names ("demo\pupic.jpg").

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A picture in memory: rows tightly packed, the first row is the top row.
struct PixelImage {
    std::string name;  // the source file's path, empty when there is none
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;  // empty once released (or never decoded)

    bool hasPixels() const { return !pixels.empty(); }
    void releasePixels() { std::vector<uint8_t>().swap(pixels); }
};

// R, G, B, A per pixel.
struct ImageRGBA : PixelImage {
    static constexpr unsigned kBytesPerPixel = 4;
};
// R, G, B per pixel.
struct ImageRGB : PixelImage {
    static constexpr unsigned kBytesPerPixel = 3;
};
// One byte per pixel: luminance, or an alpha mask.
struct Image8 : PixelImage {
    static constexpr unsigned kBytesPerPixel = 1;
};

// Decode a file; `name` becomes `path`. PNG files go through libpng, every
// other file through FreeImage. The format is the file's own where its
// first bytes say it is a JPEG, PNG, BMP, IFF ILBM, TIFF, GIF, PCX or SGI
// picture; otherwise it comes from the text after the path's last '.' (the
// whole path when there is none). Grey pictures read as
// RGB are replicated into the three channels; colour pictures read as 8-bit
// become luminance. False (and no pixels) when the file is missing or cannot
// be decoded.
bool loadImageRGB(const char* path, ImageRGB& image);
bool loadImage8(const char* path, Image8& image);

// Decode a whole picture file held in memory, through FreeImage; the format
// comes from its content or `storedName` as above. `name` is left as it was.
bool loadImageRGBFromMemory(const uint8_t* bytes, size_t size, const char* storedName, ImageRGB& image);
bool loadImage8FromMemory(const uint8_t* bytes, size_t size, const char* storedName, Image8& image);
// Embedded RGBA pictures are not decoded: always false.
bool loadImageRGBAFromMemory(const uint8_t* bytes, size_t size, const char* storedName, ImageRGBA& image);

// PNG header flags reported by isPngFile.
enum PngFlags : unsigned { kPngHasAlpha = 1, kPngGrey = 2 };

// True when the file starts with the PNG signature and its header reads.
// `pngFlags` gets kPngGrey for grey pictures (colour type 0) and
// kPngHasAlpha when the colour type carries alpha.
bool isPngFile(const char* path, unsigned& pngFlags);

// The whole file, or false when it cannot be opened or read.
bool readResourceFile(const char* path, std::vector<uint8_t>& bytes);
