#include "render/texture_image.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "log/logger.h"
#include "persist/encoding.h"
#include "persist/factory.h"
#include "platform/path.h"
#include "render/device.h"
#include "render/gl_state_cache.h"

namespace {

dynamic::factory<TextureImage> g_factory;  // "class TextureImage", linked before main

const float kGrayAnisotropy = 2.0f;

thread_local std::vector<TextureImage*>* t_uploadQueue = nullptr;

bool onMainContext()
{
    return gldevice::current && wglGetCurrentContext() == gldevice::current->mainContext;
}

// Deleting a texture unbinds it in OpenGL, and the driver may hand its name
// out again; the state cache must not go on believing the name is bound.
void forgetBinding(GLuint texture)
{
    if (!onMainContext())
        return;  // loader threads never touch the cache
    GLStateCache& cache = GLStateCache::instance();
    for (int unit = 0; unit < GLStateCache::kUnitCount; ++unit)
        if (cache.boundTexture(unit) == texture)
            cache.bindTexture(unit, 0);
}

// Uploads read tightly packed rows and leave the binding and pixel-store
// state as they found them, so the state cache stays true.
struct UploadScope {
    GLint binding = 0, unpackAlignment = 4, packAlignment = 4;
    UploadScope()
    {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
    ~UploadScope()
    {
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(binding));
    }
};

void releaseIfFileBacked(PixelImage& image)
{
    if (!image.name.empty())
        image.releasePixels();
}

// Raw pixels for images without a file, else the file's own bytes.
template <typename Image>
void writeImage(pstream& s, const Image& image)
{
    bool raw = image.name.empty();
    io(s, true, raw);
    if (raw) {
        size_t size = size_t(image.width) * image.height * Image::kBytesPerPixel;
        if (image.pixels.size() != size)
            throw std::runtime_error("a texture without a file no longer holds its pixels");
        GLuint width = image.width, height = image.height;
        io(s, true, width);
        io(s, true, height);
        s.raw_write(image.pixels.data(), 1, size);
        return;
    }
    std::vector<uint8_t> bytes;
    if (!readResourceFile(image.name.c_str(), bytes))
        throw std::runtime_error("cannot read " + image.name + " to embed it");
    std::string fileName = platform::fileNamePart(image.name.c_str());
    GLuint size = static_cast<GLuint>(bytes.size());
    io(s, true, fileName);
    io(s, true, size);
    s.raw_write(bytes.data(), 1, bytes.size());
}

template <typename Image>
void writeIfPresent(pstream& s, const Image* image)
{
    bool present = image != nullptr;
    io(s, true, present);
    if (present)
        writeImage(s, *image);
}

bool readPresence(pstream& s)
{
    bool present = false;
    io(s, false, present);
    return present;
}

void readBytes(pstream& s, std::vector<uint8_t>& bytes, uint64_t size)
{
    if (size > s.remaining())
        throw persistent::bad_data;
    bytes.resize(size);
    if (s.raw_read(bytes.data(), 1, bytes.size()) != bytes.size())
        throw persistent::truncated;
}

// An embedded picture that does not decode leaves its image without pixels,
// and the surface that uses it is drawn untextured: one bad picture must not
// cost the whole scene. Embedded RGBA pictures are never decoded.
template <typename Image>
std::unique_ptr<Image> readImage(pstream& s, bool (*decode)(const uint8_t*, size_t, const char*, Image&),
                                 bool decoded)
{
    auto image = std::make_unique<Image>();
    bool raw = false;
    io(s, false, raw);
    if (raw) {
        GLuint width = 0, height = 0;
        io(s, false, width);
        io(s, false, height);
        readBytes(s, image->pixels, uint64_t(width) * height * Image::kBytesPerPixel);
        image->width = width;
        image->height = height;
        return image;
    }
    std::string fileName;
    io(s, false, fileName);
    std::vector<uint8_t> bytes;
    readBytes(s, bytes, read_count(s, 1));
    if (!decode(bytes.data(), bytes.size(), fileName.c_str(), *image) && decoded)
        hlv::log("\nThe embedded picture \"%s\" cannot be decoded: its surfaces are drawn without it.",
                 fileName.c_str());
    return image;
}

// RGBA and 8-bit images are uploaded at their own size.
void requireUploadableSides(const PixelImage& image)
{
    if (!uploadableSides(image))
        throw persistent::bad_data;
}

} // namespace

void deferUploadsOnThisThread(std::vector<TextureImage*>* queue)
{
    t_uploadQueue = queue;
}

GLuint powerOfTwoAtMost(GLuint n)
{
    GLuint power = 1;
    while (power <= n / 2)
        power *= 2;
    return n == 0 ? 0 : power;
}

bool isPowerOfTwo(GLuint n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

bool nonPowerOfTwoSupported()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return (version && std::atoi(version) >= 2) || IsExtensionSupported("GL_ARB_texture_non_power_of_two");
}

bool uploadableSides(const PixelImage& image)
{
    bool powers = (image.width == 0 || isPowerOfTwo(image.width)) && (image.height == 0 || isPowerOfTwo(image.height));
    return powers || nonPowerOfTwoSupported();
}

TextureImage::TextureImage(ImageRGBA* image, GLuint flags_) : flags(flags_ | Compress)
{
    uploadRGBA(image);
}

