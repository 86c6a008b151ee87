#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "import/lws_line_reader.h"
#include "import/lws_parser.h"
#include "tests/geometry/capturing_logger.h"
#include "tests/import/lws_parse.h"

namespace {

const char* const kHeader = "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n";

std::string envelope(const std::string& keys, int count)
{
    return "{ Envelope\n  " + std::to_string(count) + "\n" + keys + "  Behaviors 1 1\n}\n";
}

std::string constantChannels(int count)
{
    std::string text = "NumChannels " + std::to_string(count) + "\n";
    for (int c = 0; c < count; ++c)
        text += "Channel " + std::to_string(c) + "\n" + envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1);
    return text;
}

} // namespace

TEST(LwsParser, HeaderErrorsNameWhatWasFound)
{
    for (const char* unsupported : {"0", "6", "3.0", "03", "x"}) {
        Parse version(std::string("LWSC\n") + unsupported + "\nFirstFrame 1\n");
        EXPECT_EQ(version.thrown, "true") << unsupported;
        EXPECT_TRUE(version.log.contains("Unsupported file version.")) << unsupported << version.log.text;
    }

    Parse order("LWSC\n3\nLastFrame 60\nFirstFrame 1\n");
    EXPECT_EQ(order.thrown, "true");
    EXPECT_TRUE(order.log.contains("Incoherency, expecting 'FirstFrame', found 'LastFrame'")) << order.log.text;

    Parse format("LWOB\n3\n");
    EXPECT_TRUE(format.log.contains("Unknown file format.")) << format.log.text;

    Parse empty("");
    EXPECT_EQ(empty.thrown, "true");
    EXPECT_TRUE(empty.log.contains("Unexpected end of file.")) << empty.log.text;
}

TEST(LwsParser, NumbersAndHexNumbers)
{
    EXPECT_FLOAT_EQ(LW::readNumber("1,5"), 1.5f);
    EXPECT_FLOAT_EQ(LW::readNumber("2e3"), 2000.0f);
    EXPECT_FLOAT_EQ(LW::readNumber("-2.5e-2"), -0.025f);
    EXPECT_EQ(LW::readInteger("7.9"), 7);
    EXPECT_EQ(LW::readHex("1000000a"), 0x1000000Au);

    CapturingLogger log;
    EXPECT_THROW(LW::readNumber("1.2.3"), bool);
    EXPECT_TRUE(log.contains("Error !! Too many decimalsigns!!")) << log.text;
    for (const char* bad : {"1x", "", "-", "1e", "e5", "1e5x"})
        EXPECT_THROW(LW::readNumber(bad), bool) << bad;
    EXPECT_TRUE(log.contains("Illegal ASCII-char in number field!!"));
    EXPECT_THROW(LW::readHex("10G"), bool);
    EXPECT_THROW(LW::readHex("123456789"), bool);
    EXPECT_TRUE(log.contains("Wrong hex number!"));
    // A huge exponent gives infinity, not a long loop or a crash.
    EXPECT_TRUE(std::isinf(LW::readNumber("1e99999999")));
    EXPECT_EQ(LW::readInteger("1e99999999"), 2147483647);
}

