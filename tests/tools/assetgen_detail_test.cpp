// The high-detail set holds the same pictures and scene textures as the
// pack, drawn at twice the size: each twin, reduced to the pack's size,
// shows the pack's picture, and it has detail of its own where the picture
// has any (lettering, stars, the balloon's ropes, the skyline's windows).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "render/image_file.h"
#include "render/texture_image.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tests/support/gl_window.h"
#include "tests/support/sharpness.h"
#include "tests/tools/assetgen_pack.h"

namespace {

constexpr int kDetail = 2;

GreyPicture readGrey(const std::string& name, bool colour)
{
    if (colour) {
        ImageRGB image;
        EXPECT_TRUE(loadImageRGB(name.c_str(), image)) << name;
        return greyPicture(image.pixels.data(), int(image.width), int(image.height), 3);
    }
    Image8 image;
    EXPECT_TRUE(loadImage8(name.c_str(), image)) << name;
    return greyPicture(image.pixels.data(), int(image.width), int(image.height), 1);
}

GreyPicture textureGrey(const TextureImage& texture)
{
    const PixelImage& image = *texture.currentImage();
    const int channels = texture.gray ? 1 : (texture.rgb ? 3 : 4);
    return greyPicture(image.pixels.data(), int(image.width), int(image.height), channels);
}

// How far the twin is from the pack's picture, both seen `blocks` times
// smaller than the pack's size (lettering typeset at another size puts its
// strokes on other pixels, never in other places): the mean absolute
// difference of luminance.
double difference(const GreyPicture& pack, const GreyPicture& twin, int blocks)
{
    const GreyPicture small = reduced(pack, blocks), large = reduced(twin, blocks * kDetail);
    double sum = 0;
    for (size_t i = 0; i < small.values.size(); ++i)
        sum += std::fabs(small.values[i] - large.values[i]);
    return sum / double(small.values.size());
}

// Gradient energy of the twin over that of the pack's picture magnified.
double sharpnessGain(const GreyPicture& pack, const GreyPicture& twin)
{
    return gradientEnergy(twin) / gradientEnergy(magnified(pack, kDetail));
}

struct PictureTwin {
    const char* name;
    bool colour;
    double sharperAtLeast;  // 0: a soft picture, nothing to gain
    double apartAtMost;     // see difference()
};

// Small body text typeset at twice the size keeps fuller strokes than the
// hinted small size does, so the greetings are further apart than the rest.
const PictureTwin kPictures[] = {
    {"demo\\loading.jpg", true, 1.5, 3},   {"demo\\SkyDrift.jpg", true, 1.5, 3},    {"demo\\backs\\1.jpg", true, 1.5, 3},
    {"demo\\backs\\biglogo.jpg", true, 1.5, 3}, {"demo\\frontdrop.jpg", true, 0, 3}, {"demo\\pupic.jpg", true, 1.5, 3},
    {"demo\\pupic_a.jpg", false, 1.5, 3},  {"demo\\greetings.jpg", false, 1.5, 12}, {"demo\\fil1.png", false, 0, 3},
    {"demo\\fil2.png", false, 0, 3},       {"demo\\fil3.png", false, 0, 3},         {"demo\\cite-alpha.png", false, 1.5, 3},
};

class AssetDetail : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        enterPack();
    }
};

} // namespace

TEST(AssetDetailPictures, EveryPictureHasATwinOfTwiceItsSizeShowingTheSamePicture)
{
    enterPack();
    for (const PictureTwin& picture : kPictures) {
        const GreyPicture pack = readGrey(picture.name, picture.colour);
        const GreyPicture twin = readGrey(std::string("hd\\") + picture.name, picture.colour);
        ASSERT_EQ(twin.width, pack.width * kDetail) << picture.name;
        ASSERT_EQ(twin.height, pack.height * kDetail) << picture.name;
        EXPECT_LT(difference(pack, twin, 4), picture.apartAtMost) << picture.name;
        const double gain = sharpnessGain(pack, twin);
        std::printf("%-26s twin %dx%d, %.2f times the gradient energy of the picture magnified, %.2f apart\n",
                    picture.name, twin.width, twin.height, gain, difference(pack, twin, 4));
        if (picture.sharperAtLeast > 0) {
            EXPECT_GE(gain, picture.sharperAtLeast) << picture.name;
        }
    }
}

TEST_F(AssetDetail, EverySceneTextureHasATwinOfTwiceItsSidesShowingTheSameTexture)
{
    for (const char* name : {"demo\\mosquee.hlv", "demo\\cubes.hlv", "demo\\metaballs.hlv", "demo\\Davudare.hlv",
                             "demo\\fin2.hlv"}) {
        std::unique_ptr<Scene> pack(load_scene(name));
        std::unique_ptr<Scene> twin(load_scene(std::string("hd\\") + name));
        ASSERT_EQ(twin->textures().size(), pack->textures().size()) << name;
        for (size_t i = 0; i < pack->textures().size(); ++i) {
            const TextureImage& packTexture = *pack->textures()[i];
            const TextureImage& twinTexture = *twin->textures()[i];
            ASSERT_TRUE(packTexture.currentImage() && twinTexture.currentImage()) << name << " texture " << i;
            const PixelImage &smallImage = *packTexture.currentImage(), &largeImage = *twinTexture.currentImage();
            ASSERT_EQ(largeImage.width, smallImage.width * kDetail) << name << " texture " << i;
            ASSERT_EQ(largeImage.height, smallImage.height * kDetail) << name << " texture " << i;
            EXPECT_EQ(twinTexture.wrapS, packTexture.wrapS) << name << " texture " << i;
            // Textures stored as picture files give their pixels up once uploaded.
            if (smallImage.pixels.empty() || largeImage.pixels.empty())
                continue;
            const GreyPicture small = textureGrey(packTexture), large = textureGrey(twinTexture);
            // Per-texel grain is finer in the twin; its average is the same.
            EXPECT_NEAR(meanLuminance(large), meanLuminance(small), 3.0) << name << " texture " << i;
            EXPECT_LT(difference(small, large, 4), 4.0) << name << " texture " << i;
        }
    }
}
