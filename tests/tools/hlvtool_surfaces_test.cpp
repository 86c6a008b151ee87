// hlvtool render draws LightWave surfaces as LightWave shows them: a UV
// picture the right way up, one-sided surfaces unseen from behind and
// double-sided ones seen, a missing picture named and the surface in its
// colour, each of two objects' "Default" surface in its own colour.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "render/image_file.h"
#include "tests/support/run_program.h"
#include "tests/tools/json_number.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tools/writers/lwo2_writer.h"
#include "tools/writers/picture_writer.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

struct SurfaceFolder {
    SurfaceFolder()
    {
        path = (fs::current_path() / ("hlvtool_surfaces_" +
                                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                   .string();
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~SurfaceFolder() { fs::remove_all(path); }
    ProgramRun run(const std::string& arguments) const { return runInFolder(path, kTool + " " + arguments); }
    std::string path;
};

// The square of side 2 about the origin in the z = 0 plane, facing
// LightWave's default camera (-z; LightWave's polygons run clockwise seen
// from their front), or facing away. Its UVs run as LightWave's do: (0, 0)
// at the bottom left.
writers::Lwo2Writer square(const writers::Lwo2Surface& surface, bool facingCamera, const std::string& picture = "")
{
    const std::vector<Vector3f> corners = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    writers::Lwo2Writer w;
    w.tags({surface.name});
    if (!picture.empty())
        w.clip(1, picture);
    w.layer(0).points(corners);
    w.vertexMap("TXUV", 2, "uv", {{0, 0, {0, 0}}, {1, 0, {1, 0}}, {2, 0, {1, 1}}, {3, 0, {0, 1}}});
    w.polygons({facingCamera ? std::vector<uint32_t>{3, 2, 1, 0} : std::vector<uint32_t>{0, 1, 2, 3}});
    return w.surfaceTags({{0, 0}}).surface(surface);
}

struct Rgb {
    int r, g, b;
};

Rgb pixelAt(const ImageRGB& image, uint32_t x, uint32_t y)
{
    const uint8_t* p = &image.pixels[3 * (size_t(y) * image.width + x)];
    return {p[0], p[1], p[2]};
}

ImageRGB rendered(const SurfaceFolder& folder, const std::string& object, std::string* errors = nullptr)
{
    const ProgramRun run = folder.run("render " + object + " --out frame.png");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    if (errors)
        *errors = run.errors;
    ImageRGB image;
    EXPECT_TRUE(loadImageRGB((folder.path + "/frame.png").c_str(), image));
    return image;
}

// Which of red, green, blue and yellow (or none) the pixel is.
char hueOf(const Rgb& c)
{
    const int high = std::max({c.r, c.g, c.b});
    if (high < 60)
        return '-';
    const bool r = c.r > high / 2, g = c.g > high / 2, b = c.b > high / 2;
    return r && g && !b ? 'y' : r && !g && !b ? 'r' : g && !r && !b ? 'g' : b && !r && !g ? 'b' : '?';
}

} // namespace

// A picture of four coloured quarters, red at its top left, blue below it:
// LightWave puts the top of the picture at v = 1, the top of the square.
TEST(HlvtoolSurfaces, AUVMappedPictureIsSeenTheRightWayUp)
{
    SurfaceFolder folder;
    const uint32_t side = 64;
    std::vector<uint8_t> pixels(side * side * 3);
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x) {
            const bool right = x >= side / 2, bottom = y >= side / 2;  // rows top first
            const uint8_t rgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
            const uint8_t* c = rgb[(bottom ? 2 : 0) + (right ? 1 : 0)];
            std::copy(c, c + 3, &pixels[3 * (y * side + x)]);
        }
    ASSERT_TRUE(writers::writePng(folder.path + "/quarters.png", pixels.data(), side, side));
    writers::Lwo2Surface surface;
    surface.name = "Picture";
    surface.blocks.push_back(writers::uvMappedBlock("uv", 1));
    ASSERT_TRUE(square(surface, true, "quarters.png").save(folder.path + "/picture.lwo"));

    const ImageRGB frame = rendered(folder, "picture.lwo");
    ASSERT_EQ(frame.width, 800u);
    const int dx = 120, dy = 110;
    // The top of the frame shows the picture's top row (red and green), each
    // above its own column's bottom colour. The object is seen from -z, as
    // LightWave's camera shows it: +x, the picture's right, on the right.
    const std::string top = {hueOf(pixelAt(frame, 400 - dx, 300 - dy)), hueOf(pixelAt(frame, 400 + dx, 300 - dy))};
    const std::string bottom = {hueOf(pixelAt(frame, 400 - dx, 300 + dy)), hueOf(pixelAt(frame, 400 + dx, 300 + dy))};
    EXPECT_EQ(top, "rg");
    EXPECT_EQ(bottom, "by");

    const ProgramRun info = folder.run("info picture.lwo");
    EXPECT_NE(info.output.find("found at"), std::string::npos) << info.output;
}

TEST(HlvtoolSurfaces, FromBehindADoubleSidedSurfaceIsSeenAndAOneSidedOneIsNot)
{
    SurfaceFolder folder;
    writers::Lwo2Surface surface;
    surface.name = "Sheet";
    surface.colour[0] = 1, surface.colour[1] = 0, surface.colour[2] = 0;
    ASSERT_TRUE(square(surface, false).save(folder.path + "/one.lwo"));
    surface.sides = 3;
    ASSERT_TRUE(square(surface, false).save(folder.path + "/both.lwo"));

    EXPECT_EQ(hueOf(pixelAt(rendered(folder, "one.lwo"), 400, 300)), '-') << "the backdrop";
    EXPECT_EQ(hueOf(pixelAt(rendered(folder, "both.lwo"), 400, 300)), 'r');
}

// Red on +x and green on -x, both facing LightWave's camera (-z). At 0 s
// the object is seen as LightWave's camera sees it: red on the right (a
// mirror image, the Back view, would put it on the left). Half a turn
// (5 s) shows only their backs.
TEST(HlvtoolSurfaces, AtTimeZeroAnObjectShowsItsFrontPlusXOnTheRight)
{
    SurfaceFolder folder;
    writers::Lwo2Surface red, green;
    red.name = "Red", red.colour[0] = 1, red.colour[1] = 0, red.colour[2] = 0;
    green.name = "Green", green.colour[0] = 0, green.colour[1] = 1, green.colour[2] = 0;
    ASSERT_TRUE(writers::Lwo2Writer()
                    .tags({"Red", "Green"})
                    .points({{1, -1, 0}, {1, 1, 0}, {3, 1, 0}, {3, -1, 0},
                             {-3, -1, 0}, {-3, 1, 0}, {-1, 1, 0}, {-1, -1, 0}})
                    .polygons({{0, 1, 2, 3}, {4, 5, 6, 7}})
                    .surfaceTags({{0, 0}, {1, 1}})
                    .surface(red)
                    .surface(green)
                    .save(folder.path + "/pair.lwo"));
    const struct {
        const char* time;
        const char* seen;  // at the left and right of the picture
    } cases[] = {{"0", "gr"}, {"5", "--"}};
    for (const auto& c : cases) {
        const ProgramRun run = folder.run(std::string("render pair.lwo --out frame.png --time ") + c.time);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        ImageRGB frame;
        ASSERT_TRUE(loadImageRGB((folder.path + "/frame.png").c_str(), frame));
        const std::string seen = {hueOf(pixelAt(frame, 200, 300)), hueOf(pixelAt(frame, 600, 300))};
        EXPECT_EQ(seen, c.seen) << c.time << " s";
    }
}

TEST(HlvtoolSurfaces, AMissingPictureIsNamedAndItsSurfaceKeepsItsColour)
{
    SurfaceFolder folder;
    writers::Lwo2Surface surface;
    surface.name = "Paint";
    surface.colour[0] = 0, surface.colour[1] = 0, surface.colour[2] = 1;
    surface.blocks.push_back(writers::uvMappedBlock("uv", 1));
    ASSERT_TRUE(square(surface, true, "Images/gone.tga").save(folder.path + "/paint.lwo"));

    std::string errors;
    EXPECT_EQ(hueOf(pixelAt(rendered(folder, "paint.lwo", &errors), 400, 300)), 'b');
    EXPECT_NE(errors.find("'Images/gone.tga' (needed by surface 'Paint') is not found"), std::string::npos) << errors;
    const ProgramRun info = folder.run("info paint.lwo --json");
    EXPECT_EQ(jsonNumber(info.output, "textures_missing"), 1) << info.output;
}

// The shared test scene's two quads are both "Default": red and green.
TEST(HlvtoolSurfaces, TwoObjectsDefaultSurfacesKeepTheirOwnColours)
{
    SurfaceFolder folder;
    writeTestLightWaveScene(folder.path);
    for (const char* time : {"0", "1"}) {
        const ProgramRun run = folder.run(std::string("render scene.lws --out scene.png --time ") + time);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        ImageRGB image;
        ASSERT_TRUE(loadImageRGB((folder.path + "/scene.png").c_str(), image));
        EXPECT_EQ(hueOf(pixelAt(image, 400, 300)), time[0] == '0' ? 'r' : 'g') << time;
    }
}
