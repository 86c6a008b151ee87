// A texture record built by hand from its format table, read with the reader
// and written again.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "persist/encoding.h"
#include "render/gl_api.h"
#include "render/texture_image.h"
#include "tests/render/image_test_files.h"
#include "tests/support/gl_window.h"
#include "tests/support/stored_bytes.h"
#include "tools/writers/picture_writer.h"

namespace {

class TextureRecordTest : public GLWindowTest {
    ScratchDirectory scratch_;
};

} // namespace

// The four filters and wraps as packed numbers, the anisotropy, the flags,
// then for the RGBA, RGB and 8-bit images in turn a presence flag and the
// image: raw (width, height, pixels) when it has no file, else its file's
// name part, size and bytes.
TEST_F(TextureRecordTest, FieldsThenEachImageRawOrAsItsFile)
{
    const std::vector<uint8_t> rgbPixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};  // 2 x 2
    const std::vector<uint8_t> greyPixels = {0, 40, 80, 120, 160, 200, 240, 255};           // 4 x 2
    ASSERT_TRUE(writers::writePng("demo/grey.png", greyPixels.data(), 4, 2, 1));
    std::vector<uint8_t> greyFile;
    ASSERT_TRUE(readResourceFile("demo\\grey.png", greyFile));
    const GLuint flags = TextureImage::NoMipmap | TextureImage::Alpha;

    StoredBytes expected;
    expected.frame("class TextureImage");
    expected.packed(GL_NEAREST).packed(GL_LINEAR).packed(GL_CLAMP).packed(GL_REPEAT).f32(3.5f).packed(flags);
    expected.byte(0);                                        // no RGBA image
    expected.byte(1).byte(1).packed(2).packed(2).raw(rgbPixels);  // raw RGB pixels
    expected.byte(1).byte(0).string("grey.png").packed(uint32_t(greyFile.size())).raw(greyFile);

    memory_pstream in(expected.bytes());
    std::unique_ptr<persistent> object(read_object(in));
    EXPECT_EQ(in.remaining(), 0u);
    auto* read = dynamic_cast<TextureImage*>(object.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->magFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(read->minFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(read->wrapS, GLenum(GL_CLAMP));
    EXPECT_EQ(read->wrapT, GLenum(GL_REPEAT));
    EXPECT_EQ(read->maxAnisotropy, 3.5f);
    EXPECT_EQ(read->flags, flags);
    EXPECT_EQ(read->rgba, nullptr);
    ASSERT_TRUE(read->rgb);
    EXPECT_EQ(read->rgb->width, 2u);
    EXPECT_EQ(read->rgb->height, 2u);
    EXPECT_EQ(read->rgb->pixels, rgbPixels);
    ASSERT_TRUE(read->gray);
    EXPECT_EQ(read->gray->width, 4u);
    EXPECT_EQ(read->gray->height, 2u);
    EXPECT_EQ(read->gray->pixels, greyPixels) << "the embedded file decodes to its pixels";
    // The 8-bit image came last: its upload made the texture, an alpha mask.
    EXPECT_NE(read->texture, 0u);
    EXPECT_TRUE(read->hasAlpha);
    EXPECT_EQ(read->currentImage(), read->gray.get());

    TextureImage made;
    made.magFilter = GL_NEAREST;
    made.minFilter = GL_LINEAR;
    made.wrapS = GL_CLAMP;
    made.maxAnisotropy = 3.5f;
    made.flags = flags;
    auto* rgb = new ImageRGB;
    rgb->width = rgb->height = 2;
    rgb->pixels = rgbPixels;
    made.uploadRGB(rgb);
    auto* grey = new Image8;
    ASSERT_TRUE(loadImage8("demo\\grey.png", *grey));
    made.uploadGray(grey);
    memory_pstream out;
    write_object(out, made);
    EXPECT_EQ(out.bytes(), expected.bytes());
}
