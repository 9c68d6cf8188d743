// The OpenGL state a device's context holds now, so that GL is called only for values that change.
// Direct3D state is recorded elsewhere; this is the GL side that Direct3D state is applied to.
#ifndef VTR3_PLATFORM_DEVICE_GL_STATE_CACHE_H
#define VTR3_PLATFORM_DEVICE_GL_STATE_CACHE_H

#include "device/gl_functions.h"

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

struct GlBlendState {
    bool enabled = false;
    GLenum sourceColor = GL_ONE, destColor = GL_ZERO, sourceAlpha = GL_ONE, destAlpha = GL_ZERO;
    GLenum equationColor = GL_FUNC_ADD, equationAlpha = GL_FUNC_ADD;
    std::array<float, 4> constant{};

    bool operator==(const GlBlendState& o) const {
        return enabled == o.enabled && sourceColor == o.sourceColor && destColor == o.destColor &&
               sourceAlpha == o.sourceAlpha && destAlpha == o.destAlpha && equationColor == o.equationColor &&
               equationAlpha == o.equationAlpha && constant == o.constant;
    }
};

struct GlStencilFace {
    GLenum func = GL_ALWAYS;
    GLint reference = 0;
    GLuint readMask = ~0u;
    GLenum fail = GL_KEEP, depthFail = GL_KEEP, pass = GL_KEEP;

    bool operator==(const GlStencilFace& o) const {
        return func == o.func && reference == o.reference && readMask == o.readMask && fail == o.fail &&
               depthFail == o.depthFail && pass == o.pass;
    }
};

struct GlDepthStencilState {
    bool depthTest = false;
    GLenum depthFunc = GL_LESS;
    bool stencilTest = false;
    GlStencilFace front; // GL's front faces: Direct3D's clockwise triangles (see the y flip)
    GlStencilFace back;

    bool operator==(const GlDepthStencilState& o) const {
        return depthTest == o.depthTest && depthFunc == o.depthFunc && stencilTest == o.stencilTest &&
               front == o.front && back == o.back;
    }
};

struct GlRasterState {
    bool cull = false;
    GLenum cullFace = GL_BACK;
    GLenum polygonMode = GL_FILL;
    float offsetFactor = 0.0f; // glPolygonOffset's factor; the constant bias is the vertex stage's

    bool operator==(const GlRasterState& o) const {
        return cull == o.cull && cullFace == o.cullFace && polygonMode == o.polygonMode &&
               offsetFactor == o.offsetFactor;
    }
};

class GlStateCache {
  public:
    static constexpr unsigned kTextureUnits = 21; // the device's sampler slots

    explicit GlStateCache(const GlFunctions& gl = SystemGl()) : gl_(gl) {}

    void BindDrawFramebuffer(GLuint framebuffer);
    void BindReadFramebuffer(GLuint framebuffer);
    void SetScissorTest(bool enabled);
    void SetScissorBox(const GlRect& box);
    void SetColorMask(bool red, bool green, bool blue, bool alpha);
    void SetDepthMask(bool enabled);
    void SetStencilWriteMask(GLuint mask);
    void SetBlend(const GlBlendState& blend);
    void SetDepthStencil(const GlDepthStencilState& depthStencil);
    void SetRaster(const GlRasterState& raster);
    void SetViewport(const GlRect& viewport, float minDepth, float maxDepth);
    // Bit i enables GL_CLIP_DISTANCE0 + i.
    void SetClipDistances(unsigned mask);
    void BindVertexArray(GLuint vertexArray);
    void BindProgramPipeline(GLuint pipeline);
    void BindTextureUnit(unsigned unit, GLuint texture);
    void BindSampler(unsigned unit, GLuint sampler);

    // Forget everything: the next call of each setter reaches GL. For a context whose state is unknown.
    void Invalidate();

    // Object deletion unbinds in GL; the cache must not keep the old name.
    void ForgetFramebuffer(GLuint framebuffer);
    void ForgetTexture(GLuint texture);
    // GL unbinds a deleted texture and may hand its name to a new one: a unit whose binding
    // changed since the last draw is bound again whatever the cache holds.
    void ForgetTextureUnit(unsigned unit);

  private:
    // A copy, so that a call costs one indirect jump.
    GlFunctions gl_;

    // Each value is valid only after the first setter call reached GL.
    struct Known {
        bool drawFramebuffer = false;
        bool readFramebuffer = false;
        bool scissorTest = false;
        bool scissorBox = false;
        bool colorMask = false;
        bool depthMask = false;
        bool stencilWriteMask = false;
        bool blend = false;
        bool depthStencil = false;
        bool raster = false;
        bool viewport = false;
        bool clipDistances = false;
        bool vertexArray = false;
        bool programPipeline = false;
        std::array<bool, kTextureUnits> textures{};
        std::array<bool, kTextureUnits> samplers{};
    } known_;

    GLuint drawFramebuffer_ = 0;
    GLuint readFramebuffer_ = 0;
    bool scissorTest_ = false;
    GlRect scissorBox_;
    std::array<bool, 4> colorMask_{};
    bool depthMask_ = false;
    GLuint stencilWriteMask_ = 0;
    GlBlendState blend_;
    GlDepthStencilState depthStencil_;
    GlRasterState raster_;
    GlRect viewport_;
    std::array<float, 2> depthRange_{};
    unsigned clipDistances_ = 0;
    GLuint vertexArray_ = 0;
    GLuint programPipeline_ = 0;
    std::array<GLuint, kTextureUnits> textures_{};
    std::array<GLuint, kTextureUnits> samplers_{};
};

} // namespace platform::device

#endif
