#pragma once
// Shared helpers for tests that draw with OpenGL.
//
//   #include "tests/support/gl_window.h"
//   TEST_F(GLWindowTest, ClearsToRed) {
//       glClearColor(1, 0, 0, 1);
//       glClear(GL_COLOR_BUFFER_BIT);
//       EXPECT_EQ(readPixel(10, 10).r, 255);
//   }
//
// GLWindowTest opens, once per test process, a hidden 800x600 window with the
// program's own device (InitGL: entry points, main context current, extension
// flags, screen size published), and closes it, the device and the display
// once the test program's tests are over. Run such tests under a display
// (`xvfb-run -a -s "-screen 0 800x600x24"` where there is none).

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/gl_api.h"

// Opens the window and the device on first call; true when both stand.
bool openTestWindow();

class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(openTestWindow()) << "no OpenGL window (is there a display?)"; }
};

struct Rgba {
    uint8_t r, g, b, a;
};

// The back buffer's pixels of a rectangle, RGBA, bottom row first (as
// glReadPixels gives them).
std::vector<Rgba> readPixels(int x, int y, int width, int height);
// One pixel; (0, 0) is the bottom-left corner.
Rgba readPixel(int x, int y);
