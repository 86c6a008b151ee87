// What a LightWave scene says of how it is rendered, as LightWave 5 and
// LightWave 9 lay it out: the frame's shape, the ambient light, each
// object's dissolve and SubPatch level.
#include <gtest/gtest.h>

#include <string>

#include "tests/import/lws_parse.h"

namespace {

// LightWave 5 (version 1): an object with its motion block, the ambient
// light in 0 to 255, the camera's settings after its motion.
std::string version1(const std::string& objectLines, const std::string& cameraLines)
{
    return "LWSC\n1\n\nFirstFrame 1\nLastFrame 60\nFrameStep 1\n\nLoadObject Objects\\ball.lwo\n"
           "ObjectMotion (unnamed)\n  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n" +
           objectLines +
           "\nAmbientColor 255 128 0\nAmbIntensity 0.250000\n\nShowCamera 1 7\nCameraMotion (unnamed)\n  9\n  1\n"
           "  0 0 -5 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\nZoomFactor 3.200000\n" +
           cameraLines;
}

// LightWave 9 (version 3).
std::string version3(const std::string& objectLines, const std::string& cameraLines)
{
    std::string channels = "NumChannels 9\n";
    for (int c = 0; c < 9; ++c)
        channels += "Channel " + std::to_string(c) + "\n{ Envelope\n  1\n  Key " + (c >= 6 ? "1" : "0") +
                    " 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    return "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n\nLoadObjectLayer 1 Objects/ball.lwo\n"
           "ShowObject 6 2\nObjectMotion\n" +
           channels + objectLines + "\nAmbientColor 1 0.5 0\nAmbientIntensity 0.25\n\nAddCamera\nCameraName Camera\n"
                                    "ShowCamera 2 7\nZoomFactor 3.2\nResolutionMultiplier 1.0\n" +
           cameraLines;
}

} // namespace

TEST(LwsRenderSettings, FrameShapeAmbientDissolveAndSubPatchLevel)
{
    const struct {
        const char* name;
        std::string text;
        float aspect;
        float dissolveAtHalfASecond;
        uint32_t subdivisionLevel;
    } cases[] = {
        {"5: square pixels", version1("", "Resolution 1\nPixelAspectRatio 2\n"), 4.0f / 3, 0, 3},
        {"5: D1 NTSC pixels", version1("", "Resolution 1\nPixelAspectRatio 1\n"), 4.0f / 3 * 0.9f, 0, 3},
        {"5: custom pixels", version1("ObjectDissolve 0.400000\n", "PixelAspectRatio -1\nCustomPixelRatio 1.5\n"),
         2.0f, 0.4f, 3},
        {"9: HDTV", version3("SubPatchLevel 3 1\n", "FrameSize 1920 1080\nPixelAspect 1\n"), 16.0f / 9, 0, 1},
        {"9: dissolving",
         version3("ObjectDissolve (envelope)\n{ Envelope\n  2\n  Key 0 0 3 0 0 0 0 0 0\n  Key 1 1 3 0 0 0 0 0 0\n"
                  "  Behaviors 1 1\n}\nSubPatchLevel 2\n",
                  "FrameSize 720 576\nPixelAspect 1.0667\n"),
         720 * 1.0667f / 576, 0.5f, 2},
    };
    for (const auto& c : cases) {
        Parse parsed(c.text);
        ASSERT_EQ(parsed.thrown, "") << c.name << parsed.log.text;
        EXPECT_NEAR(parsed.scene.frameAspect(), c.aspect, 1e-4f) << c.name;
        // Version 1 writes colours in 0 to 255, later versions in 0 to 1.
        EXPECT_FLOAT_EQ(parsed.scene.ambientColour[1], c.name[0] == '5' ? 128.0f / 255 : 0.5f) << c.name;
        EXPECT_FLOAT_EQ(parsed.scene.ambientIntensity, 0.25f) << c.name;
        ASSERT_FALSE(parsed.scene.items.empty()) << c.name;
        const auto* ball = dynamic_cast<const LW::LwsScene::Mesh*>(parsed.scene.items[0].get());
        ASSERT_NE(ball, nullptr) << c.name;
        EXPECT_NEAR(ball->dissolve.evaluate(0.5f), c.dissolveAtHalfASecond, 1e-4f) << c.name;
        EXPECT_EQ(ball->subdivisionLevel, c.subdivisionLevel) << c.name;
    }
}
