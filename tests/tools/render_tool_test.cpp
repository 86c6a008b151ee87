#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "render/image_file.h"
#include "tests/support/demo_folder.h"
#include "tests/support/run_program.h"

namespace {

const std::string kRenderTool = SKYDRIFT_RENDER;

// Width and height from a PNG file's header chunk (big-endian, after the signature).
bool pngSize(const std::string& path, uint32_t* width, uint32_t* height)
{
    std::string bytes = readWholeFile(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return false;
    auto bigEndian = [&](size_t at) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
        return value;
    };
    *width = bigEndian(16);
    *height = bigEndian(20);
    return true;
}

std::string lastLine(const std::string& text)
{
    size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos)
        return {};
    size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

// An empty folder `name` holding the show's assets as demo/.
void freshShowFolder(const std::string& name)
{
    std::filesystem::remove_all(name);
    std::filesystem::create_directories(name);
    std::filesystem::create_directory_symlink(SKYDRIFT_DEMO_PACK, name + "/demo");
}

} // namespace

TEST(RenderTool, WritesTheAskedFramesAndASummary)
{
    freshShowFolder("render");
    ProgramRun run = runInFolder("render", "SDL_AUDIODRIVER=dummy '" + kRenderTool + "' --at 1,2 --fps 30 --out frames");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    for (const char* name : {"render/frames/frame-1.png", "render/frames/frame-2.png"}) {
        uint32_t width = 0, height = 0;
        ASSERT_TRUE(pngSize(name, &width, &height)) << name;
        EXPECT_EQ(width, 800u);
        EXPECT_EQ(height, 600u);
    }
    // Frames 0/30 .. 59/30, then t = 2 itself.
    EXPECT_EQ(lastLine(run.output).rfind("frames 61, median ", 0), 0u) << lastLine(run.output);
    EXPECT_NE(lastLine(run.output).find(" ms, p99 "), std::string::npos);
}

// A driver without framebuffer objects draws the show at 800x600 in the
// window, whatever size was asked: the pictures are still the size asked,
// the whole show scaled into them, and the user is told.
TEST(RenderTool, AFrameOfAnotherSizeIsScaledIntoThePictureAndSaidSo)
{
    const struct {
        const char* size;
        unsigned width, height;
        unsigned left;  // where the picture's own frame begins: black bars before it
    } cases[] = {{"400x300", 400, 300, 0}, {"2000x1200", 2000, 1200, 200}};
    freshShowFolder("render_fallback");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ProgramRun run = runInFolder("render_fallback", std::string("MESA_GL_VERSION_OVERRIDE=2.1 MESA_EXTENSION_MAX_YEAR=2004 "
                                                                    "SDL_AUDIODRIVER=dummy '") + kRenderTool +
                                                            "' --at 30 --fps 1 --quiet --out " + c.size + " --size " + c.size);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_NE(run.errors.find(std::string("drew the show at 800x600, not at the ")), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(std::string("scaled into the ") + c.size + " pictures"), std::string::npos) << run.errors;
        ImageRGB picture;
        const std::string path = std::string("render_fallback/") + c.size + "/frame-30.png";
        ASSERT_TRUE(loadImageRGB(path.c_str(), picture)) << path;
        ASSERT_EQ(picture.width, c.width);
        ASSERT_EQ(picture.height, c.height);
        // The sky reaches every edge of the scaled frame; the bars stay black.
        auto brightness = [&](unsigned x, unsigned y) {
            const uint8_t* p = &picture.pixels[(size_t(y) * picture.width + x) * 3];
            return p[0] + p[1] + p[2];
        };
        for (unsigned y : {0u, c.height / 2, c.height - 1}) {
            EXPECT_GT(brightness(c.left, y), 30) << "left edge, row " << y;
            EXPECT_GT(brightness(c.width - 1 - c.left, y), 30) << "right edge, row " << y;
            if (c.left > 0) {
                EXPECT_EQ(brightness(c.left - 1, y), 0) << "left bar, row " << y;
                EXPECT_EQ(brightness(c.width - c.left, y), 0) << "right bar, row " << y;
            }
        }
    }
}

// Carriage-return progress belongs on a terminal; a log keeps plain lines.
TEST(RenderTool, AQuietRunLogsNoProgressLine)
{
    freshShowFolder("render_log");
    ProgramRun run = runInFolder("render_log", "SDL_AUDIODRIVER=dummy '" + kRenderTool + "' --until 3 --fps 10 --quiet");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find('\r'), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("rendered "), std::string::npos) << run.errors;
    EXPECT_EQ(lastLine(run.output).rfind("frames 30, median ", 0), 0u) << lastLine(run.output);
}

TEST(RenderTool, AShowAssetThatCannotBeLoadedEndsWithItsNameNotAWaitingBox)
{
    // Only the loading picture: the show's first picture is missing.
    ProgramRun run = runInFolder(makeDemoFolder("render_missing"), "SDL_AUDIODRIVER=dummy '" + kRenderTool + "' --at 1");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.errors.find("demo\\SkyDrift.jpg"), std::string::npos) << run.errors;
}

TEST(RenderTool, RejectsBadArgumentsWithUsage)
{
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"--at 1,x", "\"x\" is not a show time"},
        {"--at 1 --size 1920", "--size: \"1920\" is not a picture size"},
        {"--at 1 --size 2x2", "--size: \"2x2\" is not a picture size"},
        {"--at 1 --samples 0", "--samples: \"0\" is not a number of samples"},
        {"--at 1 --samples 4x", "--samples: \"4x\" is not a number of samples"},
    };
    for (const auto& c : cases) {
        ProgramRun run = runInFolder("render_bad", "'" + kRenderTool + "' " + c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("usage: skydrift-render"), std::string::npos);
    }
}
