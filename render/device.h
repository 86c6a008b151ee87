#pragma once
// The OpenGL device on the program's window, and what start-up publishes
// for the layers and the loader thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gl_context.h"
#include "render/frame_layout.h"
#include "render/offscreen_frame.h"

class HL_3Ddevice {
public:
    enum EError {
        kLibrariesMissing = 0,   // libGL/libGLU or a core entry point missing
        kNoPixelFormat = 1,      // the granted format is not RGBA 32 with stencil 8
    };

    // Loads the entry points, sets the pixel format, creates the main
    // context and makes it current, then reads the extensions.
    // Throws EError.
    explicit HL_3Ddevice(platform::Window* window);
    ~HL_3Ddevice();
    HL_3Ddevice(const HL_3Ddevice&) = delete;
    HL_3Ddevice& operator=(const HL_3Ddevice&) = delete;

    // Shows the frame; the first call turns vertical synchronisation on.
    // An offscreen frame is resolved and put into the window first, where
    // it can be seen.
    void present();

    // Draws from now on into an offscreen frame of width x height pixels
    // with `samples` samples (as many as the driver offers up to it, halved
    // until the driver can make the frame), which stays bound for drawing
    // and reading between presents, so whatever reads pixels reads the
    // frame. Publishes the frame's size. False when the driver cannot make
    // one even with one sample: the show then draws its 800x600 layout size
    // into the window's lower-left corner.
    bool drawOffscreen(unsigned width, unsigned height, int samples = 1);

    // With `frameFollowsWindow`, makes the frame again at the largest 4:3
    // size of the window's drawable with `followedSamples` when that size
    // differs from `followedSize` (each size tried once); called before each
    // frame is drawn.
    void followWindowSize();

    int desktopDepth = 0;          // bits per pixel of the desktop
    int trueColour = 0;            // 1 when desktopDepth > 8
    platform::GLContext* mainContext = nullptr;
    platform::Window* window = nullptr;
    std::unique_ptr<OffscreenFrame> offscreenFrame;  // null while the show draws into the window
    bool frameFollowsWindow = false;                 // the frame is re-made when the window changes size
    FrameSize followedSize;                          // the window's frame size the frame was last made for
    int followedSamples = 1;                         // the samples a followed frame asks for
};

// The request the device makes for the desktop's colour depth.
platform::PixelFormatDescriptor pixelFormatRequest(int desktopDepth);
// The acceptance rule for the granted format: RGBA, at least 32 colour bits
// and 8 stencil bits. The depth size is not checked.
bool acceptablePixelFormat(const platform::PixelFormatDescriptor& granted);

// Deletes the current device, if any.
void ShutdownGL();

// The frame as drawn so far (the offscreen frame, resolved, or the
// window's back buffer without one): frame width x height RGB pixels
// (gldevice::frameWidth x frameHeight), top row first.
std::vector<uint8_t> readFrameRGB();

// Published by start-up; read by every layer and by background loads.
namespace gldevice {
// The show's layout size (800x600); the frame's pixels are frameWidth x
// frameHeight (render/frame_layout.h).
extern unsigned screenWidth;
extern unsigned screenHeight;
extern platform::Window* window;   // the drawing surface contexts are made on
extern HL_3Ddevice* current;
extern unsigned char swapIntervalRequest;  // 1 until the first present
} // namespace gldevice
