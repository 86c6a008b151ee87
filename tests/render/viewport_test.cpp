#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "render/viewport.h"
#include "tests/support/gl_window.h"

namespace {

// A clear, then three triangles and a quad spread over the rectangle's clip
// space, each its own colour, drawn through the viewport correction.
std::vector<Rgba> drawIn(int x, int y, int width, int height)
{
    gldevice::setScreenViewport();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    gldevice::setViewport(x, y, width, height);
    gldevice::loadViewportCorrection();
    GLStateCache::instance().setMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0, 0);
    glVertex2f(-0.9f, -0.9f), glVertex2f(0.2f, -0.7f), glVertex2f(-0.5f, 0.8f);
    glColor3f(0, 1, 0);
    glVertex2f(0.1f, 0.9f), glVertex2f(0.95f, 0.3f), glVertex2f(0.3f, -0.2f);
    glColor3f(0, 0, 1);
    glVertex2f(-1.3f, 0.1f), glVertex2f(1.4f, 0.0f), glVertex2f(0.0f, 0.4f);  // crosses the rectangle's edges
    glEnd();
    glColor3f(1, 1, 0);
    glRectf(0.6f, -0.95f, 0.9f, -0.5f);
    std::vector<Rgba> pixels = readPixels(0, 0, 800, 600);
    gldevice::setScreenViewport();
    return pixels;
}

// Pixels of `a` at (x, y) and `b` at (x + dx, y + dy) that differ, over the
// columns and rows given.
int differences(const std::vector<Rgba>& a, const std::vector<Rgba>& b, int dx, int dy, int x0, int x1, int y0,
                int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgba& p = a[size_t(y) * 800 + size_t(x)];
            const Rgba& q = b[size_t(y + dy) * 800 + size_t(x + dx)];
            count += p.r != q.r || p.g != q.g || p.b != q.b;
        }
    return count;
}

int lit(const std::vector<Rgba>& pixels)
{
    int count = 0;
    for (const Rgba& p : pixels)
        count += p.r || p.g || p.b;
    return count;
}

} // namespace

using ViewportTest = GLWindowTest;

// A rectangle reaching past any edge of the screen shows what the same
// rectangle shows when it lies wholly on the screen, moved by the same
// amount. Edge pixels may round differently; the rest must match.
TEST_F(ViewportTest, RectanglePastTheEdgesDrawsTheSamePicture)
{
    const std::vector<Rgba> inside = drawIn(100, 50, 500, 400);
    ASSERT_GT(lit(inside), 20000);
    struct Case {
        int x, y, dx, dy;  // the rectangle; its offset from the one inside
    } cases[] = {{-150, 50, -250, 0}, {450, 50, 350, 0}, {100, -200, 0, -250}, {100, 350, 0, 300}, {-300, 400, -400, 350}};
    for (const Case& c : cases) {
        const std::vector<Rgba> cut = drawIn(c.x, c.y, 500, 400);
        // The part of the rectangle on the screen, in screen pixels.
        const int x0 = std::max(c.x, 0), x1 = std::min(c.x + 500, 800);
        const int y0 = std::max(c.y, 0), y1 = std::min(c.y + 400, 600);
        const int area = (x1 - x0) * (y1 - y0);
        EXPECT_LT(differences(cut, inside, -c.dx, -c.dy, x0, x1, y0, y1), area / 200) << c.x << "," << c.y;
        EXPECT_GT(lit(cut), 0) << c.x << "," << c.y;
    }
}

// A rectangle wholly off the screen, or with no width, draws nothing; the
// rectangle as large as the screen needs no correction.
TEST_F(ViewportTest, EmptyAndWholeScreenRectangles)
{
    EXPECT_EQ(lit(drawIn(900, 0, 400, 300)), 0);
    EXPECT_EQ(lit(drawIn(0, -400, 800, 300)), 0);
    EXPECT_EQ(lit(drawIn(100, 100, 0, 300)), 0);

    drawIn(-10, -10, 900, 700);
    gldevice::setViewport(0, 0, 800, 600);
    gldevice::loadViewportCorrection();
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(projection[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}
