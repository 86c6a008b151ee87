// Frames larger than the layout read a picture's twin from the high-detail
// set where it has one, under the picture's own name, and brushes learn
// from the texture how many of its pixels make one layout pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "render/device.h"
#include "resources/bitmap_manager.h"
#include "resources/detail_set.h"
#include "tests/render/image_test_files.h"
#include "tests/support/gl_window.h"
#include "tools/writers/picture_writer.h"

namespace {

class DetailSetTest : public GLWindowTest {
protected:
    void TearDown() override
    {
        detailset::use(false);
        for (const char* name : {"demo\\sky.png", "demo\\figure", "demo\\mask.png"})
            bitmaps.release(name);
        GLWindowTest::TearDown();
    }

    BitmapManager& bitmaps = BitmapManager::instance();

private:
    ScratchDirectory scratch_;
};

void writeSolid(const std::string& path, uint32_t width, uint32_t height, std::vector<uint8_t> value)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<uint8_t> pixels = solidPixels(width, height, value);
    ASSERT_TRUE(writers::writePng(path, pixels.data(), width, height, unsigned(value.size())));
}

} // namespace

TEST(DetailSetChoice, FramesLargerThanTheLayoutUseTheSet)
{
    const unsigned layoutWidth = gldevice::screenWidth, layoutHeight = gldevice::screenHeight;
    gldevice::screenWidth = 800;
    gldevice::screenHeight = 600;
    struct Case {
        unsigned width, height;
        bool inUse;
    };
    for (const Case& c : {Case{800, 600, false}, Case{400, 300, false}, Case{804, 603, true}, Case{1440, 1080, true},
                          Case{1600, 1200, true}, Case{800, 600, false}}) {
        detailset::chooseFor(c.width, c.height);
        EXPECT_EQ(detailset::inUse(), c.inUse) << c.width << "x" << c.height;
    }
    gldevice::screenWidth = layoutWidth;
    gldevice::screenHeight = layoutHeight;
}

TEST_F(DetailSetTest, EachLoadReadsTheTwinOnlyWhenTheSetIsInUseAndHoldsIt)
{
    // The pack's pictures are dark; their twins, twice the size, are light.
    writeSolid("demo/sky.png", 400, 300, {10, 10, 10});
    writeSolid("demo/figure.png", 64, 128, {10, 10, 10});
    writeSolid("demo/figure_a.png", 64, 128, {255});
    writeSolid("demo/mask.png", 32, 64, {10});
    struct Case {
        bool inUse, twins;
        uint32_t skyWidth, figureWidth, maskWidth;  // what the textures hold
        unsigned detail;
        uint8_t value;
    };
    for (const Case& c : {Case{false, true, 512, 64, 32, 1, 10}, Case{true, false, 512, 64, 32, 1, 10},
                          Case{true, true, 1024, 128, 64, 2, 240}}) {
        std::filesystem::remove_all("hd");
        if (c.twins) {
            writeSolid("hd/demo/sky.png", 800, 600, {240, 240, 240});
            writeSolid("hd/demo/figure.png", 128, 256, {240, 240, 240});
            writeSolid("hd/demo/figure_a.png", 128, 256, {255});
            writeSolid("hd/demo/mask.png", 64, 128, {240});
        }
        detailset::use(c.inUse);
        bitmaps.loadPadded("demo\\sky.png");
        bitmaps.loadWithAlpha("demo\\figure", "demo\\figure.png", "demo\\figure_a.png");
        bitmaps.loadAlpha("demo\\mask.png");
        const TextureImage* sky = bitmaps.find("demo\\sky.png");
        const TextureImage* figure = bitmaps.find("demo\\figure");
        const TextureImage* mask = bitmaps.find("demo\\mask.png");
        ASSERT_TRUE(sky && figure && mask);
        EXPECT_EQ(sky->currentImage()->width, c.skyWidth);
        EXPECT_EQ(figure->currentImage()->width, c.figureWidth);
        EXPECT_EQ(mask->currentImage()->width, c.maskWidth);
        for (const TextureImage* texture : {sky, figure, mask})
            EXPECT_EQ(texture->detail, c.detail);
        // The alpha picture, read from its file, gives its pixels up once uploaded.
        for (const TextureImage* texture : {sky, figure})
            EXPECT_EQ(texture->currentImage()->pixels.at(0), c.value);
        for (const char* name : {"demo\\sky.png", "demo\\figure", "demo\\mask.png"})
            bitmaps.release(name);
    }
}

TEST_F(DetailSetTest, AFigureWhoseAlphaHasNoTwinKeepsBothFromThePack)
{
    writeSolid("demo/figure.png", 64, 128, {10, 10, 10});
    writeSolid("demo/figure_a.png", 64, 128, {255});
    writeSolid("hd/demo/figure.png", 128, 256, {240, 240, 240});
    detailset::use(true);
    bitmaps.loadWithAlpha("demo\\figure", "demo\\figure.png", "demo\\figure_a.png");
    const TextureImage* figure = bitmaps.find("demo\\figure");
    ASSERT_TRUE(figure);
    EXPECT_EQ(figure->currentImage()->width, 64u);
    EXPECT_EQ(figure->detail, 1u);
}
