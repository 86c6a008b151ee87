#include "render/offscreen_frame.h"

#include <algorithm>

#include "render/frame_layout.h"
#include "render/frame_picture.h"
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

namespace {

// A renderbuffer of `format` with `samples` samples (1: a plain one).
unsigned makeRenderbuffer(GLenum format, int width, int height, int samples)
{
    unsigned buffer = 0;
    glGenRenderbuffers(1, &buffer);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer);
    if (samples > 1)
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    else
        glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return buffer;
}

int offeredSamples(int asked)
{
    if (asked <= 1 || !glflags::framebuffer_multisample)
        return 1;
    GLint most = 1;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    return most > 1 ? std::min(asked, int(most)) : 1;
}

} // namespace

std::unique_ptr<OffscreenFrame> OffscreenFrame::create(int width, int height, int samples)
{
    if (!glflags::ARB_framebuffer_object)
        return nullptr;
    std::unique_ptr<OffscreenFrame> frame(new OffscreenFrame(width, height));
    frame->samples_ = offeredSamples(samples);
    frame->colour_ = makeRenderbuffer(GL_RGBA8, width, height, frame->samples_);
    frame->depthStencil_ = makeRenderbuffer(GL_DEPTH24_STENCIL8, width, height, frame->samples_);
    if (frame->samples_ > 1) {
        frame->resolvedColour_ = makeRenderbuffer(GL_RGBA8, width, height, 1);
        glGenFramebuffers(1, &frame->resolved_);
        glBindFramebuffer(GL_FRAMEBUFFER, frame->resolved_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, frame->resolvedColour_);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            return nullptr;
        }
    }

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
    if (resolved_) {
        glDeleteFramebuffers(1, &resolved_);
        glDeleteRenderbuffers(1, &resolvedColour_);
    }
}

void OffscreenFrame::resolve()
{
    if (!resolved_ || resolvedThisFrame_)
        return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
    // The scissor test clips blits; the layers may have left it on.
    glPushAttrib(GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glPopAttrib();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolved_);
    resolvedThisFrame_ = true;
}

void OffscreenFrame::copyToWindow(int targetWidth, int targetHeight)
{
    resolve();
    const FrameRect fit = frameInTarget(width_, height_, targetWidth, targetHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, finishedFramebuffer());
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

void OffscreenFrame::startNextFrame()
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    resolvedThisFrame_ = false;
}
