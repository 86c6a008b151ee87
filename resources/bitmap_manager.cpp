#include "resources/bitmap_manager.h"

#include <cstring>
#include <memory>

#include "resources/detail_set.h"

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

unsigned detailOf(const std::string& file)
{
    return detailset::isTwin(file) ? detailset::kScale : 1;
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
    const std::string file = detailset::fileOf(name);
    ImageRGB picture;
    if (!loadImageRGB(file.c_str(), picture))
        throw BitmapLoadError(file, kUnreadable);

    auto padded = std::make_unique<ImageRGB>();
    padded->width = powerOfTwoAtLeast(picture.width);
    padded->height = powerOfTwoAtLeast(picture.height);
    padded->pixels.assign(size_t(padded->width) * padded->height * ImageRGB::kBytesPerPixel, 0);
    size_t rowBytes = size_t(picture.width) * ImageRGB::kBytesPerPixel;
    size_t paddedRowBytes = size_t(padded->width) * ImageRGB::kBytesPerPixel;
    for (uint32_t y = 0; y < picture.height; ++y)
        std::memcpy(padded->pixels.data() + y * paddedRowBytes, picture.pixels.data() + y * rowBytes, rowBytes);

    std::unique_ptr<TextureImage> texture = clampedTexture(TextureImage::NoMipmap);
    texture->detail = detailOf(file);
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
    // Both from the set or both from the pack: a twin's alpha has the twin's size.
    std::string colourFile = detailset::fileOf(colourName), alphaFile = detailset::fileOf(alphaName);
    if (detailset::isTwin(colourFile) != detailset::isTwin(alphaFile)) {
        colourFile = colourName;
        alphaFile = alphaName;
    }
    ImageRGB colour;
    Image8 alpha;
    if (!loadImageRGB(colourFile.c_str(), colour))
        throw BitmapLoadError(colourFile, kUnreadable);
    if (!loadImage8(alphaFile.c_str(), alpha))
        throw BitmapLoadError(alphaFile, kUnreadable);
    if (colour.width != alpha.width || colour.height != alpha.height)
        throw BitmapLoadError(colourFile, "its alpha picture " + alphaFile + " has another size");
    requireUploadable(colour, colourFile.c_str());

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
    texture->detail = detailOf(colourFile);
    texture->uploadRGBA(combined.release());
    add(name, texture.release());
}

void BitmapManager::loadAlpha(const char* name)
{
    if (contains(name))
        return;
    const std::string file = detailset::fileOf(name);
    auto alpha = std::make_unique<Image8>();
    if (!loadImage8(file.c_str(), *alpha))
        throw BitmapLoadError(file, kUnreadable);
    requireUploadable(*alpha, file.c_str());

    std::unique_ptr<TextureImage> texture = clampedTexture(TextureImage::NoMipmap | TextureImage::Alpha);
    texture->detail = detailOf(file);
    texture->uploadGray(alpha.release());
    add(name, texture.release());
}
