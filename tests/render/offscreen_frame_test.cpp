#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/device.h"
#include "render/gl_api.h"
#include "render/offscreen_frame.h"
#include "tests/support/gl_window.h"

namespace {

// The largest 4:3 rectangle by the rule: as high as the target where the
// target is at least 4:3, else as wide, the other side to the nearest
// pixel, centred.
FrameRect expectedFit(int width, int height)
{
    FrameRect fit;
    if (width * 3 >= height * 4) {
        fit.height = height;
        fit.width = int(std::lround(height * 4.0 / 3.0));
    } else {
        fit.width = width;
        fit.height = int(std::lround(width * 3.0 / 4.0));
    }
    fit.x = (width - fit.width) / 2;
    fit.y = (height - fit.height) / 2;
    return fit;
}

// Writes RGBA pixels (bottom row first) over the whole bound frame.
void fillFrame(const std::vector<Rgba>& pixels)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2f(-1.0f, -1.0f);
    glDisable(GL_DEPTH_TEST);
    glDrawPixels(800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

// Left half red, right half blue.
std::vector<Rgba> halves()
{
    std::vector<Rgba> pixels(800 * 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            pixels[size_t(y) * 800 + x] = x < 400 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    return pixels;
}

// The window's back buffer, where the copy lands; the frame is bound again after.
std::vector<Rgba> readWindow(int width, int height)
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    std::vector<Rgba> pixels = readPixels(0, 0, width, height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gldevice::current->offscreenFrame->framebuffer());
    return pixels;
}

bool isColour(const Rgba& pixel, int r, int g, int b)
{
    return pixel.r == r && pixel.g == g && pixel.b == b;
}

// Counts the pixels of a window region (bottom-left origin) that are not the colour.
int unlike(const std::vector<Rgba>& window, int windowWidth, int x0, int y0, int x1, int y1, int r, int g, int b)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += !isColour(window[size_t(y) * windowWidth + x], r, g, b);
    return count;
}

class OffscreenFrameTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        ASSERT_NE(gldevice::current->offscreenFrame, nullptr) << "llvmpipe offers framebuffer objects";
    }
    OffscreenFrame& frame() const { return *gldevice::current->offscreenFrame; }
};

} // namespace

TEST(FitFrame, LargestCentredRectangleOfTheFramesShape)
{
    // Wider than 4:3, exactly 4:3, taller, one pixel off, smaller than the frame.
    const int targets[][2] = {{1920, 1080}, {800, 600}, {1024, 768}, {1280, 1024}, {2560, 1080},
                              {600, 300},   {400, 400}, {801, 600},  {800, 601},   {320, 200}};
    for (const auto& target : targets) {
        const FrameRect fit = fitFrame(800, 600, target[0], target[1]);
        EXPECT_TRUE(fit == expectedFit(target[0], target[1])) << target[0] << "x" << target[1];
    }
    const FrameRect desktop = fitFrame(800, 600, 1920, 1080);
    EXPECT_EQ(desktop.x, 240);
    EXPECT_EQ(desktop.width, 1440);
    // Nothing to draw into: nothing drawn.
    EXPECT_EQ(fitFrame(800, 600, 0, 600).width, 0);
    EXPECT_EQ(fitFrame(800, 600, 800, -1).height, 0);
    EXPECT_EQ(fitFrame(0, 600, 800, 600).width, 0);
}