TEST(LwsParser, ItemsMotionHierarchyBackdropAndFog)
{
    const std::string text = std::string(kHeader) +
        "LoadObjectLayer 1 objects/my ship.lwo\n"
        "ObjectMotion\n" + constantChannels(9) +
        "PivotPoint 1 2,5 -3\n"
        "AddCamera\n"
        "CameraMotion\nNumChannels 6\n"
        "Channel 0\n" + envelope("  Key 1 0 0 0.5 -0.5 0.25 0 0 0\n  Key 5 2 3 0 0 0 0 0 0\n", 2) +
        "Channel 1\n" + envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1) +
        "Channel 2\n" + envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1) +
        "Channel 3\n" + envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1) +
        "Channel 4\n" + envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1) +
        "Channel 5\n" + envelope("  Key 0 0 0 0 0 0 0 0 0\n", 1) +
        "ParentItem 10000000\n"
        "ZoomFactor 3.2\nNearClipDistance 0,5\nHL_FarClipDistance 800\n"
        "AddLight\nLightMotion\n" + constantChannels(9) +
        "SomethingElse 1 2 3\n"
        "BackdropColor 0.1 0.2 0.3\nFogType 1\nFogMinDistance 10\nFogMaxDistance 90\n"
        "FogMinAmount 0.5\nFogColor 0.5 0.6 0.7\nBackdropFog 1\n";
    Parse parse(text);
    ASSERT_EQ(parse.thrown, "") << parse.log.text;
    const LW::LwsScene& scene = parse.scene;
    EXPECT_EQ(scene.firstFrame, 1);
    EXPECT_EQ(scene.lastFrame, 60);
    ASSERT_EQ(scene.items.size(), 3u);

    const auto& mesh = dynamic_cast<const LW::LwsScene::Mesh&>(*scene.items[0]);
    EXPECT_EQ(mesh.path, "objects/my ship.lwo");
    EXPECT_TRUE(mesh.hasPivot);
    EXPECT_FLOAT_EQ(mesh.pivot.y, 2.5f);
    EXPECT_EQ(mesh.channels.size(), 9u);

    const auto& camera = dynamic_cast<const LW::LwsScene::Camera&>(*scene.items[1]);
    EXPECT_FLOAT_EQ(camera.zoomFactor, 3.2f);
    EXPECT_FLOAT_EQ(camera.nearClip, 0.5f);
    EXPECT_FLOAT_EQ(camera.farClip, 800.0f);
    EXPECT_TRUE(camera.hasParent);
    EXPECT_EQ(camera.parentItem, 0x10000000u);
    ASSERT_EQ(camera.channels.size(), 6u);
    const Envelope& x = camera.channels[0];
    ASSERT_EQ(x.keyCount, 2);
    EXPECT_EQ(x.lastKey()->shape, int(Envelope::Linear));  // the span that ends at the key
    EXPECT_FLOAT_EQ(x.lastKey()->value, 5.0f);
    EXPECT_FLOAT_EQ(x.lastKey()->time, 2.0f);
    EXPECT_FLOAT_EQ(x.firstKey->continuity, -0.5f);
    EXPECT_FLOAT_EQ(x.evaluate(1.0f), 3.0f);  // halfway along the linear span

    EXPECT_TRUE(scene.fogEnabled);
    EXPECT_FLOAT_EQ(scene.fogMaxDistance, 90.0f);
    EXPECT_FLOAT_EQ(scene.backdrop[2], 0.3f);  // BackdropFog colours the fog, not the backdrop
    EXPECT_TRUE(scene.fogTakesBackdrop);
    EXPECT_TRUE(parse.log.contains("Camera found.") && parse.log.contains("Light found."));
}

