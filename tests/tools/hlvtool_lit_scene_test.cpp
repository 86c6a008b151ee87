// hlvtool render draws a LightWave scene as LightWave lights it: by its
// distant, point and spot lights and its ambient light, in the shape of the
// scene's frame, with its objects faded or hidden by their dissolve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "render/image_file.h"
#include "tests/tools/hlvtool_folder.h"
#include "tests/tools/hlvtool_test_scene.h"
#include "tools/writers/lwo2_writer.h"

namespace {

struct Rgb {
    int r, g, b;
};

Rgb pixelAt(const ImageRGB& image, uint32_t x, uint32_t y)
{
    const uint8_t* p = &image.pixels[3 * (size_t(y) * image.width + x)];
    return {p[0], p[1], p[2]};
}

constexpr float kAmbient = 0.1f;  // the scene's ambient intensity
constexpr float kZoom = 3.2f;     // the frame's half-height at distance d is d / zoom
constexpr float kWall = 10;       // the wall's distance from the camera

// A white wall of side 20, 10 in front of the camera, facing it; the
// camera at the origin looks along +z.
struct LitFolder : HlvtoolFolder {
    LitFolder() : HlvtoolFolder("hlvtool_lit_")
    {
        writers::Lwo2Surface white;
        white.name = "White";
        white.colour[0] = white.colour[1] = white.colour[2] = 1;
        writers::Lwo2Writer()
            .tags({"White"})
            .points({{-10, 10, 0}, {10, 10, 0}, {10, -10, 0}, {-10, -10, 0}})
            .polygons({{0, 1, 2, 3}})
            .surfaceTags({{0, 0}})
            .surface(white)
            .save(path + "/wall.lwo");
    }

    // Laid out as LightWave 9 writes a scene: the object, the ambient light
    // and the lights, then the camera with its frame settings.
    ImageRGB render(const std::string& objectLines, const std::string& lightLines, const std::string& frameLines,
                    const std::string& options = "")
    {
        std::ofstream(path + "/scene.lws")
            << "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n\n"
               "LoadObjectLayer 1 wall.lwo\nShowObject 6 2\nObjectMotion\n"
            << placedMotion(0, 0, kWall) << objectLines << "\nAmbientColor 1 1 1\nAmbientIntensity " << kAmbient << "\n"
            << lightLines << "\nAddCamera\nCameraName Camera\nShowCamera 2 7\nCameraMotion\n"
            << placedMotion(0, 0, 0, 6) << "ZoomFactor " << kZoom << "\nResolutionMultiplier 1.0\n" << frameLines
            << "\nBackdropColor 0 0 1\n";
        const ProgramRun run = this->run("render scene.lws --out frame.png" + options);
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        ImageRGB image;
        EXPECT_TRUE(loadImageRGB((path + "/frame.png").c_str(), image));
        return image;
    }
};

// A light on the camera's axis at `z` shining along +z, as LightWave 9
// writes it.
std::string light(int type, float coneAngle = 30, float intensity = 1, float z = 0)
{
    return "AddLight\nLightName Lamp\nShowLight 0 7\nLightMotion\n" + placedMotion(0, 0, z) +
           "LightColor 1 1 1\nLightIntensity " + std::to_string(intensity) + "\nLightType " + std::to_string(type) +
           "\nLightFalloffType 0\nConeAngle " + std::to_string(coneAngle) + "\nEdgeAngle 2\n";
}

// What a pixel `offset` pixels right of the middle of an 800x600 picture
// shows of the white wall lit by a light on the axis at `lightZ`, as
// Lambert's law and the ambient light give it.
int litWall(float intensity, float lightZ, float offset)
{
    const float x = offset / 300 * kWall / kZoom;
    const float distance = kWall - lightZ;
    const float facing = distance / std::sqrt(distance * distance + x * x);
    return int(std::lround(255 * std::min(1.0f, kAmbient + intensity * facing)));
}

} // namespace

// The 10 degree cone lights a disc of about 130 pixels' radius on the wall;
// outside it only the ambient light lights the wall.
TEST(HlvtoolLitScene, LightsLightTheirPartOfTheScene)
{
    LitFolder folder;
    const int ambientOnly = int(std::lround(255 * kAmbient));
    const struct {
        const char* name;
        std::string light;
        int centre, aside;  // at the middle and 200 pixels to its right
    } cases[] = {
        {"spot", light(2, 10), litWall(1, 0, 0), ambientOnly},
        {"spot, wider", light(2, 30), litWall(1, 0, 0), litWall(1, 0, 200)},
        {"distant", light(0), litWall(1, 0, 0), litWall(1, 0, 0)},
        // Near the wall: its parts aside are turned away from the light.
        {"point", light(1, 30, 0.5f, 8), litWall(0.5f, 8, 0), litWall(0.5f, 8, 200)},
        // LightWave never saves a scene without a light: one written
        // otherwise shows its surfaces' own colours, unshaded.
        {"no light", "", 255, 255},
    };
    for (const auto& c : cases) {
        const ImageRGB frame = folder.render("", c.light, "FrameSize 640 480\nPixelAspect 1\n");
        ASSERT_EQ(frame.height, 600u) << c.name;
        const Rgb centre = pixelAt(frame, 400, 300), aside = pixelAt(frame, 600, 300);
        EXPECT_NEAR(centre.r, c.centre, 6) << c.name;
        EXPECT_NEAR(aside.r, c.aside, 6) << c.name;
        EXPECT_EQ(centre.r, centre.b) << c.name << ": white light on a white wall";
    }
}

