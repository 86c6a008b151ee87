// hlvtool render draws LightWave surfaces as LightWave shows them: a UV
// picture the right way up, one-sided surfaces unseen from behind and
// double-sided ones seen, a missing picture named and the surface in its
// colour, each of two objects' "Default" surface in its own colour.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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

namespace {

std::vector<uint8_t> bigEndian(uint32_t value, int bytes)
{
    std::vector<uint8_t> out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(value >> (8 * i)));
    return out;
}

void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& more) { to.insert(to.end(), more.begin(), more.end()); }

// An Amiga IFF ILBM of 16 by 16 pixels, one bit plane, every pixel colour 1
// of its two-colour map; uncompressed.
std::vector<uint8_t> ilbm(const Rgb& colour)
{
    std::vector<uint8_t> header;  // BMHD
    for (const auto& [value, bytes] : std::vector<std::pair<uint32_t, int>>{
             {16, 2}, {16, 2}, {0, 2}, {0, 2}, {1, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 2}, {10, 1}, {11, 1}, {16, 2}, {16, 2}})
        append(header, bigEndian(value, bytes));
    const std::vector<uint8_t> map = {0, 0, 0, uint8_t(colour.r), uint8_t(colour.g), uint8_t(colour.b)};
    const std::vector<uint8_t> body(16 * 2, 0xFF);
    std::vector<uint8_t> form = {'I', 'L', 'B', 'M'};
    for (const auto& [id, data] : {std::pair<const char*, const std::vector<uint8_t>&>{"BMHD", header},
                                   {"CMAP", map}, {"BODY", body}}) {
        append(form, {uint8_t(id[0]), uint8_t(id[1]), uint8_t(id[2]), uint8_t(id[3])});
        append(form, bigEndian(uint32_t(data.size()), 4));
        append(form, data);
    }
    std::vector<uint8_t> file = {'F', 'O', 'R', 'M'};
    append(file, bigEndian(uint32_t(form.size()), 4));
    append(file, form);
    return file;
}

// A Windows BMP of 16 by 16 pixels, 24 bits, bottom row first.
std::vector<uint8_t> bmp(const Rgb& colour)
{
    const uint32_t pixelBytes = 16 * 16 * 3;
    std::vector<uint8_t> file = {'B', 'M'};
    auto little = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.push_back(uint8_t(value >> (8 * i)));
    };
    little(54 + pixelBytes, 4), little(0, 4), little(54, 4);
    little(40, 4), little(16, 4), little(16, 4), little(1, 2), little(24, 2), little(0, 4), little(pixelBytes, 4);
    little(2835, 4), little(2835, 4), little(0, 4), little(0, 4);
    for (uint32_t i = 0; i < 16 * 16; ++i)
        append(file, {uint8_t(colour.b), uint8_t(colour.g), uint8_t(colour.r)});
    return file;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

