// hlvtool tells files apart by their content, and renders LightWave scenes
// and objects as well as scene files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "render/image_file.h"
#include "tests/import/lw_test_objects.h"
#include "tests/support/run_program.h"
#include "tests/tools/json_number.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tools/writers/lwo2_writer.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

struct ContentFolder {
    ContentFolder()
    {
        path = (fs::current_path() / ("hlvtool_content_" +
                                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
                   .string();
        fs::remove_all(path);
        writeTestLightWaveScene(path);
    }
    ~ContentFolder() { fs::remove_all(path); }
    ProgramRun run(const std::string& arguments) const { return runInFolder(path, kTool + " " + arguments); }
    void copy(const std::string& from, const std::string& to) const
    {
        fs::copy_file(path + "/" + from, path + "/" + to);
    }
    std::string path;
};

// The share of the picture's pixels that are mostly red, and mostly green.
struct Colours {
    double red = 0, green = 0;
};

Colours coloursOf(const std::string& picture)
{
    ImageRGB image;
    EXPECT_TRUE(loadImageRGB(picture.c_str(), image)) << picture;
    Colours colours;
    const size_t count = size_t(image.width) * image.height;
    for (size_t i = 0; i < count; ++i) {
        const int r = image.pixels[3 * i], g = image.pixels[3 * i + 1], b = image.pixels[3 * i + 2];
        colours.red += r > 60 && r > 2 * g && r > 2 * b ? 1.0 / double(count) : 0;
        colours.green += g > 60 && g > 2 * r && g > 2 * b ? 1.0 / double(count) : 0;
    }
    return colours;
}

} // namespace

TEST(HlvtoolContent, ObjectsAndScenesWithoutTheirExtensionAreRecognised)
{
    ContentFolder folder;
    folder.copy("red.lwo", "RED.LWO");
    folder.copy("red.lwo", "red");
    folder.copy("scene.lws", "scene");
    writers::Lwo2Writer lwo3(writers::ObjectFormat::Lwo3);
    lwo3.tags({"Star"}).layer(0).points(lwtest::starPoints()).polygons({{0, 1, 2, 3, 4}}).surfaceTags({{0, 0}});
    ASSERT_TRUE(lwo3.save(folder.path + "/star"));
    ASSERT_TRUE(writers::Lwo2Writer().chunk("DATA", {1, 2}).save(folder.path + "/picture.lwo", "ILBM"));

    for (const char* object : {"RED.LWO", "red"}) {
        const ProgramRun run = folder.run(std::string("info ") + object + " --json");
        ASSERT_EQ(run.exitCode, 0) << object << "\n" << run.errors;
        EXPECT_EQ(jsonText(run.output, "kind"), "object") << object;
        EXPECT_EQ(jsonNumber(run.output, "triangles"), 4) << object;
    }
    const ProgramRun star = folder.run("info star --json");
    ASSERT_EQ(star.exitCode, 0) << star.errors;
    EXPECT_EQ(jsonNumber(star.output, "triangles"), 5);  // the five tips
    const ProgramRun scene = folder.run("info scene --json");
    ASSERT_EQ(scene.exitCode, 0) << scene.errors;
    EXPECT_EQ(jsonText(scene.output, "kind"), "scene");
    EXPECT_EQ(jsonNumber(scene.output, "primitives"), 2);

    ASSERT_EQ(folder.run("convert scene.lws stored").exitCode, 0);
    const ProgramRun stored = folder.run("info stored --json");
    ASSERT_EQ(stored.exitCode, 0) << stored.errors;
    EXPECT_EQ(jsonNumber(stored.output, "primitives"), 2);

    // Another IFF form named like an object is read as one and refused.
    const ProgramRun picture = folder.run("info picture.lwo");
    EXPECT_EQ(picture.exitCode, 1);
    EXPECT_NE(picture.errors.find("Unsupported object format (ILBM)"), std::string::npos) << picture.errors;
}

TEST(HlvtoolContent, RendersLightWaveScenesAndObjects)
{
    ContentFolder folder;
    // The scene's camera sees the red quad at 0 s and the green one at 1 s.
    for (const char* time : {"0", "1"}) {
        const ProgramRun run = folder.run(std::string("render scene.lws --out scene.png --time ") + time);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        const Colours colours = coloursOf(folder.path + "/scene.png");
        EXPECT_GT(time[0] == '0' ? colours.red : colours.green, 0.01) << time;
        EXPECT_EQ(time[0] == '0' ? colours.green : colours.red, 0.0) << time;
    }

    // The object alone fills much of the picture facing the camera, and is
    // seen edge on after a quarter turn (2.5 s).
    const ProgramRun facing = folder.run("render red.lwo --out object.png");
    ASSERT_EQ(facing.exitCode, 0) << facing.errors;
    const Colours front = coloursOf(folder.path + "/object.png");
    EXPECT_GT(front.red, 0.2);
    EXPECT_LT(front.red, 0.9) << "the quad stays inside the picture";
    // A larger, anti-aliased picture frames the object the same.
    ASSERT_EQ(folder.run("render red.lwo --out large.png --size 1600x1200 --samples 4").exitCode, 0);
    ImageRGB large;
    ASSERT_TRUE(loadImageRGB((folder.path + "/large.png").c_str(), large));
    EXPECT_EQ(large.width, 1600u);
    EXPECT_NEAR(coloursOf(folder.path + "/large.png").red, front.red, 0.02);
    ASSERT_EQ(folder.run("render red.lwo --out turned.png --time 2.5").exitCode, 0);
    EXPECT_LT(coloursOf(folder.path + "/turned.png").red, 0.05);

}

TEST(HlvtoolContent, OptionsAsUsersWriteThem)
{
    ContentFolder folder;
    // --opt=value, and the picture's format from its name.
    ASSERT_EQ(folder.run("render red.lwo --out=quad.jpg").exitCode, 0);
    EXPECT_EQ(readWholeFile(folder.path + "/quad.jpg").compare(0, 3, "\xFF\xD8\xFF"), 0);
    EXPECT_GT(coloursOf(folder.path + "/quad.jpg").red, 0.2);
    ASSERT_EQ(folder.run("render red.lwo --out quad.PNG").exitCode, 0);
    EXPECT_EQ(readWholeFile(folder.path + "/quad.PNG").compare(0, 4, "\x89PNG"), 0);

    // The scene runs at 30 frames a second: frame 15 is 0.5 s, where the
    // camera has moved half way.
    ASSERT_EQ(folder.run("render scene.lws --frame=15 --out frame15.png").exitCode, 0);
    ASSERT_EQ(folder.run("render scene.lws --time 0.5 --out half.png").exitCode, 0);
    ASSERT_EQ(folder.run("render scene.lws --frame 0 --out frame0.png").exitCode, 0);
    const std::string frame15 = readWholeFile(folder.path + "/frame15.png");
    EXPECT_FALSE(frame15.empty());
    EXPECT_TRUE(frame15 == readWholeFile(folder.path + "/half.png"));
    EXPECT_FALSE(frame15 == readWholeFile(folder.path + "/frame0.png"));
}

TEST(HlvtoolContent, EverySearchFolderIsTriedInTheOrderGiven)
{
    ContentFolder folder;
    fs::create_directories(folder.path + "/first");
    fs::create_directories(folder.path + "/second");
    fs::rename(folder.path + "/red.lwo", folder.path + "/first/red.lwo");
    fs::copy_file(folder.path + "/green.lwo", folder.path + "/first/green.lwo");
    fs::rename(folder.path + "/green.lwo", folder.path + "/second/green.lwo");
    const ProgramRun run = folder.run("info scene.lws --json --search first --search second --search nowhere");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("warning: --search nowhere: no such folder"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("not found"), std::string::npos) << run.errors;
    EXPECT_NE(run.output.find("first/red.lwo"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("first/green.lwo"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("second/green.lwo"), std::string::npos) << run.output;
}

TEST(HlvtoolContent, NamesSavedInAWindowsCodePageShowAsUtf8)
{
    ContentFolder folder;
    // "Café" as LightWave on Windows saves it: one byte 0xE9.
    writers::Lwo2Writer object;
    object.tags({"Caf\xE9"}).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 2}}).surfaceTags({{0, 0}});
    ASSERT_TRUE(object.save(folder.path + "/cafe.lwo"));
    const ProgramRun run = folder.run("info cafe.lwo");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.output.find("'Caf\xC3\xA9'"), std::string::npos) << run.output;
}

