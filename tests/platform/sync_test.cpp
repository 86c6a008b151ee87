#include <gtest/gtest.h>

#include "platform/library.h"
#include "platform/gl_context.h"
#include "platform/sync.h"

namespace {

void setFromThread(void* event)
{
    platform::setEvent(static_cast<platform::Event*>(event));
}

} // namespace

TEST(Sync, EventStaysSetAndTimesOutWhenNeverSet)
{
    platform::Event* never = platform::createEvent();
    EXPECT_FALSE(platform::waitEvent(never, 20));
    platform::destroyEvent(never);

    platform::Event* event = platform::createEvent();
    platform::Thread* thread = platform::startThread(setFromThread, event);
    EXPECT_TRUE(platform::waitEvent(event, 10000));
    platform::joinThread(thread);
    EXPECT_TRUE(platform::waitEvent(event, 0));  // manual reset: still set
    platform::destroyEvent(event);
}

TEST(Library, GLServicesServeTheWindowSystemRowsOnly)
{
    platform::Library* services = platform::openLibrary(platform::kGLServices);
    ASSERT_NE(services, nullptr);
    EXPECT_EQ(platform::findSymbol(services, "wglMakeCurrent"), reinterpret_cast<void*>(&platform::makeCurrent));
    EXPECT_EQ(platform::findSymbol(services, "DescribePixelFormat"),
              reinterpret_cast<void*>(&platform::describePixelFormat));
    EXPECT_EQ(platform::findSymbol(services, "glClear"), nullptr);
    // Only reachable through wglGetProcAddress, as on the original.
    EXPECT_EQ(platform::findSymbol(services, "wglSwapIntervalEXT"), nullptr);
    EXPECT_EQ(platform::getProcAddress("wglSwapIntervalEXT"), reinterpret_cast<void*>(&platform::setSwapInterval));

    EXPECT_EQ(platform::openLibrary("libno-such-library.so.9"), nullptr);
    platform::Library* gl = platform::openLibrary("libGL.so.1");
    ASSERT_NE(gl, nullptr);
    EXPECT_NE(platform::findSymbol(gl, "glClear"), nullptr);
    EXPECT_EQ(platform::findSymbol(gl, "glNoSuchFunction"), nullptr);
}
