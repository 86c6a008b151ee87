#include "render/device.h"

#include <algorithm>

#include "platform/window.h"
#include "render/gl_api.h"

namespace gldevice {
unsigned screenWidth = 0;
unsigned screenHeight = 0;
platform::Window* window = nullptr;
HL_3Ddevice* current = nullptr;
unsigned char swapIntervalRequest = 1;
} // namespace gldevice

platform::PixelFormatDescriptor pixelFormatRequest(int desktopDepth)
{
    platform::PixelFormatDescriptor request;
    request.flags = platform::kPfdDrawToWindow | platform::kPfdSupportOpenGL | platform::kPfdDoubleBuffer
        | platform::kPfdGenericAccelerated;
    request.pixelType = desktopDepth > 8 ? platform::kPixelTypeRGBA : platform::kPixelTypeColorIndex;
    request.colorBits = static_cast<uint8_t>(desktopDepth & 0xFF);
    request.depthBits = 24;
    request.stencilBits = 8;
    return request;
}

bool acceptablePixelFormat(const platform::PixelFormatDescriptor& granted)
{
    return granted.pixelType == platform::kPixelTypeRGBA && granted.colorBits >= 32 && granted.stencilBits >= 8;
}

HL_3Ddevice::HL_3Ddevice(platform::Window* window) : window(window)
{
    if (!LoadGLLibraries())
        throw kLibrariesMissing;
    desktopDepth = platform::desktopBitsPerPixel();
    trueColour = desktopDepth > 8 ? 1 : 0;

    platform::PixelFormatDescriptor request = pixelFormatRequest(desktopDepth);
    int format = ChoosePixelFormat(window, &request);
    if (format == 0 || !SetPixelFormat(window, format, &request))
        throw kNoPixelFormat;

    // The granted format can only be read once a context is current on the
    // window, so the check comes after the context, not before it.
    mainContext = wglCreateContext(window);
    wglMakeCurrent(window, mainContext);
    platform::PixelFormatDescriptor granted{};
    if (!DescribePixelFormat(window, format, sizeof granted, &granted) || !acceptablePixelFormat(granted)) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(mainContext);
        mainContext = nullptr;
        throw kNoPixelFormat;
    }
    LoadGLExtensions();
}

HL_3Ddevice::~HL_3Ddevice()
{
    offscreenFrame.reset();  // while its context is current
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(mainContext);
}

void HL_3Ddevice::present()
{
    if (glflags::Swap && gldevice::swapIntervalRequest) {
        wglSwapIntervalEXT(1);
        gldevice::swapIntervalRequest = 0;
    }
    // The frame is finished here for whoever looks at it, seen or not.
    if (offscreenFrame)
        offscreenFrame->resolve();
    // A window nobody sees (the tools', a minimised one) is not worth the
    // copy: on a software renderer it costs more than a millisecond.
    if (offscreenFrame && platform::windowVisible(window)) {
        int width = 0, height = 0;
        platform::drawableSize(window, &width, &height);
        offscreenFrame->copyToWindow(width, height);
    }
    SwapBuffers(window);
    if (offscreenFrame)
        offscreenFrame->startNextFrame();
}

bool HL_3Ddevice::drawOffscreen(unsigned width, unsigned height, int samples)
{
    offscreenFrame.reset();  // its memory is free before the next one takes as much again
    // A driver may refuse many samples at a size (memory) and take fewer:
    // the size asked comes before the samples.
    for (int tried = std::max(samples, 1); !offscreenFrame; tried /= 2) {
        offscreenFrame = OffscreenFrame::create(int(width), int(height), tried);
        if (tried <= 1)
            break;
    }
    const bool made = offscreenFrame != nullptr;
    gldevice::frameWidth = made ? width : gldevice::screenWidth;
    gldevice::frameHeight = made ? height : gldevice::screenHeight;
    return made;
}

void HL_3Ddevice::followWindowSize()
{
    if (!frameFollowsWindow || !offscreenFrame)
        return;
    int width = 0, height = 0;
    platform::drawableSize(window, &width, &height);
    const FrameSize wanted = frameSizeWithin(width, height);
    // Tried once per window size: a size the driver cannot make is not
    // asked for again on every frame, yet the next size is.
    if (wanted.width == 0 || wanted == followedSize)
        return;
    followedSize = wanted;
    if (wanted == FrameSize{offscreenFrame->width(), offscreenFrame->height()}
        && offscreenFrame->samples() >= followedSamples)
        return;
    const int oldSamples = offscreenFrame->samples();
    const unsigned oldWidth = gldevice::frameWidth, oldHeight = gldevice::frameHeight;
    if (!drawOffscreen(unsigned(wanted.width), unsigned(wanted.height), followedSamples))
        drawOffscreen(oldWidth, oldHeight, oldSamples);  // too large for the driver: the old frame again
}

std::vector<uint8_t> readFrameRGB()
{
    if (gldevice::current && gldevice::current->offscreenFrame)
        gldevice::current->offscreenFrame->resolve();
    const unsigned width = gldevice::frameWidth, height = gldevice::frameHeight;
    const size_t rowBytes = size_t(width) * 3;
    std::vector<uint8_t> bottomUp(rowBytes * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // OpenGL gives the bottom row first.
    std::vector<uint8_t> topDown(bottomUp.size());
    for (unsigned row = 0; row < height; ++row)
        std::copy_n(&bottomUp[(height - 1 - row) * rowBytes], rowBytes, &topDown[row * rowBytes]);
    return topDown;
}

void ShutdownGL()
{
    delete gldevice::current;
    gldevice::current = nullptr;
}
