#include "render/offscreen_frame.h"

#include "render/gl_api.h"

FrameRect fitFrame(int frameWidth, int frameHeight, int targetWidth, int targetHeight)
{
    FrameRect fit;
    if (frameWidth <= 0 || frameHeight <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return fit;
    // Products in 64 bits: no window is that large, but nothing overflows either.
    const long long fw = frameWidth, fh = frameHeight, tw = targetWidth, th = targetHeight;
    if (tw * fh >= th * fw) {
        // Wider than the frame: full height, bars left and right.
        fit.height = targetHeight;
        fit.width = int((th * fw + fh / 2) / fh);
    } else {
        fit.width = targetWidth;
        fit.height = int((tw * fh + fw / 2) / fw);
    }
    fit.x = (targetWidth - fit.width) / 2;
    fit.y = (targetHeight - fit.height) / 2;
    return fit;
}

std::unique_ptr<OffscreenFrame> OffscreenFrame::create(int width, int height)
{
    if (!glflags::ARB_framebuffer_object)
        return nullptr;
    std::unique_ptr<OffscreenFrame> frame(new OffscreenFrame(width, height));
    glGenRenderbuffers(1, &frame->colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, frame->colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &frame->depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, frame->depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &frame->framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, frame->framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, frame->colour_);
    // One packed buffer on both attachment points: the GL 3.0 depth-stencil
    // attachment point does not exist for GL_EXT_framebuffer_object.
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, frame->depthStencil_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, frame->depthStencil_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return nullptr;  // deletes what was made
    }
    return frame;
}

OffscreenFrame::~OffscreenFrame()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depthStencil_);
}

void OffscreenFrame::copyToWindow(int targetWidth, int targetHeight) const
{
    const FrameRect fit = fitFrame(width_, height_, targetWidth, targetHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The scissor test clips blits and clears, the colour mask clears; the
    // layers may have left either set, and the frame keeps them.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_SCISSOR_TEST);
    const FrameRect bars[4] = {
        {0, 0, fit.x, targetHeight},
        {fit.x + fit.width, 0, targetWidth - fit.x - fit.width, targetHeight},
        {fit.x, 0, fit.width, fit.y},
        {fit.x, fit.y + fit.height, fit.width, targetHeight - fit.y - fit.height},
    };
    for (const FrameRect& bar : bars) {
        if (bar.width > 0 && bar.height > 0) {
            glScissor(bar.x, bar.y, bar.width, bar.height);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glDisable(GL_SCISSOR_TEST);
    if (fit.width > 0 && fit.height > 0) {
        // One to one, nearest copies the pixels exactly.
        const bool unscaled = fit.width == width_ && fit.height == height_;
        glBlitFramebuffer(0, 0, width_, height_, fit.x, fit.y, fit.x + fit.width, fit.y + fit.height,
                          GL_COLOR_BUFFER_BIT, unscaled ? GL_NEAREST : GL_LINEAR);
    }
    glPopAttrib();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}