// Pictures are what their bytes say, whatever their name; one that does not
// decode is named and its surface keeps its colour (blue); a picture found
// only in --search's folder is used.
TEST(HlvtoolSurfaces, PicturesAreDecodedByTheirContentAndFoundInTheSearchFolder)
{
    const Rgb red{255, 0, 0}, green{0, 255, 0};
    const struct {
        const char* name;
        std::string clip;                 // as the object names it
        std::string file;                 // where it is, under the test's folder
        std::vector<uint8_t> bytes;
        std::string search;               // --search, or none
        char seen;                        // the colour at the centre
        const char* info;                 // what `info` says of the picture
        const char* warning;              // in the render's messages
    } cases[] = {
        {"ILBM without extension", "Images/sky", "Images/sky", ilbm(green), "", 'g', "found at", nullptr},
        {"BMP without extension", "Images/hull", "Images/hull", bmp(red), "", 'r', "found at", nullptr},
        {"BMP named as a Targa", "Images/hull.tga", "Images/hull.tga", bmp(green), "", 'g', "found at", nullptr},
        {"not a picture", "Images/broken.png", "Images/broken.png", std::vector<uint8_t>(300, 'x'), "", 'b',
         "not a picture it can decode", "/Images/broken.png' (needed by surface 'Paint') cannot be decoded"},
        {"only in the search folder", "decal.iff", "library/decal.iff", ilbm(red), "library", 'r', "found at",
         nullptr},
        {"search folder not given", "decal.iff", "library/decal.iff", ilbm(red), "", 'b', "missing",
         "'decal.iff' (needed by surface 'Paint') is not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceFolder folder;
        writeBytes(folder.path + "/" + c.file, c.bytes);
        writers::Lwo2Surface surface;
        surface.name = "Paint";
        surface.colour[0] = 0, surface.colour[1] = 0, surface.colour[2] = 1;
        surface.blocks.push_back(writers::uvMappedBlock("uv", 1));
        fs::create_directories(folder.path + "/Objects");
        ASSERT_TRUE(square(surface, true, c.clip).save(folder.path + "/Objects/paint.lwo"));
        const std::string search = c.search.empty() ? "" : " --search " + folder.path + "/" + c.search;

        const ProgramRun render = folder.run("render Objects/paint.lwo --out frame.png" + search);
        ASSERT_EQ(render.exitCode, 0) << render.errors;
        ImageRGB frame;
        ASSERT_TRUE(loadImageRGB((folder.path + "/frame.png").c_str(), frame));
        EXPECT_EQ(hueOf(pixelAt(frame, 400, 300)), c.seen);
        if (c.warning)
            EXPECT_NE(render.errors.find(c.warning), std::string::npos) << render.errors;
        else
            EXPECT_EQ(render.errors.find("Warning"), std::string::npos) << render.errors;

        const ProgramRun info = folder.run("info Objects/paint.lwo" + search);
        EXPECT_NE(info.output.find(c.info), std::string::npos) << info.output;
        const ProgramRun json = folder.run("info Objects/paint.lwo --json" + search);
        const std::string said = c.info;
        EXPECT_EQ(jsonNumber(json.output, "textures_missing"), said == "missing" ? 1 : 0) << json.output;
        EXPECT_EQ(jsonNumber(json.output, "textures_undecodable"), said == "not a picture it can decode" ? 1 : 0)
            << json.output;
    }
}

// An object exported on its own carries the picture found beside it or in
// --search's folder, wherever hlvtool runs from; one only in the working
// folder is not its picture.
TEST(HlvtoolSurfaces, AnExportedObjectTakesItsPictureFromItsFolderOrTheSearchFolder)
{
    const struct {
        const char* name;
        std::string picture;  // where the picture is, under the test's folder
        std::string search;
        bool carried;
    } cases[] = {
        {"beside the object", "Objects/decal.png", "", true},
        {"in the search folder", "library/decal.png", "library", true},
        {"in the working folder only", "work/decal.png", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SurfaceFolder folder;
        std::vector<uint8_t> red;
        for (int i = 0; i < 8 * 8; ++i)
            red.insert(red.end(), {255, 0, 0});
        fs::create_directories(fs::path(folder.path + "/" + c.picture).parent_path());
        fs::create_directories(folder.path + "/Objects");
        fs::create_directories(folder.path + "/work");
        ASSERT_TRUE(writers::writePng(folder.path + "/" + c.picture, red.data(), 8, 8));
        writers::Lwo2Surface surface;
        surface.name = "Paint";
        surface.blocks.push_back(writers::uvMappedBlock("uv", 1));
        ASSERT_TRUE(square(surface, true, "decal.png").save(folder.path + "/Objects/paint.lwo"));
        const std::string search = c.search.empty() ? "" : " --search " + folder.path + "/" + c.search;
        const ProgramRun run = runInFolder(folder.path + "/work", kTool + " export " + folder.path +
                                                                    "/Objects/paint.lwo paint.gltf" + search);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        std::ifstream in(folder.path + "/work/paint.gltf");
        const std::string gltf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(gltf.find("\"images\"") != std::string::npos, c.carried) << gltf.substr(0, 600);
    }
}
