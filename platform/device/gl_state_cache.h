// The OpenGL state a device's context holds now, so that GL is called only for values that change.
// Direct3D state is recorded elsewhere; this is the GL side that Direct3D state is applied to.
#ifndef VTR3_PLATFORM_DEVICE_GL_STATE_CACHE_H
#define VTR3_PLATFORM_DEVICE_GL_STATE_CACHE_H

#include "device/gl_api.h"

#include <array>

namespace platform::device {

struct GlRect {
    GLint x = 0;
    GLint y = 0;
    GLsizei width = 0;
    GLsizei height = 0;

    bool operator==(const GlRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

class GlStateCache {
  public:
    void BindDrawFramebuffer(GLuint framebuffer);
    void BindReadFramebuffer(GLuint framebuffer);
    void SetScissorTest(bool enabled);
    void SetScissorBox(const GlRect& box);
    void SetColorMask(bool red, bool green, bool blue, bool alpha);
    void SetDepthMask(bool enabled);
    void SetStencilWriteMask(GLuint mask);

    // Forget everything: the next call of each setter reaches GL. For a context whose state is unknown.
    void Invalidate();

    // Object deletion unbinds in GL; the cache must not keep the old name.
    void ForgetFramebuffer(GLuint framebuffer);

  private:
    // Each value is valid only after the first setter call reached GL.
    struct Known {
        bool drawFramebuffer = false;
        bool readFramebuffer = false;
        bool scissorTest = false;
        bool scissorBox = false;
        bool colorMask = false;
        bool depthMask = false;
        bool stencilWriteMask = false;
    } known_;

    GLuint drawFramebuffer_ = 0;
    GLuint readFramebuffer_ = 0;
    bool scissorTest_ = false;
    GlRect scissorBox_;
    std::array<bool, 4> colorMask_{};
    bool depthMask_ = false;
    GLuint stencilWriteMask_ = 0;
};

} // namespace platform::device

#endif
