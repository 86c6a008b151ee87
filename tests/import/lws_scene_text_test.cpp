// Scene files as LightWave writes them beyond the keywords' plain numbers:
// line endings of every platform, a byte-order mark, envelopes on scalar
// keywords, 2D Bezier handles, BackdropFog and targeted items.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "import/lws_parser.h"
#include "math/camera.h"
#include "scene/scene.h"
#include "scene/transform_node.h"
#include "tests/import/lws_parse.h"

namespace {

std::string envelope(const std::string& keys, int count)
{
    return "{ Envelope\n  " + std::to_string(count) + "\n" + keys + "  Behaviors 1 1\n}\n";
}

// Position channels from `x`, `y`, `z` (envelopes), rotation and scale held.
std::string motion(int channels, const std::string& x, const std::string& y, const std::string& z)
{
    std::string text = "NumChannels " + std::to_string(channels) + "\n";
    const std::string held = envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1);
    const std::string one = envelope("  Key 1 0 0 0 0 0 0 0 0\n", 1);
    for (int c = 0; c < channels; ++c)
        text += "Channel " + std::to_string(c) + "\n" + (c == 0 ? x : c == 1 ? y : c == 2 ? z : c >= 6 ? one : held);
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Fog and camera settings, two of them enveloped as LightWave 6 and later
// write them: the keyword, "(envelope)", and the envelope's block.
const std::string kSettings =
    "LWSC\n3\n\nFirstFrame 15\nLastFrame 60\nFramesPerSecond 30\n\n"
    "AddCamera\nCameraName Camera\nZoomFactor 3.2\nNearClipDistance (envelope)\n" +
    envelope("  Key 0.25 0 3 0 0 0 0 0 0\n  Key 2.25 1 3 0 0 0 0 0 0\n", 2) +
    "\nFogType 1\nFogMinDistance (envelope)\n" +
    envelope("  Key 10 0 3 0 0 0 0 0 0\n  Key 30 1 3 0 0 0 0 0 0\n", 2) +
    "FogMaxDistance 80\nFogColor 1 0 0\nBackdropColor 0.2 0.4 0.6\nBackdropFog 1\n";

} // namespace

TEST(LwsSceneText, EveryLineEndingAndAByteOrderMarkReadTheSame)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::pair<const char*, std::string> variants[] = {
        {"LF", kSettings},
        {"CRLF", replaced(kSettings, "\n", "\r\n")},
        {"CR", replaced(kSettings, "\n", "\r")},
        {"BOM and LF", bom + kSettings},
        {"BOM and CRLF", bom + replaced(kSettings, "\n", "\r\n")},
    };
    for (const auto& [name, text] : variants) {
        Parse parse(text);
        ASSERT_EQ(parse.thrown, "") << name << "\n" << parse.log.text;
        ASSERT_EQ(parse.scene.items.size(), 1u) << name;
        const auto& camera = dynamic_cast<const LW::LwsScene::Camera&>(*parse.scene.items[0]);
        EXPECT_EQ(camera.name, "Camera") << name;
        EXPECT_FLOAT_EQ(camera.zoomFactor, 3.2f) << name;
        EXPECT_FLOAT_EQ(parse.scene.fogMaxDistance, 80) << name;
    }
    // The line count is the same whatever ends the lines: a bad number on
    // line 10 is named there.
    const std::string bad = replaced(kSettings, "ZoomFactor 3.2", "ZoomFactor 3.2x");
    for (const std::string& text : {bad, replaced(bad, "\n", "\r"), replaced(bad, "\n", "\r\n")}) {
        Parse parse(text);
        EXPECT_EQ(parse.thrown, "false");
        EXPECT_TRUE(parse.log.contains("Illegal ASCII-char in number field!! (line 10)")) << parse.log.text;
    }
}

TEST(LwsSceneText, EnvelopedKeywordsTakeTheirValueAtTheFirstFrame)
{
    // Frame 15 at 30 frames a second is 0.5 s: half way along both linear spans.
    Parse parse(kSettings);
    ASSERT_EQ(parse.thrown, "") << parse.log.text;
    EXPECT_FLOAT_EQ(dynamic_cast<const LW::LwsScene::Camera&>(*parse.scene.items[0]).nearClip, 1.25f);
    EXPECT_FLOAT_EQ(parse.scene.fogMinDistance, 20);
    EXPECT_TRUE(parse.log.contains("NearClipDistance has an envelope")) << parse.log.text;
    EXPECT_TRUE(parse.log.contains("FogMinDistance has an envelope")) << parse.log.text;

    // Versions 1 and 2 write an envelope as a one-channel motion: frame 15 of
    // a linear span from 2 at frame 0 to 4 at frame 30.
    Parse old("LWSC\n1\n\nFirstFrame 15\nLastFrame 60\nFramesPerSecond 30\n"
              "ZoomFactor (envelope)\n  1\n  2\n  2\n  0 1 0 0 0\n  4\n  30 1 0 0 0\nEndBehavior 1\n");
    ASSERT_EQ(old.thrown, "") << old.log.text;
    EXPECT_FLOAT_EQ(dynamic_cast<const LW::LwsScene::Camera&>(*old.scene.items[0]).zoomFactor, 3.0f);
}

