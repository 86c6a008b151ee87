#include <gtest/gtest.h>

#include <cstring>
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

// Compression is lossy: pixels are compared without it.
class TextureImageTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        glflags::ARB_texture_compression = 0;
    }
    void TearDown() override { glflags::ARB_texture_compression = compression_; }

private:
    int compression_ = glflags::ARB_texture_compression;
    ScratchDirectory scratch_;
};

ImageRGB* makeRGB(uint32_t width, uint32_t height, std::vector<uint8_t> pixels)
{
    auto* image = new ImageRGB;
    image->width = width;
    image->height = height;
    image->pixels = std::move(pixels);
    return image;
}

std::vector<uint8_t> textureRGB(GLuint texture)
{
    std::vector<uint8_t> pixels(size_t(textureLevelParameter(texture, GL_TEXTURE_WIDTH))
                                * textureLevelParameter(texture, GL_TEXTURE_HEIGHT) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
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
    std::unique_ptr<persistent> object(read_object(stream));
    auto* texture = dynamic_cast<TextureImage*>(object.get());
    if (texture)
        object.release();
    return std::unique_ptr<TextureImage>(texture);
}

std::vector<std::string> g_textureCalls;
void (*g_realDelete)(GLsizei, const GLuint*) = nullptr;
void (*g_realGenerate)(GLsizei, GLuint*) = nullptr;

} // namespace

