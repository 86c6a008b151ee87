#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "geometry/surface.h"
#include "render/device.h"
#include "tests/support/gl_window.h"
#include "timeline/brush.h"
#include "timeline/clear_show.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"

namespace {

std::vector<std::string> g_calls;

void logCall(const char* format, double a = 0, double b = 0, double c = 0, double d = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    g_calls.push_back(text);
}

class LoggingEvent : public hlv::TimeLineEvent {
public:
    using TimeLineEvent::TimeLineEvent;
    void execute(float t) override { logCall("event at %g", t); }
};

class LoggingBrush : public hlv::Brush {
public:
    void render(float localTime) override { logCall("brush at %g", localTime); }
};

class LoggingSurface : public Surface {
public:
    void unapply() override { logCall("unapply"); }
};

} // namespace

using MainLoopTest = GLWindowTest;

// A frame: the viewport, the show time, then the fixed reset of the frame
// state and the clear of all three buffers, the due events, the layers, the
// present and the end of the frame, each exactly once and in this order.
TEST_F(MainLoopTest, EveryFrameStartsFromTheFixedResetBeforeEventsAndLayers)
{
    gldevice::swapIntervalRequest = 0;  // asked once per run; not a step of every frame
    slot_glViewport = [](GLint x, GLint y, GLsizei w, GLsizei h) { logCall("glViewport %g %g %g %g", x, y, w, h); };
    slot_glEnable = [](GLenum cap) { logCall("glEnable %g", cap); };
    slot_glDisable = [](GLenum cap) { logCall("glDisable %g", cap); };
    slot_glCullFace = [](GLenum mode) { logCall("glCullFace %g", mode); };
    slot_glFrontFace = [](GLenum mode) { logCall("glFrontFace %g", mode); };
    slot_glDepthFunc = [](GLenum function) { logCall("glDepthFunc %g", function); };
    slot_glClearColor = [](GLclampf r, GLclampf g, GLclampf b, GLclampf a) { logCall("glClearColor %g %g %g %g", r, g, b, a); };
    slot_glClearStencil = [](GLint s) { logCall("glClearStencil %g", s); };
    slot_glClear = [](GLbitfield mask) { logCall("glClear %g", mask); };
    slot_SwapBuffers = [](platform::Window*) {
        logCall("SwapBuffers");
        return 1;
    };

    hlv::TimeLine::instance().clear();
    hlv::TimeLine::instance().baseTime = 0;
    new LoggingEvent(1.0f);
    hlv::TimeLine::instance().rewind();
    hlv::LayerList::instance().activate(0.5f, new LoggingBrush);
    LoggingSurface applied;
    Surface::current = &applied;

    ASSERT_TRUE(runFrame([] {
        logCall("show time");
        return 1.25f;
    }));
    hlv::LayerList::instance().clear();  // deletes the brush

    const std::vector<std::string> expected = {
        "glViewport 0 0 800 600",
        "show time",
        "glEnable " + std::to_string(GL_CULL_FACE),
        "glCullFace " + std::to_string(GL_BACK),
        "glFrontFace " + std::to_string(GL_CW),
        "glEnable " + std::to_string(GL_DEPTH_TEST),
        "glDepthFunc " + std::to_string(GL_LEQUAL),
        "glClearColor 0 0 0 0",
        "glClearStencil 0",
        "glClear " + std::to_string(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT),
        "event at 1.25",
        "brush at 0.75",
        "SwapBuffers",
        "unapply",
    };
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(Surface::current, nullptr);
}