TEST(LwsSceneText, BackdropFogGivesTheFogTheBackdropColour)
{
    LW::LwsScene record;
    std::unique_ptr<Scene> scene = importLwsText(kSettings, ".", record);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(scene->fog_colour[i], record.backdrop[i]);
        EXPECT_FLOAT_EQ(scene->backdrop[i], (i + 1) * 0.2f);
    }
}

TEST(LwsSceneText, TwoDimensionalBezierKeysKeepBothHandles)
{
    // Key 0 leaves with the handle (0.3, +6), key 1 arrives with (-0.3, 0):
    // at 0.5 s the curve is at (0 + 3 * 6 + 3 * 10 + 10) / 8.
    const std::string x = envelope("  Key 0 0 5 -0.3 0 0.3 6 0 0\n  Key 10 1 5 -0.3 0 0.3 0 0 0\n", 2);
    const std::string held = envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1);
    LW::LwsScene record;
    std::unique_ptr<Scene> scene = importLwsText("LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\nAddNullObject Mover\nObjectMotion\n" +
                      motion(9, x, held, held),
                  ".", record);
    Vector3f position;
    record.itemNodes[0]->position().evaluate(position, 0.5f);
    EXPECT_NEAR(position.x, 58.0f / 8.0f, 1e-3);
}

TEST(LwsSceneText, TargetedCameraFollowsItsMovingTarget)
{
    // The target null runs from (0, 0, 10) to (10, 0, 10) in the first
    // second, then rises to (10, 8, 0); the camera sits at (0, 2, 0) and is
    // targeted at it, at 30 frames a second.
    const std::string x = envelope("  Key 0 0 3 0 0 0 0 0 0\n  Key 10 1 3 0 0 0 0 0 0\n", 2);
    const std::string y = envelope("  Key 0 1 3 0 0 0 0 0 0\n  Key 8 2 3 0 0 0 0 0 0\n", 2);
    const std::string z = envelope("  Key 10 1 3 0 0 0 0 0 0\n  Key 0 2 3 0 0 0 0 0 0\n", 2);
    const std::string cameraY = envelope("  Key 2 0 0 0 0 0 0 0 0\n", 1);
    const std::string zero = envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1);
    const std::string text = "LWSC\n3\n\nFirstFrame 0\nLastFrame 60\nFramesPerSecond 30\n"
                             "AddNullObject Target\nObjectMotion\n" + motion(9, x, y, z) +
                             "AddCamera\nCameraMotion\n" + motion(6, zero, cameraY, zero) + "TargetItem 10000000\n";
    LW::LwsScene record;
    std::unique_ptr<Scene> scene = importLwsText(text, ".", record);
    ASSERT_EQ(scene->cameras().size(), 1u);
    const struct {
        float seconds;
        Vector3f target;
    } times[] = {{0, {0, 0, 10}}, {1, {10, 0, 10}}, {2, {10, 8, 0}}};
    for (const auto& at : times) {
        scene->evaluate(at.seconds);
        const Camera& camera = *scene->cameras()[0];
        Vector3f towards = at.target - Vector3f(0, 2, 0);
        towards = towards * (1.0f / std::sqrt(dot(towards, towards)));
        EXPECT_NEAR(camera.eye().y, 2, 1e-4) << at.seconds;
        EXPECT_NEAR(camera.forward().x, towards.x, 1e-3) << at.seconds;
        EXPECT_NEAR(camera.forward().y, towards.y, 1e-3) << at.seconds;
        EXPECT_NEAR(camera.forward().z, towards.z, 1e-3) << at.seconds;
    }
}

TEST(LwsSceneText, ItemsNamedByNumberThatDoNotExistAreNamedWithTheirLine)
{
    for (const char* keyword : {"TargetItem", "ParentItem"}) {
        Parse parse(std::string("LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nAddCamera\n") + keyword + " 10000005\n");
        ASSERT_EQ(parse.thrown, "") << parse.log.text;
        EXPECT_THROW(convertWithoutUpload(parse.scene), bool);
        EXPECT_TRUE(parse.log.contains(std::string(keyword) + " 10000005 names no item. (line 7)")) << parse.log.text;
    }
}