TEST_F(TextureImageTest, UploadsResizeReplaceAndForgetTheirTextures)
{
    TextureImage scaled(makeRGB(800, 600, solidPixels(800, 600, {1, 2, 3})), 0);
    EXPECT_EQ(scaled.rgb->width, 512u);
    EXPECT_EQ(scaled.rgb->height, 512u);
    EXPECT_EQ(textureLevelParameter(scaled.texture, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(textureLevelParameter(scaled.texture, GL_TEXTURE_HEIGHT), 512);

    TextureImage single;
    single.minFilter = GL_NEAREST_MIPMAP_NEAREST;
    single.flags = TextureImage::NoMipmap;
    single.uploadRGB(makeRGB(4, 4, solidPixels(4, 4, {9, 9, 9})));
    EXPECT_EQ(single.minFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(textureParameter(single.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    // A second upload deletes the first texture before it makes the next.
    g_realDelete = slot_glDeleteTextures;
    g_realGenerate = slot_glGenTextures;
    slot_glDeleteTextures = [](GLsizei n, const GLuint* names) {
        g_textureCalls.push_back("delete " + std::to_string(names[0]));
        g_realDelete(n, names);
    };
    slot_glGenTextures = [](GLsizei n, GLuint* names) {
        g_realGenerate(n, names);
        g_textureCalls.push_back("generate");
    };
    GLuint first = single.texture;
    single.uploadRGB(makeRGB(2, 2, solidPixels(2, 2, {2, 2, 2})));
    slot_glDeleteTextures = g_realDelete;
    slot_glGenTextures = g_realGenerate;
    EXPECT_EQ(g_textureCalls, (std::vector<std::string>{"delete " + std::to_string(first), "generate"}));

    // A deleted texture is no longer believed bound, so a new texture that
    // gets its name is really bound when a brush asks for it.
    auto deleted = std::make_unique<TextureImage>(makeRGB(2, 2, solidPixels(2, 2, {0, 0, 0})), 0);
    GLStateCache::instance().bindTexture(0, deleted->texture);
    deleted.reset();
    EXPECT_EQ(GLStateCache::instance().boundTexture(0), 0u);
}

TEST_F(TextureImageTest, RecordsReadBackToTheSamePixelsInBothForms)
{
    // Raw pixels: an image without a file.
    std::vector<uint8_t> pattern = patternPixels(16, 8);
    TextureImage raw;
    raw.flags = TextureImage::NoMipmap;
    raw.wrapT = GL_CLAMP;
    raw.maxAnisotropy = 3.5f;
    raw.uploadRGB(makeRGB(16, 8, pattern));
    std::unique_ptr<TextureImage> rawBack = readBack(written(raw));
    ASSERT_TRUE(rawBack && rawBack->rgb);
    EXPECT_EQ(rawBack->wrapT, GLenum(GL_CLAMP));
    EXPECT_FLOAT_EQ(rawBack->maxAnisotropy, 3.5f);
    EXPECT_EQ(rawBack->rgb->pixels, pattern);
    EXPECT_EQ(textureRGB(rawBack->texture), pattern);

    // A file-backed picture gives its pixels up and is written as its file;
    // read back it decodes to the same pixels and, unnamed, keeps them.
    ASSERT_TRUE(writers::writePng("demo/pattern.png", pattern.data(), 16, 8));
    auto* fromFile = new ImageRGB;
    ASSERT_TRUE(loadImageRGB("demo\\pattern.png", *fromFile));
    TextureImage embedded;
    embedded.uploadRGB(fromFile);
    EXPECT_FALSE(embedded.rgb->hasPixels());
    std::unique_ptr<TextureImage> embeddedBack = readBack(written(embedded));
    ASSERT_TRUE(embeddedBack && embeddedBack->rgb);
    EXPECT_TRUE(embeddedBack->rgb->name.empty());
    EXPECT_EQ(embeddedBack->rgb->pixels, pattern);
    EXPECT_EQ(textureRGB(embeddedBack->texture), pattern);

    // 8-bit images read from a stream keep their pixels and write back.
    auto* grey = new Image8;
    grey->width = 4;
    grey->height = 2;
    grey->pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    TextureImage greyTexture(grey, TextureImage::NoMipmap);
    std::unique_ptr<TextureImage> greyBack = readBack(written(*readBack(written(greyTexture))));
    ASSERT_TRUE(greyBack && greyBack->gray);
    EXPECT_EQ(greyBack->gray->pixels, grey->pixels);

    std::unique_ptr<TextureImage> emptyBack = readBack(written(TextureImage()));
    ASSERT_TRUE(emptyBack);
    EXPECT_EQ(emptyBack->texture, 0u);
    EXPECT_EQ(emptyBack->currentImage(), nullptr);
}

TEST_F(TextureImageTest, DamagedRecordsFailClearly)
{
    std::vector<uint8_t> picture = patternPixels(8, 8);
    ASSERT_TRUE(writers::writePng("pattern.png", picture.data(), 8, 8));
    auto* fromFile = new ImageRGB;
    ASSERT_TRUE(loadImageRGB("pattern.png", *fromFile));
    TextureImage embedded(fromFile, 0);
    TextureImage raw(makeRGB(8, 8, picture), 0);
    for (const std::vector<uint8_t>& whole : {written(embedded), written(raw)}) {
        for (size_t keep = 1; keep < whole.size(); keep += 7) {
            memory_pstream cut(whole.data(), keep);
            EXPECT_THROW(delete read_object(cut), persistent::exception) << "cut to " << keep;
        }
    }

    // Counts larger than the stream are refused before anything is allocated.
    memory_pstream header;
    write_object(header, TextureImage());
    std::vector<uint8_t> start(header.bytes().begin(), header.bytes().end() - 3);  // without the three flags
    memory_pstream rawHuge(start), fileHuge(start), garbage(start);
    rawHuge.write(false).write(true).write(true).write(60000u).write(60000u);
    fileHuge.write(false).write(true).write(false).raw_write("big.jpg", 1, 8);
    fileHuge.write(0xFFFFFFF0u);
    for (memory_pstream* bad : {&rawHuge, &fileHuge}) {
        try {
            delete read_object(*bad);
            ADD_FAILURE() << "an impossible count was accepted";
        } catch (persistent::exception error) {
            EXPECT_EQ(error, persistent::bad_data);
        }
    }

    // An embedded picture that does not decode is read past and kept
    // without pixels; the record goes on (here with an 8-bit image).
    std::vector<uint8_t> noise(64, 0x5A);
    garbage.write(false).write(true).write(false).raw_write("noise.jpg", 1, 10);
    garbage.write(64u).raw_write(noise.data(), 1, noise.size());
    garbage.write(true).write(true).write(2u).write(1u).raw_write("\x10\x20", 1, 2);
    std::unique_ptr<persistent> object(read_object(garbage));
    auto* kept = dynamic_cast<TextureImage*>(object.get());
    ASSERT_TRUE(kept && kept->rgb && kept->gray);
    EXPECT_FALSE(kept->rgb->hasPixels());
    EXPECT_EQ(kept->rgb->width, 0u);
    EXPECT_EQ(kept->gray->pixels, (std::vector<uint8_t>{0x10, 0x20}));
}

// On llvmpipe, textures are sampled without anisotropic filtering: with it a
// single frame of the cubes took up to 35 s. Elsewhere the record's filter is
// set on the texture.
TEST_F(TextureImageTest, AnisotropyFollowsTheRasteriser)
{
    const bool software = std::strstr(reinterpret_cast<const char*>(glGetString(GL_RENDERER)), "llvmpipe");
    const bool offered = IsExtensionSupported("GL_EXT_texture_filter_anisotropic");
    EXPECT_EQ(glflags::EXT_texture_filter_anisotropic != 0, offered && !software);

    TextureImage texture;
    texture.maxAnisotropy = 2.0f;
    texture.uploadRGB(makeRGB(4, 4, solidPixels(4, 4, {9, 9, 9})));
    if (!offered)
        return;
    GLfloat anisotropy = 0;
    glBindTexture(GL_TEXTURE_2D, texture.texture);
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(anisotropy, software ? 1.0f : 2.0f);
}
