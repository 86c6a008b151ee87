#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "persist/factory.h"
#include "persist/pstream.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "render/texture_image.h"
#include "tests/render/image_test_files.h"
#include "tests/render/texture_queries.h"
#include "tests/support/gl_window.h"
#include "tools/writers/picture_writer.h"

namespace {

// Compression is lossy, so tests that compare pixels run without it; every
// flag a test changes is put back afterwards.
class TextureImageTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        glflags::ARB_texture_compression = 0;
    }
    void TearDown() override
    {
        glflags::ARB_texture_compression = compression_;
        glflags::SGIS_generate_mipmap = generateMipmap_;
        glflags::EXT_texture_filter_anisotropic = anisotropy_;
    }
    int compression_ = glflags::ARB_texture_compression;

private:
    int generateMipmap_ = glflags::SGIS_generate_mipmap;
    int anisotropy_ = glflags::EXT_texture_filter_anisotropic;
    ScratchDirectory scratch_;
};

template <typename Image>
Image* makeImage(uint32_t width, uint32_t height, std::vector<uint8_t> pixels)
{
    auto* image = new Image;
    image->width = width;
    image->height = height;
    image->pixels = std::move(pixels);
    return image;
}

// Level 0 of a texture as tightly packed pixels of `format`.
std::vector<uint8_t> texturePixels(GLuint texture, GLenum format, unsigned bytesPerPixel)
{
    GLint width = textureLevelParameter(texture, GL_TEXTURE_WIDTH);
    GLint height = textureLevelParameter(texture, GL_TEXTURE_HEIGHT);
    std::vector<uint8_t> pixels(size_t(width) * height * bytesPerPixel);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
}

std::vector<uint8_t> written(const TextureImage& texture)
{
    memory_pstream stream;
    write_object(stream, texture);
    return stream.bytes();
}

std::unique_ptr<TextureImage> readBack(const std::vector<uint8_t>& bytes)
{
    memory_pstream stream(bytes);
    persistent* object = read_object(stream);
    auto* texture = dynamic_cast<TextureImage*>(object);
    EXPECT_TRUE(texture) << "not a TextureImage";
    if (!texture)
        delete object;
    return std::unique_ptr<TextureImage>(texture);
}

std::vector<GLuint> g_deleted;
std::vector<GLuint> g_generated;
void (*g_realDelete)(GLsizei, const GLuint*) = nullptr;
void (*g_realGenerate)(GLsizei, GLuint*) = nullptr;

} // namespace

