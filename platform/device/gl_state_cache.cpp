#include "device/gl_state_cache.h"

namespace platform::device {

void GlStateCache::BindDrawFramebuffer(GLuint framebuffer) {
    if (known_.drawFramebuffer && drawFramebuffer_ == framebuffer)
        return;
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    drawFramebuffer_ = framebuffer;
    known_.drawFramebuffer = true;
}

void GlStateCache::BindReadFramebuffer(GLuint framebuffer) {
    if (known_.readFramebuffer && readFramebuffer_ == framebuffer)
        return;
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    readFramebuffer_ = framebuffer;
    known_.readFramebuffer = true;
}

void GlStateCache::SetScissorTest(bool enabled) {
    if (known_.scissorTest && scissorTest_ == enabled)
        return;
    if (enabled)
        gl_.Enable(GL_SCISSOR_TEST);
    else
        gl_.Disable(GL_SCISSOR_TEST);
    scissorTest_ = enabled;
    known_.scissorTest = true;
}

void GlStateCache::SetScissorBox(const GlRect& box) {
    if (known_.scissorBox && scissorBox_ == box)
        return;
    gl_.Scissor(box.x, box.y, box.width, box.height);
    scissorBox_ = box;
    known_.scissorBox = true;
}

void GlStateCache::SetColorMask(bool red, bool green, bool blue, bool alpha) {
    const std::array<bool, 4> mask{red, green, blue, alpha};
    if (known_.colorMask && colorMask_ == mask)
        return;
    gl_.ColorMask(red, green, blue, alpha); // every draw buffer: the caps offer no independent masks
    colorMask_ = mask;
    known_.colorMask = true;
}

void GlStateCache::SetDepthMask(bool enabled) {
    if (known_.depthMask && depthMask_ == enabled)
        return;
    gl_.DepthMask(enabled ? GL_TRUE : GL_FALSE);
    depthMask_ = enabled;
    known_.depthMask = true;
}

void GlStateCache::SetStencilWriteMask(GLuint mask) {
    if (known_.stencilWriteMask && stencilWriteMask_ == mask)
        return;
    gl_.StencilMask(mask);
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

namespace platform::device {
namespace {

void Enable(const GlFunctions& gl, GLenum capability, bool enabled) {
    if (enabled)
        gl.Enable(capability);
    else
        gl.Disable(capability);
}

} // namespace

void GlStateCache::SetBlend(const GlBlendState& blend) {
    if (known_.blend && blend_ == blend)
        return;
    const bool all = !known_.blend;
    if (all || blend.enabled != blend_.enabled)
        Enable(gl_, GL_BLEND, blend.enabled);
    if (all || blend.sourceColor != blend_.sourceColor || blend.destColor != blend_.destColor ||
        blend.sourceAlpha != blend_.sourceAlpha || blend.destAlpha != blend_.destAlpha)
        gl_.BlendFuncSeparate(blend.sourceColor, blend.destColor, blend.sourceAlpha, blend.destAlpha);
    if (all || blend.equationColor != blend_.equationColor || blend.equationAlpha != blend_.equationAlpha)
        gl_.BlendEquationSeparate(blend.equationColor, blend.equationAlpha);
    if (all || blend.constant != blend_.constant)
        gl_.BlendColor(blend.constant[0], blend.constant[1], blend.constant[2], blend.constant[3]);
    blend_ = blend;
    known_.blend = true;
}

void GlStateCache::SetDepthStencil(const GlDepthStencilState& state) {
    if (known_.depthStencil && depthStencil_ == state)
        return;
    const bool all = !known_.depthStencil;
    if (all || state.depthTest != depthStencil_.depthTest)
        Enable(gl_, GL_DEPTH_TEST, state.depthTest);
    if (all || state.depthFunc != depthStencil_.depthFunc)
        gl_.DepthFunc(state.depthFunc);
    if (all || state.stencilTest != depthStencil_.stencilTest)
        Enable(gl_, GL_STENCIL_TEST, state.stencilTest);
    const GlStencilFace* faces[2] = {&state.front, &state.back};
    const GlStencilFace* old[2] = {&depthStencil_.front, &depthStencil_.back};
    const GLenum names[2] = {GL_FRONT, GL_BACK};
    for (int i = 0; i < 2; ++i) {
        const GlStencilFace& f = *faces[i];
        if (all || f.func != old[i]->func || f.reference != old[i]->reference ||
            f.readMask != old[i]->readMask)
            gl_.StencilFuncSeparate(names[i], f.func, f.reference, f.readMask);
        if (all || f.fail != old[i]->fail || f.depthFail != old[i]->depthFail || f.pass != old[i]->pass)
            gl_.StencilOpSeparate(names[i], f.fail, f.depthFail, f.pass);
    }
    depthStencil_ = state;
    known_.depthStencil = true;
}

void GlStateCache::SetRaster(const GlRasterState& raster) {
    if (known_.raster && raster_ == raster)
        return;
    const bool all = !known_.raster;
    if (all || raster.cull != raster_.cull)
        Enable(gl_, GL_CULL_FACE, raster.cull);
    if (all || raster.cullFace != raster_.cullFace)
        gl_.CullFace(raster.cullFace);
    if (all || raster.polygonMode != raster_.polygonMode)
        gl_.PolygonMode(GL_FRONT_AND_BACK, raster.polygonMode);
    if (all || raster.offsetFactor != raster_.offsetFactor) {
        const bool offset = raster.offsetFactor != 0.0f;
        Enable(gl_, GL_POLYGON_OFFSET_FILL, offset);
        Enable(gl_, GL_POLYGON_OFFSET_LINE, offset);
        Enable(gl_, GL_POLYGON_OFFSET_POINT, offset);
        gl_.PolygonOffset(raster.offsetFactor, 0.0f);
    }
    raster_ = raster;
    known_.raster = true;
}

void GlStateCache::SetViewport(const GlRect& viewport, float minDepth, float maxDepth) {
    const std::array<float, 2> range{minDepth, maxDepth};
    if (known_.viewport && viewport_ == viewport && depthRange_ == range)
        return;
    gl_.Viewport(viewport.x, viewport.y, viewport.width, viewport.height);
    gl_.DepthRangef(minDepth, maxDepth);
    viewport_ = viewport;
    depthRange_ = range;
    known_.viewport = true;
}

void GlStateCache::SetClipDistances(unsigned mask) {
    if (known_.clipDistances && clipDistances_ == mask)
        return;
    for (unsigned i = 0; i < 6; ++i) {
        const unsigned bit = 1u << i;
        if (!known_.clipDistances || (mask & bit) != (clipDistances_ & bit))
            Enable(gl_, GL_CLIP_DISTANCE0 + i, (mask & bit) != 0);
    }
    clipDistances_ = mask;
    known_.clipDistances = true;
}

void GlStateCache::BindVertexArray(GLuint vertexArray) {
    if (known_.vertexArray && vertexArray_ == vertexArray)
        return;
    gl_.BindVertexArray(vertexArray);
    vertexArray_ = vertexArray;
    known_.vertexArray = true;
}

void GlStateCache::BindProgramPipeline(GLuint pipeline) {
    if (known_.programPipeline && programPipeline_ == pipeline)
        return;
    // A program made current with glUseProgram would take precedence over any pipeline.
    gl_.UseProgram(0);
    gl_.BindProgramPipeline(pipeline);
    programPipeline_ = pipeline;
    known_.programPipeline = true;
}

void GlStateCache::BindTextureUnit(unsigned unit, GLuint texture) {
    if (unit >= kTextureUnits || (known_.textures[unit] && textures_[unit] == texture))
        return;
    gl_.BindTextureUnit(unit, texture);
    textures_[unit] = texture;
    known_.textures[unit] = true;
}

void GlStateCache::BindSampler(unsigned unit, GLuint sampler) {
    if (unit >= kTextureUnits || (known_.samplers[unit] && samplers_[unit] == sampler))
        return;
    gl_.BindSampler(unit, sampler);
    samplers_[unit] = sampler;
    known_.samplers[unit] = true;
}

void GlStateCache::ForgetTextureUnit(unsigned unit) {
    if (unit < kTextureUnits)
        known_.textures[unit] = false;
}

void GlStateCache::ForgetTexture(GLuint texture) {
    for (unsigned unit = 0; unit < kTextureUnits; ++unit)
        if (textures_[unit] == texture)
            known_.textures[unit] = false;
}

} // namespace platform::device