TextureImage::TextureImage(ImageRGB* image, GLuint flags_) : flags(flags_ | Compress)
{
    uploadRGB(image);
}

TextureImage::TextureImage(Image8* image, GLuint flags_) : maxAnisotropy(kGrayAnisotropy), flags(flags_ | Compress)
{
    uploadGray(image);
}

TextureImage::~TextureImage()
{
    deleteTexture();
}

void TextureImage::deleteTexture()
{
    if (texture == 0)
        return;
    forgetBinding(texture);
    glDeleteTextures(1, &texture);
    texture = 0;
}

const PixelImage* TextureImage::currentImage() const
{
    if (gray)
        return gray.get();
    if (rgb)
        return rgb.get();
    return rgba.get();
}

void TextureImage::uploadNowOrQueue(const Upload& prepared)
{
    if (!t_uploadQueue) {
        upload(prepared);
        return;
    }
    if (!uploadWaiting())
        t_uploadQueue->push_back(this);
    waiting_ = prepared;
    waiting_.queued = true;
}

void TextureImage::finishUpload()
{
    if (!uploadWaiting())
        return;
    Upload prepared = waiting_;
    waiting_ = Upload{};
    upload(prepared);
}

void TextureImage::upload(const Upload& u)
{
    deleteTexture();
    UploadScope scope;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLenum internal = glflags::ARB_texture_compression && (flags & Compress) ? u.formats.compressed : u.formats.plain;
    if (flags & NoMipmap) {
        glTexImage2D(GL_TEXTURE_2D, 0, internal, u.width, u.height, 0, u.formats.pixel, GL_UNSIGNED_BYTE, u.pixels);
        minFilter = GL_LINEAR;
    } else if (glflags::SGIS_generate_mipmap) {
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP_SGIS, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, internal, u.width, u.height, 0, u.formats.pixel, GL_UNSIGNED_BYTE, u.pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP_SGIS, 0);
    } else if (u.pixels) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, internal, u.width, u.height, u.formats.pixel, GL_UNSIGNED_BYTE, u.pixels);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    if (glflags::EXT_texture_filter_anisotropic)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, u.anisotropy);
    if (u.image)
        releaseIfFileBacked(*u.image);
}

void TextureImage::uploadRGBA(ImageRGBA* image)
{
    rgba.reset(image);
    format = GL_RGBA;
    hasAlpha = true;
    uploadNowOrQueue({{GL_RGBA, GL_COMPRESSED_RGBA_ARB, GL_RGBA}, GLsizei(image->width), GLsizei(image->height),
                      image->hasPixels() ? image->pixels.data() : nullptr, maxAnisotropy, image});
}

void TextureImage::uploadRGB(ImageRGB* image)
{
    rgb.reset(image);
    GLuint width = powerOfTwoAtMost(image->width);
    GLuint height = powerOfTwoAtMost(image->height);
    if (image->hasPixels() && (width != image->width || height != image->height)) {
        std::vector<uint8_t> scaled(size_t(width) * height * ImageRGB::kBytesPerPixel);
        UploadScope packing;
        gluScaleImage(GL_RGB, image->width, image->height, GL_UNSIGNED_BYTE, image->pixels.data(), width, height,
                      GL_UNSIGNED_BYTE, scaled.data());
        image->pixels.swap(scaled);
        image->width = width;
        image->height = height;
    }
    hasAlpha = false;
    uploadNowOrQueue({{GL_RGB, GL_COMPRESSED_RGB_ARB, GL_RGB}, GLsizei(image->width), GLsizei(image->height),
                      image->hasPixels() ? image->pixels.data() : nullptr, maxAnisotropy, image});
}

void TextureImage::uploadGray(Image8* image)
{
    gray.reset(image);
    bool alpha = flags & Alpha;
    Formats formats = alpha ? Formats{GL_ALPHA, GL_COMPRESSED_ALPHA_ARB, GL_ALPHA}
                            : Formats{GL_LUMINANCE, GL_COMPRESSED_LUMINANCE_ARB, GL_LUMINANCE};
    hasAlpha = alpha;
    // Images read from a stream keep their pixels so that they can be written
    // back; file-backed ones are written from their file.
    uploadNowOrQueue({formats, GLsizei(image->width), GLsizei(image->height),
                      image->hasPixels() ? image->pixels.data() : nullptr, kGrayAnisotropy, image});
}

void TextureImage::serialize(pstream& s, bool write)
{
    io(s, write, magFilter);
    io(s, write, minFilter);
    io(s, write, wrapS);
    io(s, write, wrapT);
    io(s, write, maxAnisotropy);
    io(s, write, flags);
    if (write) {
        writeIfPresent(s, rgba.get());
        writeIfPresent(s, rgb.get());
        writeIfPresent(s, gray.get());
        return;
    }
    if (readPresence(s)) {
        std::unique_ptr<ImageRGBA> image = readImage(s, loadImageRGBAFromMemory, false);
        requireUploadableSides(*image);
        uploadRGBA(image.release());
    }
    if (readPresence(s))
        uploadRGB(readImage(s, loadImageRGBFromMemory, true).release());
    if (readPresence(s)) {
        std::unique_ptr<Image8> image = readImage(s, loadImage8FromMemory, true);
        requireUploadableSides(*image);
        uploadGray(image.release());
    }
}