// A scene that sets no clipping distances, as most LightWave scenes: a
// model 0.23 units wide seen from 0.63 units away shows, and a camera that
// sees nothing says so.
TEST(HlvtoolContent, ClippingDistancesFollowASceneThatSetsNone)
{
    ContentFolder folder;
    writers::Lwo2Surface red;
    red.name = "Robot";
    red.colour[0] = 1;
    red.colour[1] = red.colour[2] = 0;
    red.sides = 3;
    ASSERT_TRUE(writers::Lwo2Writer()
                    .tags({"Robot"})
                    .points({{-0.115f, -0.115f, 0}, {-0.115f, 0.115f, 0}, {0.115f, 0.115f, 0}, {0.115f, -0.115f, 0}})
                    .polygons({{0, 1, 2, 3}})
                    .surfaceTags({{0, 0}})
                    .surface(red)
                    .save(folder.path + "/robot.lwo"));
    auto scene = [](float objectZ) {
        return "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n\n"
               "LoadObjectLayer 1 robot.lwo\nObjectMotion\n" + placedMotion(0, 0, objectZ) +
               "\nAddLight\nLightMotion\n" + placedMotion(0, 0, -1) +
               "\nAddCamera\nCameraMotion\n" + placedMotion(0, 0, 0, 6) + "ZoomFactor 3.2\n"
               "\nBackdropColor 0 0 1\n";
    };
    std::ofstream(folder.path + "/near.lws") << scene(0.63f);
    std::ofstream(folder.path + "/behind.lws") << scene(-0.63f);

    const ProgramRun near = folder.run("render near.lws --out near.png");
    ASSERT_EQ(near.exitCode, 0) << near.errors;
    EXPECT_EQ(near.errors, "");
    // About (0.23 / 0.63 * 3.2 / 2)^2 * 3/4 of the 4:3 picture.
    EXPECT_GT(coloursOf(folder.path + "/near.png").red, 0.2);

    const ProgramRun behind = folder.run("render behind.lws --out behind.png");
    ASSERT_EQ(behind.exitCode, 0) << behind.errors;
    EXPECT_NE(behind.errors.find("hlvtool: warning: behind.lws: every item lies outside camera 0's view at 0 s"),
              std::string::npos)
        << behind.errors;
    EXPECT_EQ(coloursOf(folder.path + "/behind.png").red, 0.0);
}

// A display that stands but an OpenGL that cannot make the frame asked: the
// message says so, not that the display may be missing.
TEST(HlvtoolContent, AFrameThatCannotBeMadeIsNamed)
{
    ContentFolder folder;
    const ProgramRun run = runInFolder(folder.path, "MESA_GL_VERSION_OVERRIDE=2.1 MESA_EXTENSION_MAX_YEAR=2004 " + kTool +
                                                        " render red.lwo --out large.png --size 1600x1200");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("red.lwo: this OpenGL cannot make a 1600x1200 frame (it has no framebuffer objects)"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("is there a display"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(folder.path + "/large.png"));
}