TEST_F(OffscreenFrameTest, CopyPutsTheFrameBetweenBlackBarsAndKeepsTheLayersState)
{
    EXPECT_EQ(frame().width(), 800);
    EXPECT_EQ(frame().height(), 600);
    GLint bits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &bits);
    EXPECT_EQ(bits, 8);
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_EQ(bits, 24);
    glGetIntegerv(GL_ALPHA_BITS, &bits);
    EXPECT_EQ(bits, 8);

    // Something the window held before: the bars must cover it.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, frame().framebuffer());
    fillFrame(halves());

    // What a layer may leave behind.
    glEnable(GL_SCISSOR_TEST);
    glScissor(1, 2, 3, 4);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);

    // A window wider than 4:3: bars left and right.
    frame().copyToWindow(600, 300);
    GLint scissor[4] = {}, mask[4] = {}, drawn = -1, read = -1;
    GLfloat clear[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    glGetIntegerv(GL_COLOR_WRITEMASK, mask);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(std::vector<GLint>(scissor, scissor + 4), (std::vector<GLint>{1, 2, 3, 4}));
    EXPECT_EQ(std::vector<GLint>(mask, mask + 4), (std::vector<GLint>{1, 0, 1, 0}));
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(GLuint(drawn), frame().framebuffer());
    EXPECT_EQ(GLuint(read), frame().framebuffer());
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    // The frame lands at x 100 to 500, halved; the seam column may blend.
    std::vector<Rgba> window = readWindow(600, 300);
    EXPECT_EQ(unlike(window, 600, 0, 0, 100, 300, 0, 0, 0), 0);
    EXPECT_EQ(unlike(window, 600, 500, 0, 600, 300, 0, 0, 0), 0);
    EXPECT_EQ(unlike(window, 600, 100, 0, 299, 300, 255, 0, 0), 0);
    EXPECT_EQ(unlike(window, 600, 301, 0, 500, 300, 0, 0, 255), 0);

    // A window taller than 4:3: bars above and below, the frame at y 50 to 350.
    frame().copyToWindow(400, 400);
    window = readWindow(400, 400);
    EXPECT_EQ(unlike(window, 400, 0, 0, 400, 50, 0, 0, 0), 0);
    EXPECT_EQ(unlike(window, 400, 0, 350, 400, 400, 0, 0, 0), 0);
    EXPECT_EQ(unlike(window, 400, 0, 50, 199, 350, 255, 0, 0), 0);
    EXPECT_EQ(unlike(window, 400, 201, 50, 400, 350, 0, 0, 255), 0);
}

TEST_F(OffscreenFrameTest, ScaledCopiesFilterLinearlyAndOneToOneCopiesAreExact)
{
    // One-pixel stripes of black and white, shrunk to half: every window
    // pixel centre falls between a black and a white column.
    std::vector<Rgba> stripes(800 * 600);
    for (size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = i % 2 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
    fillFrame(stripes);
    frame().copyToWindow(400, 300);
    std::vector<Rgba> window = readWindow(400, 300);
    int notGrey = 0;
    for (const Rgba& pixel : window)
        notGrey += std::abs(pixel.r - 128) > 2 || pixel.r != pixel.g || pixel.g != pixel.b;
    EXPECT_EQ(notGrey, 0);

    // Unscaled, the window gets the frame's very pixels.
    std::vector<Rgba> noise(800 * 600);
    unsigned state = 12345;
    for (Rgba& pixel : noise) {
        state = state * 1103515245u + 12345u;
        pixel = {uint8_t(state >> 24), uint8_t(state >> 16), uint8_t(state >> 8), 255};
    }
    fillFrame(noise);
    frame().copyToWindow(800, 600);
    window = readWindow(800, 600);
    EXPECT_EQ(std::memcmp(window.data(), noise.data(), noise.size() * sizeof(Rgba)), 0);
    // The frame itself still holds them for whoever reads it.
    EXPECT_EQ(std::memcmp(readPixels(0, 0, 800, 600).data(), noise.data(), noise.size() * sizeof(Rgba)), 0);
}

// Mesa can be told to offer an older OpenGL: 2.1 with only the EXT
// framebuffer objects, or with only the extensions of 2004 and before
// (GL_EXT_framebuffer_object, but not yet its blit).
namespace {

bool offersOpenGL21()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && std::strncmp(version, "2.1", 3) == 0;
}

} // namespace

TEST(OffscreenFrameDriver, TheEXTFramebufferObjectsServeWhereTheCoreOnesAreMissing)
{
    setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_framebuffer_object", 1);
    ASSERT_TRUE(openTestWindow());
    if (!offersOpenGL21())
        GTEST_SKIP() << "the driver is not Mesa: its version cannot be lowered";
    EXPECT_EQ(glflags::ARB_framebuffer_object, 1);
    EXPECT_EQ(glflags::ARB_multitexture, 1);
    ASSERT_NE(gldevice::current->offscreenFrame, nullptr);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    gldevice::current->offscreenFrame->copyToWindow(800, 600);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    EXPECT_TRUE(isColour(readPixel(400, 300), 0, 255, 0));
}

TEST(OffscreenFrameDriver, WithoutTheBlitTheShowDrawsIntoTheWindow)
{
    setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
    setenv("MESA_EXTENSION_MAX_YEAR", "2004", 1);
    ASSERT_TRUE(openTestWindow());
    if (!offersOpenGL21())
        GTEST_SKIP() << "the driver is not Mesa: its version cannot be lowered";
    EXPECT_EQ(IsExtensionSupported("GL_EXT_framebuffer_object"), 1);
    EXPECT_EQ(glflags::ARB_framebuffer_object, 0);
    EXPECT_EQ(gldevice::current->offscreenFrame, nullptr);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(isColour(readPixel(799, 599), 0, 0, 255));
    gldevice::current->present();
}

