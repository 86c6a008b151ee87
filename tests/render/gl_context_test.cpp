#include <gtest/gtest.h>

#include <cstring>

#include "platform/sync.h"
#include "render/device.h"
#include "tests/support/gl_window.h"

TEST_F(GLWindowTest, DeviceStandsWithTheExtensionsTheShowNeeds)
{
    ASSERT_NE(gldevice::current, nullptr);
    EXPECT_EQ(gldevice::screenWidth, 800u);
    EXPECT_EQ(gldevice::screenHeight, 600u);
    EXPECT_EQ(wglGetCurrentContext(), gldevice::current->mainContext);
    EXPECT_EQ(glflags::GL, 1);
    EXPECT_EQ(glflags::GLU, 1);
    EXPECT_EQ(glflags::ARB_multitexture, 1);
    EXPECT_EQ(glflags::ARB_imaging, 1);
    EXPECT_NE(slot_glActiveTextureARB, nullptr);
    EXPECT_NE(slot_glBlendEquation, nullptr);

    GLint stencilBits = 0, depthBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(stencilBits, 8);
    EXPECT_GE(depthBits, 24);
}

TEST_F(GLWindowTest, ClearedFrameReadsBack)
{
    glViewport(0, 0, 800, 600);
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    Rgba corner = readPixel(0, 0);
    Rgba far = readPixel(799, 599);
    EXPECT_EQ(corner.r, 255);
    EXPECT_NEAR(corner.g, 128, 1);
    EXPECT_EQ(corner.b, 0);
    EXPECT_EQ(corner.a, 255);  // destination alpha exists
    EXPECT_EQ(std::memcmp(&corner, &far, sizeof corner), 0);
    gldevice::current->present();
}

namespace {

struct LoaderJob {
    platform::GLContext* context = nullptr;
    platform::Event* done = nullptr;
    GLuint texture = 0;
};

// What a background load does: its own context, a texture made there.
void loadOnThread(void* argument)
{
    auto* job = static_cast<LoaderJob*>(argument);
    wglMakeCurrent(gldevice::window, job->context);
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &job->texture);
    glBindTexture(GL_TEXTURE_2D, job->texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glFinish();
    wglMakeCurrent(nullptr, nullptr);
    platform::setEvent(job->done);
}

} // namespace

TEST_F(GLWindowTest, TexturesMadeOnALoaderThreadAreSeenByTheMainContext)
{
    LoaderJob job;
    job.context = wglCreateContext(gldevice::window);
    ASSERT_NE(job.context, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), gldevice::current->mainContext);  // the caller's stays current
    EXPECT_EQ(wglShareLists(gldevice::current->mainContext, job.context), 1);
    job.done = platform::createEvent();

    platform::Thread* thread = platform::startThread(loadOnThread, &job);
    EXPECT_TRUE(platform::waitEvent(job.done, 10000));
    platform::joinThread(thread);

    EXPECT_NE(job.texture, 0u);
    EXPECT_EQ(glIsTexture(job.texture), GL_TRUE);
    platform::destroyEvent(job.done);
    EXPECT_EQ(wglDeleteContext(job.context), 1);
}
