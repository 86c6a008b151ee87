// hlvtool tells files apart by their content, and renders LightWave scenes
// and objects as well as scene files.
#include <gtest/gtest.h>

#include <filesystem>
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

    const ProgramRun camera = folder.run("render red.lwo --out f.png --camera 1");
    EXPECT_EQ(camera.exitCode, 1);
    EXPECT_NE(camera.errors.find("an object is drawn through one camera"), std::string::npos) << camera.errors;
    const ProgramRun unknown = folder.run("render notes.txt --out f.png");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.errors.find("notes.txt: cannot tell the kind of the file"), std::string::npos) << unknown.errors;
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