TEST(LwsParser, BadMotionAndItemLinesAreErrorsNotCrashes)
{
    struct Case {
        std::string body;
        const char* message;
    };
    const std::string oneKey = "  Key 0 0 0 0 0 0 0 0 0\n";
    const Case cases[] = {
        {"AddCamera\nZoomFactor (envelope)\n", "Unexpected end of file. (line 8)"},
        {"AddCamera\nCameraMotion\nNumChannels 9\n", "Expected 6 channels, found 9 channels."},
        {"AddCamera\nCameraMotion\nChannels 6\n", "Incoherency, expecting 'NumChannels', found 'Channels'"},
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 1\n", "Expected channel 0, found channel 1."},
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Curve\n", "Unsupported channel format"},
        // Three keys announced, two given: the behaviours line is not a key.
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Envelope\n3\n" + oneKey + oneKey + "Behaviors 1 1\n}\n",
         "Unsupported keyframe format (Behaviors 1 1)"},
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Envelope\n1\n" + oneKey + "}\n",
         "Expected 'Behaviors', found '}'."},
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Envelope\n1\n" + oneKey + "Behaviors 1 1\nChannel 1\n",
         "Expected '}', found 'Channel'."},
        // The file ends inside a block.
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Envelope\n1\n", "Unexpected end of file."},
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Envelope\n1000000000\n" + oneKey,
         "Unexpected end of file."},
        // Missing tokens and items.
        {"AddCamera\nZoomFactor\n", "Missing value ('ZoomFactor'). (line 8)"},
        {"ObjectMotion\n", "belongs to no item"},
        {"LoadObjectLayer 1\n", "Missing value ('LoadObjectLayer'). (line 7)"},
        {"AddLight\nPivotPoint 1 2 3\n", "belongs to no item of its kind"},
        {"AddCamera\nCameraMotion\nNumChannels 6\nChannel 0\n{ Envelope\n1\n  Key 1\n", "Unsupported keyframe format"},
        {"BackdropColor 1 2\n", "Missing value ('BackdropColor'). (line 7)"},
    };
    for (const Case& c : cases) {
        Parse parse(std::string(kHeader) + c.body);
        EXPECT_EQ(parse.thrown, "true") << c.body;
        EXPECT_TRUE(parse.log.contains(c.message)) << c.body << "\n--- log:\n" << parse.log.text;
    }

    Parse badNumber(std::string(kHeader) + "FogMinDistance 1.2.3\n");
    EXPECT_EQ(badNumber.thrown, "false");

    // A line over 4096 characters is refused, whatever follows it.
    Parse longLine(std::string(kHeader) + "LoadObjectLayer 1 " + std::string(5000, 'a') + "\n");
    EXPECT_EQ(longLine.thrown, "true");
    EXPECT_TRUE(longLine.log.contains("longer than 4096 characters")) << longLine.log.text;

    // Cutting a good file anywhere gives an error or a smaller scene, never a crash.
    const std::string good = std::string(kHeader) + "AddCamera\nCameraMotion\n" + constantChannels(6) + "ZoomFactor 2\n";
    for (size_t cut = 0; cut < good.size(); ++cut)
        Parse piece(good.substr(0, cut));
}

TEST(LwsParser, VersionOneMotionBecomesHermitePoints)
{
    const std::string text =
        "LWSC\n1\n\nFirstFrame 1\nLastFrame 30\nFramesPerSecond 30\n"
        "LoadObject thing.lwo\nObjectMotion (unnamed)\n  9\n  2\n"
        "  1 2 3 90 0 0 1 1 1\n  0 0 0.5 0 0\n"
        "  4 5 6 0 180 0 2 2 2\n  30 1 0 0 0\n"
        "EndBehavior 2\nParentObject 1\n";
    Parse parse(text);
    ASSERT_EQ(parse.thrown, "") << parse.log.text;
    ASSERT_EQ(parse.scene.items.size(), 1u);
    const LW::LwsScene::Object& item = *parse.scene.items[0];
    ASSERT_TRUE(item.lw5Motion);
    EXPECT_EQ(item.lw5EndBehaviour, LW::LwsScene::EndRepeat);
    ASSERT_EQ(item.lw5Position.size(), 2u);
    EXPECT_FLOAT_EQ(item.lw5Position[1].time, 1.0f);  // frame 30 at 30 frames a second
    EXPECT_FLOAT_EQ(item.lw5Position[1].value.z, 6.0f);
    EXPECT_TRUE(item.lw5Position[1].linear);
    EXPECT_FLOAT_EQ(item.lw5Position[0].tension, 0.5f);
    // Heading, pitch and bank as written, in degrees.
    EXPECT_FLOAT_EQ(item.lw5Rotation[0].value.x, 90.0f);
    EXPECT_FLOAT_EQ(item.lw5Rotation[1].value.y, 180.0f);
    EXPECT_FLOAT_EQ(item.lw5Scale[1].value.x, 2.0f);
    EXPECT_EQ(item.parentItem, 0x10000000u);

    Parse wrong("LWSC\n1\nFirstFrame 1\nLastFrame 30\nFramesPerSecond 30\nLoadObject a.lwo\nObjectMotion\n  7\n");
    EXPECT_TRUE(wrong.log.contains("Expected 9 or 6 channels, found 7 channels.")) << wrong.log.text;
}