TEST(FrameSize, TheLargestFourByThreeFrameAndTheSizesTheUserWrites)
{
    const int sizes[][4] = {{1920, 1080, 1440, 1080}, {3840, 2160, 2880, 2160}, {800, 600, 800, 600},
                            {1280, 1024, 1280, 960},  {1000, 700, 928, 696},    {2560, 1600, 2128, 1596},
                            {1366, 768, 1024, 768},   {8, 6, 8, 6},             {7, 600, 0, 0},
                            {3, 3, 0, 0}};
    for (const auto& size : sizes) {
        const FrameSize frame = frameSizeWithin(size[0], size[1]);
        EXPECT_TRUE(frame == (FrameSize{size[2], size[3]})) << size[0] << "x" << size[1];
        if (frame.width == 0)
            continue;
        // The ending's four half-size views tile the frame: every pixel drawn once.
        std::vector<int> covered(size_t(frame.width) * size_t(frame.height), 0);
        const float corners[4][2] = {{0.5f, 0.5f}, {0, 0.5f}, {0.5f, 0}, {0, 0}};
        for (const auto& corner : corners) {
            const FrameRect view =
                fractionRect(corner[0], corner[1], 0.5f, 0.5f, unsigned(frame.width), unsigned(frame.height));
            for (int y = view.y; y < std::min(view.y + view.height, frame.height); ++y)
                for (int x = view.x; x < std::min(view.x + view.width, frame.width); ++x)
                    ++covered[size_t(y) * size_t(frame.width) + size_t(x)];
        }
        EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), std::ptrdiff_t(covered.size()))
            << frame.width << "x" << frame.height << ": pixels left out or drawn twice";
    }

    FrameSize read;
    EXPECT_TRUE(parseFrameSize("1440x1080", &read));
    EXPECT_TRUE(read == (FrameSize{1440, 1080}));
    for (const char* bad : {"", "1440", "1440x", "x1080", "1440x1080x4", "0x600", "800x-600", "20000x600", "800 600"})
        EXPECT_FALSE(parseFrameSize(bad, &read)) << bad;
}

// The layout's fractions land on the same share of any frame, truncated.
TEST(FrameSize, LayoutFractionsScaleWithTheFrame)
{
    EXPECT_TRUE(fractionRect(0.5f, 0.25f, 0.5f, 0.5f, 800, 600) == (FrameRect{400, 150, 400, 300}));
    EXPECT_TRUE(fractionRect(0.5f, 0.25f, 0.5f, 0.5f, 1440, 1080) == (FrameRect{720, 270, 720, 540}));
    EXPECT_TRUE(fractionRect(0.1f, 0.1f, 0.3f, 0.3f, 1000, 700) == (FrameRect{100, 70, 300, 210}));
}

TEST_F(OffscreenFrameTest, AMultisampledFrameIsResolvedForPresentsAndReadBacks)
{
    ASSERT_TRUE(gldevice::current->drawOffscreen(1440, 1080, 4));
    EXPECT_EQ(gldevice::frameWidth, 1440u);
    EXPECT_EQ(gldevice::frameHeight, 1080u);
    if (frame().samples() == 1)
        GTEST_SKIP() << "the driver offers no multisampled framebuffers";
    GLint bits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &bits);
    EXPECT_EQ(bits, 8);
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_EQ(bits, 24);

    // A white triangle's slanted edge on black: with samples, values between.
    setWholeFrameViewport();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColor3f(1, 1, 1);
    glBegin(GL_TRIANGLES);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(-1, 0.9f);
    glEnd();
    const std::vector<uint8_t> rgb = readFrameRGB();
    ASSERT_EQ(rgb.size(), size_t(1440) * 1080 * 3);
    int between = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
        between += rgb[i] > 10 && rgb[i] < 245;
    EXPECT_GT(between, 1000);

    // The present copies the resolved pixels one to one into a window that
    // holds exactly this frame.
    frame().copyToWindow(1920, 1080);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    const Rgba corner = readPixel(240 + 10, 10);
    EXPECT_TRUE(isColour(corner, 255, 255, 255));
    frame().startNextFrame();
}