TEST_F(TextureImageTest, RgbIsScaledDownToPowersOfTwoAndRemembersItsSize)
{
    // Left half red, right half blue, so the scaled picture can be recognised.
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            pixels.insert(pixels.end(), {uint8_t(x < 400 ? 255 : 0), 0, uint8_t(x < 400 ? 0 : 255)});
    TextureImage scaled(makeImage<ImageRGB>(800, 600, pixels), TextureImage::NoMipmap);
    ASSERT_NE(scaled.texture, 0u);
    EXPECT_EQ(scaled.rgb->width, 512u);
    EXPECT_EQ(scaled.rgb->height, 512u);
    EXPECT_EQ(scaled.currentImage(), scaled.rgb.get());
    EXPECT_EQ(textureLevelParameter(scaled.texture, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(textureLevelParameter(scaled.texture, GL_TEXTURE_HEIGHT), 512);
    ASSERT_EQ(scaled.rgb->pixels.size(), 512u * 512u * 3u);  // no file behind it: pixels kept
    EXPECT_EQ(scaled.rgb->pixels[(100 * 512 + 10) * 3], 255);
    EXPECT_EQ(scaled.rgb->pixels[(100 * 512 + 500) * 3 + 2], 255);
    EXPECT_FALSE(scaled.hasAlpha);

    TextureImage wide(makeImage<ImageRGB>(1024, 512, solidPixels(1024, 512, {1, 2, 3})), 0);
    EXPECT_EQ(wide.rgb->width, 1024u);
    EXPECT_EQ(wide.rgb->height, 512u);
    EXPECT_EQ(textureLevelParameter(wide.texture, GL_TEXTURE_WIDTH), 1024);

    EXPECT_EQ(powerOfTwoAtMost(800), 512u);
    EXPECT_EQ(powerOfTwoAtMost(1024), 1024u);
    EXPECT_EQ(powerOfTwoAtMost(1), 1u);
}

TEST_F(TextureImageTest, UploadParametersFollowTheFlagsAndExtensions)
{
    TextureImage single;
    single.minFilter = GL_NEAREST_MIPMAP_NEAREST;
    single.flags = TextureImage::NoMipmap;
    single.wrapS = GL_CLAMP;
    single.uploadRGB(makeImage<ImageRGB>(4, 4, solidPixels(4, 4, {9, 9, 9})));
    EXPECT_EQ(single.minFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(textureParameter(single.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(single.texture, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(textureParameter(single.texture, GL_TEXTURE_WRAP_T), GL_REPEAT);

    // Mipmapped by default, with the driver's generation or GLU's.
    for (int sgis : {1, 0}) {
        glflags::SGIS_generate_mipmap = sgis;
        TextureImage mipmapped;
        mipmapped.uploadRGB(makeImage<ImageRGB>(8, 8, solidPixels(8, 8, {200, 100, 50})));
        EXPECT_EQ(textureParameter(mipmapped.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        glBindTexture(GL_TEXTURE_2D, mipmapped.texture);
        GLint smallest = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &smallest);
        std::vector<uint8_t> level3(3);
        glGetTexImage(GL_TEXTURE_2D, 3, GL_RGB, GL_UNSIGNED_BYTE, level3.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        EXPECT_EQ(smallest, 1) << "sgis " << sgis;
        EXPECT_EQ(level3, (std::vector<uint8_t>{200, 100, 50})) << "sgis " << sgis;
    }

    // Compress asks for a compressed format, unless the driver has none.
    glflags::ARB_texture_compression = compression_;
    if (glflags::ARB_texture_compression) {
        TextureImage compressed(makeImage<ImageRGB>(4, 4, solidPixels(4, 4, {1, 2, 3})), TextureImage::NoMipmap);
        EXPECT_EQ(textureLevelParameter(compressed.texture, GL_TEXTURE_COMPRESSED_ARB), 1);
    }
    glflags::ARB_texture_compression = 0;
    TextureImage plain(makeImage<ImageRGB>(4, 4, solidPixels(4, 4, {1, 2, 3})), TextureImage::NoMipmap);
    EXPECT_TRUE(plain.flags & TextureImage::Compress);
    EXPECT_EQ(textureLevelParameter(plain.texture, GL_TEXTURE_COMPRESSED_ARB), 0);
    EXPECT_EQ(texturePixels(plain.texture, GL_RGB, 3), solidPixels(4, 4, {1, 2, 3}));

    // Anisotropy: the texture's own value for colour, 2 for 8-bit images,
    // nothing without the extension.
    if (glflags::EXT_texture_filter_anisotropic) {
        TextureImage colour;
        colour.maxAnisotropy = 4.0f;
        colour.uploadRGB(makeImage<ImageRGB>(2, 2, solidPixels(2, 2, {0, 0, 0})));
        TextureImage grey(makeImage<Image8>(2, 2, solidPixels(2, 2, {7})), 0);
        GLfloat value = 0;
        glBindTexture(GL_TEXTURE_2D, colour.texture);
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
        EXPECT_FLOAT_EQ(value, 4.0f);
        glBindTexture(GL_TEXTURE_2D, grey.texture);
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
        EXPECT_FLOAT_EQ(value, 2.0f);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glflags::EXT_texture_filter_anisotropic = 0;
    TextureImage noAnisotropy;
    noAnisotropy.maxAnisotropy = 8.0f;
    noAnisotropy.uploadRGB(makeImage<ImageRGB>(2, 2, solidPixels(2, 2, {0, 0, 0})));
    GLfloat value = 0;
    glBindTexture(GL_TEXTURE_2D, noAnisotropy.texture);
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_FLOAT_EQ(value, 1.0f);
}

TEST_F(TextureImageTest, UploadingAgainDeletesTheFirstTextureBeforeMakingTheNext)
{
    g_realDelete = slot_glDeleteTextures;
    g_realGenerate = slot_glGenTextures;
    slot_glDeleteTextures = [](GLsizei n, const GLuint* names) {
        g_deleted.insert(g_deleted.end(), names, names + n);
        g_realDelete(n, names);
    };
    slot_glGenTextures = [](GLsizei n, GLuint* names) {
        g_realGenerate(n, names);
        EXPECT_EQ(g_deleted.size(), g_generated.size()) << "the old texture goes first";
        g_generated.insert(g_generated.end(), names, names + n);
    };
    {
        TextureImage texture(makeImage<ImageRGB>(2, 2, solidPixels(2, 2, {1, 1, 1})), 0);
        GLuint first = texture.texture;
        texture.uploadRGB(makeImage<ImageRGB>(2, 2, solidPixels(2, 2, {2, 2, 2})));
        ASSERT_EQ(g_deleted, std::vector<GLuint>{first});
        ASSERT_EQ(g_generated.size(), 2u);
        EXPECT_EQ(texture.texture, g_generated[1]);
        EXPECT_EQ(texture.rgb->pixels, solidPixels(2, 2, {2, 2, 2}));  // the new image replaced the old
    }
    EXPECT_EQ(g_deleted.size(), 2u);  // the destructor deletes the last one
    slot_glDeleteTextures = g_realDelete;
    slot_glGenTextures = g_realGenerate;
}

TEST_F(TextureImageTest, UploadsKeepTheBindingAndAlphaAndGreyFollowTheirFormats)
{
    GLuint bound = 0;
    glGenTextures(1, &bound);
    glBindTexture(GL_TEXTURE_2D, bound);

    // Odd widths: rows are read tightly packed.
    std::vector<uint8_t> rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TextureImage colour(makeImage<ImageRGBA>(1, 3, rgba), TextureImage::NoMipmap);
    std::vector<uint8_t> alphaPixels = {10, 20, 30, 40, 50, 60};
    TextureImage mask(makeImage<Image8>(3, 2, alphaPixels), TextureImage::NoMipmap | TextureImage::Alpha);
    TextureImage luminance(makeImage<Image8>(3, 2, alphaPixels), TextureImage::NoMipmap);

    GLint stillBound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &stillBound);
    EXPECT_EQ(GLuint(stillBound), bound);
    glDeleteTextures(1, &bound);

    EXPECT_TRUE(colour.hasAlpha);
    EXPECT_EQ(colour.format, GLenum(GL_RGBA));
    EXPECT_EQ(texturePixels(colour.texture, GL_RGBA, 4), rgba);
    EXPECT_TRUE(mask.hasAlpha);
    EXPECT_EQ(texturePixels(mask.texture, GL_ALPHA, 1), alphaPixels);
    EXPECT_FALSE(luminance.hasAlpha);
    EXPECT_EQ(texturePixels(luminance.texture, GL_LUMINANCE, 1), alphaPixels);
    EXPECT_FLOAT_EQ(mask.maxAnisotropy, 2.0f);
    // Sides that are not powers of two are taken where the driver can (here).
    EXPECT_TRUE(nonPowerOfTwoSupported());
    EXPECT_TRUE(uploadableSides(*mask.gray));

    // A deleted texture is no longer believed bound by the state cache, so a
    // new texture that gets the same name is really bound when asked for.
    auto deleted = std::make_unique<TextureImage>(makeImage<ImageRGB>(2, 2, solidPixels(2, 2, {0, 0, 0})), 0);
    GLStateCache::instance().bindTexture(0, deleted->texture);
    deleted.reset();
    EXPECT_EQ(GLStateCache::instance().boundTexture(0), 0u);

    // The 8-bit image is the one in use whatever else is held.
    luminance.uploadRGB(makeImage<ImageRGB>(2, 2, solidPixels(2, 2, {0, 0, 0})));
    EXPECT_EQ(luminance.currentImage(), luminance.gray.get());
}

TEST_F(TextureImageTest, RecordsReadBackToTheSamePixelsInBothForms)
{
    // Raw pixels: an image without a file.
    std::vector<uint8_t> pattern = patternPixels(16, 8);
    TextureImage raw(makeImage<ImageRGB>(16, 8, pattern), TextureImage::NoMipmap);
    raw.magFilter = GL_NEAREST;
    raw.wrapT = GL_CLAMP;
    raw.maxAnisotropy = 3.5f;
    std::unique_ptr<TextureImage> rawBack = readBack(written(raw));
    ASSERT_TRUE(rawBack);
    EXPECT_EQ(rawBack->magFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(rawBack->minFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(rawBack->wrapT, GLenum(GL_CLAMP));
    EXPECT_FLOAT_EQ(rawBack->maxAnisotropy, 3.5f);
    EXPECT_EQ(rawBack->flags, raw.flags);
    ASSERT_TRUE(rawBack->rgb);
    EXPECT_FALSE(rawBack->rgba);
    EXPECT_FALSE(rawBack->gray);
    EXPECT_EQ(rawBack->rgb->pixels, pattern);
    EXPECT_EQ(texturePixels(rawBack->texture, GL_RGB, 3), pattern);

    // Embedded file: a picture loaded from disk gives up its pixels at upload
    // and is written as the file's bytes; read back, it decodes to the same
    // pixels and, having no name, keeps them.
    ASSERT_TRUE(writers::writePng("demo/pattern.png", pattern.data(), 16, 8));
    auto* fromFile = new ImageRGB;
    ASSERT_TRUE(loadImageRGB("demo\\pattern.png", *fromFile));
    TextureImage embedded(fromFile, TextureImage::NoMipmap);
    EXPECT_FALSE(embedded.rgb->hasPixels());
    std::vector<uint8_t> bytes = written(embedded);
    std::vector<uint8_t> fileName = {'p', 'a', 't', 't', 'e', 'r', 'n', '.', 'p', 'n', 'g', 0};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), fileName.begin(), fileName.end()), bytes.end());
    std::unique_ptr<TextureImage> embeddedBack = readBack(bytes);
    ASSERT_TRUE(embeddedBack && embeddedBack->rgb);
    EXPECT_TRUE(embeddedBack->rgb->name.empty());
    EXPECT_EQ(embeddedBack->rgb->pixels, pattern);
    EXPECT_EQ(texturePixels(embeddedBack->texture, GL_RGB, 3), pattern);

    // 8-bit images from a stream keep their pixels, so they write back too.
    TextureImage grey(makeImage<Image8>(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}), TextureImage::NoMipmap);
    std::unique_ptr<TextureImage> greyBack = readBack(written(*readBack(written(grey))));
    ASSERT_TRUE(greyBack && greyBack->gray);
    EXPECT_EQ(greyBack->gray->pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

    // No image at all: parameters but no texture.
    TextureImage empty;
    empty.wrapS = GL_CLAMP;
    std::unique_ptr<TextureImage> emptyBack = readBack(written(empty));
    ASSERT_TRUE(emptyBack);
    EXPECT_EQ(emptyBack->texture, 0u);
    EXPECT_EQ(emptyBack->wrapS, GLenum(GL_CLAMP));
    EXPECT_EQ(emptyBack->currentImage(), nullptr);
}

TEST_F(TextureImageTest, DamagedRecordsFailClearly)
{
    std::vector<uint8_t> pattern = patternPixels(8, 8);
    ASSERT_TRUE(writers::writePng("pattern.png", pattern.data(), 8, 8));
    auto* fromFile = new ImageRGB;
    ASSERT_TRUE(loadImageRGB("pattern.png", *fromFile));
    TextureImage embedded(fromFile, 0);
    TextureImage raw(makeImage<ImageRGB>(8, 8, pattern), 0);

    // Every cut of a good record ends in a persistent::exception, never a crash.
    for (const std::vector<uint8_t>& whole : {written(embedded), written(raw)}) {
        for (size_t keep = 1; keep < whole.size(); keep += 7) {
            memory_pstream cut(whole.data(), keep);
            try {
                delete read_object(cut);
                ADD_FAILURE() << "a record cut to " << keep << " bytes was read";
            } catch (persistent::exception) {
            }
        }
    }

    // Counts larger than the stream: refused before anything is allocated.
    memory_pstream stream;
    std::string className = TextureImage::kClassName;
    stream.raw_write(className.c_str(), 1, className.size() + 1);
    short version = 0;
    stream.raw_write(&version, 2, 1);
    for (unsigned value : {GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT})
        stream.write(value);
    stream.write(1.0f).write(0u);
    memory_pstream rawHuge(stream.bytes()), fileHuge(stream.bytes());
    rawHuge.write(false).write(true).write(true).write(60000u).write(60000u);  // 10.8 GB of pixels
    fileHuge.write(false).write(true).write(false);
    fileHuge.raw_write("big.jpg", 1, 8);
    fileHuge.write(0xFFFFFFF0u);
    for (memory_pstream* bad : {&rawHuge, &fileHuge}) {
        try {
            delete read_object(*bad);
            ADD_FAILURE() << "an impossible count was accepted";
        } catch (persistent::exception error) {
            EXPECT_EQ(error, persistent::bad_data);
        }
    }

    // An embedded picture that does not decode.
    memory_pstream garbage(stream.bytes());
    garbage.write(false).write(true).write(false);
    garbage.raw_write("noise.jpg", 1, 10);
    garbage.write(64u);
    std::vector<uint8_t> noise(64, 0x5A);
    garbage.raw_write(noise.data(), 1, noise.size());
    garbage.write(false);
    EXPECT_THROW(delete read_object(garbage), persistent::exception);
}
