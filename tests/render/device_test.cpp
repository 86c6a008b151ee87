#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/device.h"
#include "render/gl_api.h"

namespace {

platform::PixelFormatDescriptor g_granted;
std::vector<std::string> g_calls;
int g_swapIntervalCalls = 0;
int g_swaps = 0;
int g_contextObject = 0;
int g_windowObject = 0;

platform::Window* fakeWindow()
{
    return reinterpret_cast<platform::Window*>(&g_windowObject);
}

platform::GLContext* fakeContext()
{
    return reinterpret_cast<platform::GLContext*>(&g_contextObject);
}

// A driver that grants `g_granted` and records the device's window-system calls.
void useFakeWindowSystem()
{
    slot_ChoosePixelFormat = [](platform::Window*, const platform::PixelFormatDescriptor*) { return 1; };
    slot_SetPixelFormat = [](platform::Window*, int, const platform::PixelFormatDescriptor*) { return 1; };
    slot_DescribePixelFormat = [](platform::Window*, int, unsigned, platform::PixelFormatDescriptor* out) {
        *out = g_granted;
        return 1;
    };
    slot_wglCreateContext = [](platform::Window*) {
        g_calls.push_back("create");
        return fakeContext();
    };
    slot_wglMakeCurrent = [](platform::Window* window, platform::GLContext* context) {
        g_calls.push_back(context ? "current" : "release");
        return window || !context ? 1 : 0;
    };
    slot_wglDeleteContext = [](platform::GLContext*) {
        g_calls.push_back("delete");
        return 1;
    };
    slot_glGetString = [](GLenum) { return reinterpret_cast<const GLubyte*>("GL_ARB_multitexture"); };
    slot_wglGetProcAddress = [](const char*) -> void* { return nullptr; };
    slot_wglSwapIntervalEXT = [](int) {
        ++g_swapIntervalCalls;
        return 1;
    };
    slot_SwapBuffers = [](platform::Window*) {
        ++g_swaps;
        return 1;
    };
}

platform::PixelFormatDescriptor granted(uint8_t colorBits, uint8_t depthBits, uint8_t stencilBits)
{
    platform::PixelFormatDescriptor format;
    format.pixelType = platform::kPixelTypeRGBA;
    format.colorBits = colorBits;
    format.depthBits = depthBits;
    format.stencilBits = stencilBits;
    return format;
}

} // namespace

TEST(Device, PixelFormatRequestFollowsTheDesktopDepth)
{
    platform::PixelFormatDescriptor request = pixelFormatRequest(16);
    EXPECT_EQ(request.flags, 0x1025u);
    EXPECT_EQ(request.pixelType, platform::kPixelTypeRGBA);
    EXPECT_EQ(request.colorBits, 16);
    EXPECT_EQ(request.depthBits, 24);
    EXPECT_EQ(request.stencilBits, 8);
    EXPECT_EQ(pixelFormatRequest(8).pixelType, platform::kPixelTypeColorIndex);
}

TEST(Device, RejectsA16BitFormatWithCode1AndDropsItsContext)
{
    useFakeWindowSystem();
    g_granted = granted(16, 24, 8);
    try {
        HL_3Ddevice device(fakeWindow());
        FAIL() << "a 16-bit format was accepted";
    } catch (HL_3Ddevice::EError error) {
        EXPECT_EQ(error, 1);
    }
    EXPECT_EQ(g_calls, (std::vector<std::string>{"create", "current", "release", "delete"}));

    EXPECT_FALSE(acceptablePixelFormat(granted(32, 24, 0)));
    platform::PixelFormatDescriptor colourIndex = granted(32, 24, 8);
    colourIndex.pixelType = platform::kPixelTypeColorIndex;
    EXPECT_FALSE(acceptablePixelFormat(colourIndex));
}

TEST(Device, AcceptsA16BitDepthBufferAndTurnsVSyncOnOnce)
{
    useFakeWindowSystem();
    g_granted = granted(32, 16, 8);
    HL_3Ddevice device(fakeWindow());
    EXPECT_EQ(device.mainContext, fakeContext());
    EXPECT_EQ(glflags::EXT_compiled_vertex_array, 0);  // the extensions were read: not listed

    for (int frame = 0; frame < 300; ++frame)
        device.present();
    EXPECT_EQ(g_swapIntervalCalls, 1);
    EXPECT_EQ(g_swaps, 300);
}
