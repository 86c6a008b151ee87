#pragma once
// The frame drawn off the window: a framebuffer object with the buffers the
// window would have had (RGBA 8888, depth 24, stencil 8), multisampled
// where asked and offered. A multisampled frame is resolved into a plain
// one once per frame; presents and read-backs take that one. Every present
// puts it into the window one to one, or scaled when it does not fit.

#include <memory>

struct FrameRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const FrameRect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The largest rectangle of the frame's shape that fits in the target,
// centred; what the target has beside it stays black.
FrameRect fitFrame(int frameWidth, int frameHeight, int targetWidth, int targetHeight);

class OffscreenFrame {
public:
    // Makes the frame and binds it for drawing and reading. `samples` above
    // 1 asks for that many samples, as many as the driver offers up to it.
    // Null, with the window's framebuffer bound again, when the driver
    // offers no framebuffer objects or cannot complete one with these buffers.
    static std::unique_ptr<OffscreenFrame> create(int width, int height, int samples = 1);
    ~OffscreenFrame();  // with the frame's context current
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;

    // Resolves the samples drawn since the last present into the plain
    // frame and binds that for reading; later calls before the next
    // startNextFrame do nothing. Nothing to do with one sample.
    void resolve();

    // Copies the (resolved) frame into the window's back buffer of
    // `targetWidth` x `targetHeight` pixels, black bars beside it: one to
    // one and centred when the frame is the largest of its shape that fits
    // (frameSizeWithin), else scaled with linear filtering into fitFrame's
    // rectangle. Then binds the frame again for drawing and reading. The
    // state the layers left is kept.
    void copyToWindow(int targetWidth, int targetHeight);
    // After the present: binds the frame for drawing and reading, and lets
    // the next resolve take the next frame's samples.
    void startNextFrame();

    int width() const { return width_; }
    int height() const { return height_; }
    int samples() const { return samples_; }
    unsigned framebuffer() const { return framebuffer_; }
    // Where the frame's finished pixels are: the resolved frame, or the frame.
    unsigned finishedFramebuffer() const { return resolved_ ? resolved_ : framebuffer_; }

private:
    OffscreenFrame(int width, int height) : width_(width), height_(height) {}

    int width_, height_;
    int samples_ = 1;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
    unsigned resolved_ = 0;  // the plain frame beside a multisampled one
    unsigned resolvedColour_ = 0;
    bool resolvedThisFrame_ = false;
};
