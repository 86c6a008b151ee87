#include "resources/bitmap_manager.h"

#include <cstring>
#include <memory>

namespace {

constexpr const char* kUnreadable = "the file is missing or is not a picture that can be read";
constexpr const char* kNoPowerOfTwo = "its sides are not powers of two, which this OpenGL driver cannot use";

// The smallest power of two not below n.
uint32_t powerOfTwoAtLeast(uint32_t n)
{
    uint32_t power = 1;
    while (power < n)
        power *= 2;
    return power;
}

// A single-level texture that does not repeat at its edges.
std::unique_ptr<TextureImage> clampedTexture(GLuint flags)
{
    auto texture = std::make_unique<TextureImage>();
    texture->flags = flags;
    texture->wrapS = GL_CLAMP;
    texture->wrapT = GL_CLAMP;
    return texture;
}

void requireUploadable(const PixelImage& image, const char* name)
{
    if (!uploadableSides(image))
        throw BitmapLoadError(name, kNoPowerOfTwo);
}

} // namespace

BitmapLoadError::BitmapLoadError(const std::string& fileName, const std::string& problem)
    : std::runtime_error("Unable to load " + fileName + ": " + problem + "."), fileName_(fileName)
{
}

BitmapManager& BitmapManager::instance()
{
    static BitmapManager manager;
    return manager;
}

void BitmapManager::loadPadded(const char* name)
{
    if (contains(name))
        return;
    ImageRGB picture;
    if (!loadImageRGB(name, picture))
        throw BitmapLoadError(name, kUnreadable);

    auto padded = std::make_unique<ImageRGB>();
    padded->width = powerOfTwoAtLeast(picture.width);
    padded->height = powerOfTwoAtLeast(picture.height);
    padded->pixels.assign(size_t(padded->width) * padded->height * ImageRGB::kBytesPerPixel, 0);
    size_t rowBytes = size_t(picture.width) * ImageRGB::kBytesPerPixel;
    size_t paddedRowBytes = size_t(padded->width) * ImageRGB::kBytesPerPixel;
    for (uint32_t y = 0; y < picture.height; ++y)
        std::memcpy(padded->pixels.data() + y * paddedRowBytes, picture.pixels.data() + y * rowBytes, rowBytes);

    std::unique_ptr<TextureImage> texture = clampedTexture(TextureImage::NoMipmap);
    texture->uploadRGB(padded.release());
    add(name, texture.release());
}

void BitmapManager::loadWithAlpha(const char* name, const char* alphaName)
{
    loadWithAlpha(name, name, alphaName);
}

void BitmapManager::loadWithAlpha(const char* name, const char* colourName, const char* alphaName)
{
    if (contains(name))
        return;
    ImageRGB colour;
    Image8 alpha;
    if (!loadImageRGB(colourName, colour))
        throw BitmapLoadError(colourName, kUnreadable);
    if (!loadImage8(alphaName, alpha))
        throw BitmapLoadError(alphaName, kUnreadable);
    if (colour.width != alpha.width || colour.height != alpha.height)
        throw BitmapLoadError(colourName, std::string("its alpha picture ") + alphaName + " has another size");
    requireUploadable(colour, colourName);

    auto combined = std::make_unique<ImageRGBA>();
    combined->width = colour.width;
    combined->height = colour.height;
    size_t count = size_t(colour.width) * colour.height;
    combined->pixels.resize(count * ImageRGBA::kBytesPerPixel);
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(&combined->pixels[i * 4], &colour.pixels[i * 3], 3);
        combined->pixels[i * 4 + 3] = alpha.pixels[i];
    }

    std::unique_ptr<TextureImage> texture = clampedTexture(TextureImage::NoMipmap);
    texture->uploadRGBA(combined.release());
    add(name, texture.release());
}

void BitmapManager::loadAlpha(const char* name)
{
    if (contains(name))
        return;
    auto alpha = std::make_unique<Image8>();
    if (!loadImage8(name, *alpha))
        throw BitmapLoadError(name, kUnreadable);
    requireUploadable(*alpha, name);

    std::unique_ptr<TextureImage> texture = clampedTexture(TextureImage::NoMipmap | TextureImage::Alpha);
    texture->uploadGray(alpha.release());
    add(name, texture.release());
}
