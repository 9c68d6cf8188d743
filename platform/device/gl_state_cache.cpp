#include "device/gl_state_cache.h"

namespace platform::device {

void GlStateCache::BindDrawFramebuffer(GLuint framebuffer) {
    if (known_.drawFramebuffer && drawFramebuffer_ == framebuffer)
        return;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    drawFramebuffer_ = framebuffer;
    known_.drawFramebuffer = true;
}

void GlStateCache::BindReadFramebuffer(GLuint framebuffer) {
    if (known_.readFramebuffer && readFramebuffer_ == framebuffer)
        return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    readFramebuffer_ = framebuffer;
    known_.readFramebuffer = true;
}

void GlStateCache::SetScissorTest(bool enabled) {
    if (known_.scissorTest && scissorTest_ == enabled)
        return;
    if (enabled)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
    scissorTest_ = enabled;
    known_.scissorTest = true;
}

void GlStateCache::SetScissorBox(const GlRect& box) {
    if (known_.scissorBox && scissorBox_ == box)
        return;
    glScissor(box.x, box.y, box.width, box.height);
    scissorBox_ = box;
    known_.scissorBox = true;
}

void GlStateCache::SetColorMask(bool red, bool green, bool blue, bool alpha) {
    const std::array<bool, 4> mask{red, green, blue, alpha};
    if (known_.colorMask && colorMask_ == mask)
        return;
    glColorMaski(0, red, green, blue, alpha);
    colorMask_ = mask;
    known_.colorMask = true;
}

void GlStateCache::SetDepthMask(bool enabled) {
    if (known_.depthMask && depthMask_ == enabled)
        return;
    glDepthMask(enabled ? GL_TRUE : GL_FALSE);
    depthMask_ = enabled;
    known_.depthMask = true;
}

void GlStateCache::SetStencilWriteMask(GLuint mask) {
    if (known_.stencilWriteMask && stencilWriteMask_ == mask)
        return;
    glStencilMask(mask);
    stencilWriteMask_ = mask;
    known_.stencilWriteMask = true;
}

void GlStateCache::Invalidate() {
    known_ = Known{};
}

void GlStateCache::ForgetFramebuffer(GLuint framebuffer) {
    if (drawFramebuffer_ == framebuffer)
        known_.drawFramebuffer = false;
    if (readFramebuffer_ == framebuffer)
        known_.readFramebuffer = false;
}

} // namespace platform::device