TEST(HlvtoolLitScene, ThePictureHasTheScenesFrameShape)
{
    LitFolder folder;
    const struct {
        const char* frame;
        uint32_t height;  // of a picture 800 wide
    } cases[] = {
        {"FrameSize 1280 720\nPixelAspect 1\n", 450},
        {"FrameSize 720 480\nPixelAspect 0.9\n", 592},  // D1 NTSC: 720 pixels 0.9 wide show 1.35 times the height
        {"CustomSize 640 240\n", 300},
        {"", 600},  // LightWave's default 640 by 480
    };
    for (const auto& c : cases) {
        const ImageRGB frame = folder.render("", light(0), c.frame);
        EXPECT_EQ(frame.width, 800u) << c.frame;
        EXPECT_EQ(frame.height, c.height) << c.frame;
    }
    // A size given keeps the picture's size; the frame fits inside it with
    // black bars above and below.
    const ImageRGB given = folder.render("", light(0), "FrameSize 1280 720\n", " --size 800x600");
    ASSERT_EQ(given.height, 600u);
    const Rgb bar = pixelAt(given, 400, 20), inside = pixelAt(given, 400, 300);
    EXPECT_EQ(bar.r + bar.g + bar.b, 0);
    EXPECT_GT(inside.r, 200);
}

// The wall lit white over a blue backdrop: dissolved, the backdrop shows
// through as much as the dissolve says.
TEST(HlvtoolLitScene, DissolveFadesAndHidesObjects)
{
    LitFolder folder;
    const std::string envelope =
        "ObjectDissolve (envelope)\n{ Envelope\n  2\n  Key 0 0 3 0 0 0 0 0 0\n  Key 1 1 3 0 0 0 0 0 0\n"
        "  Behaviors 1 1\n}\n";
    const struct {
        std::string lines;
        const char* time;
        int red;  // the wall's white over the backdrop's blue
    } cases[] = {
        {"ObjectDissolve 0\n", "0", 255},    {"ObjectDissolve 1\n", "0", 0},
        {"ObjectDissolve 0.5\n", "0", 128},  {"ObjectDissolve 0.25\n", "0", 191},
        {envelope, "0", 255},                {envelope, "0.5", 128},
        {envelope, "1", 0},
    };
    for (const auto& c : cases) {
        const ImageRGB frame = folder.render(c.lines, light(0), "FrameSize 640 480\n", std::string(" --time ") + c.time);
        const Rgb centre = pixelAt(frame, 400, 300);
        EXPECT_NEAR(centre.r, c.red, 4) << c.lines << " at " << c.time << " s";
        EXPECT_EQ(centre.b, 255) << c.lines << " at " << c.time << " s";
    }
}

// OpenGL lights eight at once: the ninth light is left out and named.
TEST(HlvtoolLitScene, LightsBeyondTheEighthAreNamed)
{
    LitFolder folder;
    std::string lights;
    for (int i = 1; i <= 9; ++i)
        lights += light(0, 30, 0.05f) + "LightName Lamp " + std::to_string(i) + "\n";
    folder.render("", lights, "FrameSize 640 480\n");
    const ProgramRun run = folder.run("render scene.lws --out frame.png --verbose");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("only 8 lights are drawn; left out: 'Lamp 9'"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("'Lamp 8'"), std::string::npos) << run.errors;
}

// A spot's light is whole inside its cone less the soft edge and fades to
// nothing over the edge, as LightWave's does: a 10 degree cone with a 5
// degree edge lights half as much at 7.5 degrees from its axis.
TEST(HlvtoolLitScene, ASpotFadesOverItsSoftEdge)
{
    LitFolder folder;
    std::string spot = light(2, 10);
    spot.replace(spot.find("EdgeAngle 2"), 11, "EdgeAngle 5");
    const ImageRGB frame = folder.render("", spot, "FrameSize 640 480\n");
    const struct {
        float degrees;  // from the spot's axis, seen from the camera beside it
        float share;    // of the light's full strength
    } cases[] = {{0, 1}, {4, 1}, {6.25f, 0.75f}, {7.5f, 0.5f}, {8.75f, 0.25f}, {11, 0}};
    for (const auto& c : cases) {
        const float angle = c.degrees * float(M_PI) / 180;
        const float offset = std::tan(angle) * kZoom * 300;  // pixels right of the middle
        const int expected = int(std::lround(255 * std::min(1.0f, kAmbient + c.share * std::cos(angle))));
        EXPECT_NEAR(pixelAt(frame, 400 + uint32_t(std::lround(offset)), 300).r, expected, 6) << c.degrees;
    }
}
