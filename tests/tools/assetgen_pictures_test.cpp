// The generated pictures decode through the show's own picture loaders with
// the sizes its brushes need: full-screen backdrops, power-of-two alpha
// pictures, and shapes that do what the show uses them for.
#include <gtest/gtest.h>

#include "render/image_file.h"
#include "render/texture_image.h"
#include "tests/tools/assetgen_pack.h"

namespace {

uint8_t grey(const Image8& image, uint32_t x, uint32_t y) { return image.pixels[size_t(y) * image.width + x]; }

} // namespace

TEST(AssetPictures, BackdropsAreScreenSizedAndTheFrameIsWhiteInsideDarkerOutside)
{
    enterPack();
    for (const char* name : {"demo\\loading.jpg", "demo\\SkyDrift.jpg", "demo\\backs\\1.jpg", "demo\\backs\\biglogo.jpg",
                             "demo\\frontdrop.jpg"}) {
        ImageRGB image;
        ASSERT_TRUE(loadImageRGB(name, image)) << name;
        EXPECT_EQ(image.width, 800u) << name;
        EXPECT_EQ(image.height, 600u) << name;
    }
    // The frame multiplies the whole picture: the middle must leave it as it is.
    Image8 frame;
    ASSERT_TRUE(loadImage8("demo\\frontdrop.jpg", frame));
    EXPECT_GE(grey(frame, 400, 300), 250);
    EXPECT_GE(grey(frame, 250, 200), 250);
    for (auto [x, y] : {std::pair{2u, 2u}, {797u, 2u}, {2u, 597u}, {797u, 597u}})
        EXPECT_LT(grey(frame, x, y), 110) << x << "," << y;
}

TEST(AssetPictures, AlphaPicturesHavePowerOfTwoSidesAndMeaningfulShapes)
{
    enterPack();
    // The figure and its alpha picture: same size, cut out by the alpha.
    ImageRGB figure;
    Image8 cut;
    ASSERT_TRUE(loadImageRGB("demo\\pupic.jpg", figure));
    ASSERT_TRUE(loadImage8("demo\\pupic_a.jpg", cut));
    EXPECT_EQ(figure.width, cut.width);
    EXPECT_EQ(figure.height, cut.height);
    EXPECT_TRUE(isPowerOfTwo(cut.width) && isPowerOfTwo(cut.height));
    EXPECT_LT(grey(cut, 2, 2), 8);
    EXPECT_GT(grey(cut, cut.width / 2, cut.height / 3), 245);

    // Greetings: light text on black, small enough to fit where it is drawn
    // (from x = -0.25 to the right edge of the screen).
    Image8 greetings;
    ASSERT_TRUE(loadImage8("demo\\greetings.jpg", greetings));
    EXPECT_TRUE(isPowerOfTwo(greetings.width) && isPowerOfTwo(greetings.height));
    EXPECT_LE(greetings.width, 512u);
    size_t lit = 0;
    for (uint8_t v : greetings.pixels)
        lit += v > 128 ? 1 : 0;
    EXPECT_GT(lit, greetings.pixels.size() / 50);
    EXPECT_LT(lit, greetings.pixels.size() / 4);

    for (const char* name : {"demo\\fil1.png", "demo\\fil2.png", "demo\\fil3.png"}) {
        Image8 strip;
        ASSERT_TRUE(loadImage8(name, strip)) << name;
        EXPECT_TRUE(isPowerOfTwo(strip.width) && isPowerOfTwo(strip.height)) << name;
        EXPECT_LT(strip.width, strip.height) << name << " is a tall strip";
        EXPECT_GT(grey(strip, strip.width / 2, strip.height / 2), grey(strip, 0, strip.height / 2)) << name;
    }

    // The skyline stencil: wide enough to cross the screen, empty sky on top,
    // solid city at the bottom, and nothing in between the two.
    Image8 city;
    ASSERT_TRUE(loadImage8("demo\\cite-alpha.png", city));
    EXPECT_TRUE(isPowerOfTwo(city.width) && isPowerOfTwo(city.height));
    EXPECT_GE(city.width, 800u);
    for (uint32_t x = 0; x < 800; ++x) {
        EXPECT_EQ(grey(city, x, 0), 0) << x;
        EXPECT_EQ(grey(city, x, city.height - 1), 255) << x;
    }
    for (uint8_t v : city.pixels)
        ASSERT_TRUE(v == 0 || v == 255);
}
