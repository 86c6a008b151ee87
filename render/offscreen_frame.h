#pragma once
// The frame drawn off the window: a framebuffer object of the show's size
// with the buffers the window would have had (RGBA 8888, depth 24,
// stencil 8). Every present scales it into whatever size the window has.

#include <memory>

struct FrameRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The largest rectangle of the frame's shape that fits in the target,
// centred; what the target has beside it stays black.
FrameRect fitFrame(int frameWidth, int frameHeight, int targetWidth, int targetHeight);

class OffscreenFrame {
public:
    // Makes the frame and binds it for drawing and reading. Null, with the
    // window's framebuffer bound again, when the driver offers no
    // framebuffer objects or cannot complete one with these buffers.
    static std::unique_ptr<OffscreenFrame> create(int width, int height);
    ~OffscreenFrame();  // with the frame's context current
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;

    // Copies the frame into the window's back buffer of `targetWidth` x
    // `targetHeight` pixels, scaled with linear filtering into fitFrame's
    // rectangle, black bars beside it, and binds the frame again. The
    // state the layers left is kept.
    void copyToWindow(int targetWidth, int targetHeight) const;

    int width() const { return width_; }
    int height() const { return height_; }
    unsigned framebuffer() const { return framebuffer_; }

private:
    OffscreenFrame(int width, int height) : width_(width), height_(height) {}

    int width_, height_;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
};
