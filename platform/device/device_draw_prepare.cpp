// The one step before every draw: brings GL up to date with the state groups marked dirty since
// the last draw, selects the programs and sets the vertex epilogue's uniforms.
#include "device/device.h"

#include "device/base_texture.h"
#include "device/device_draw_path.h"
#include "device/device_state.h"
#include "device/device_state_gl.h"
#include "device/shader_interface.h"
#include "device/surface.h"

#include <cstring>

namespace platform::device {
namespace {

void ApplyVertexInput(GLuint vertexArray, const VertexInput& input) {
    for (GLuint location = 0; location < kAttributeCount; ++location)
        glDisableVertexArrayAttrib(vertexArray, location);
    for (unsigned i = 0; i < input.attributeCount; ++i) {
        const VertexAttribute& a = input.attributes[i];
        glEnableVertexArrayAttrib(vertexArray, a.location);
        glVertexArrayAttribFormat(vertexArray, a.location, a.size, a.type, a.normalised ? GL_TRUE : GL_FALSE,
                                  a.offset);
        glVertexArrayAttribBinding(vertexArray, a.location, a.stream);
    }
}

bool SameViewport(const D3DVIEWPORT9& a, const D3DVIEWPORT9& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

StageTextureKind KindOf(const BaseTexture* texture) {
    if (!texture)
        return StageTextureKind::kNone;
    switch (texture->GlTarget()) {
    case GL_TEXTURE_CUBE_MAP:
        return StageTextureKind::kCube;
    case GL_TEXTURE_3D:
        return StageTextureKind::kVolume;
    default:
        return StageTextureKind::k2d;
    }
}

} // namespace

void Device::BindTextures() {
    DrawPath& path = *drawPath_;
    const std::uint32_t changed = BindingDirtyBits() & kDirtyTextures;
    // Sampler slot n is texture unit n: the pixel samplers, the displacement map, the vertex samplers.
    static_assert(kPixelSamplerCount + 1 == kVertexSamplerUnit0 &&
                  kVertexSamplerUnit0 + kVertexSamplers == kSamplerSlotCount &&
                  kSamplerSlotCount == kTextureSlots);
    for (unsigned slot = 0; slot < kSamplerSlotCount; ++slot) {
        BaseTexture* texture = textures_[slot];
        if (texture)
            texture->PrepareForSampling(); // brings stale mip levels of render targets up to date
        if (!(changed & (1u << slot)))
            continue;
        gl_.ForgetTextureUnit(slot);
        const bool srgb = texture && state_->samplerStates[slot][D3DSAMP_SRGBTEXTURE] != 0;
        gl_.BindTextureUnit(slot, !texture ? 0 : srgb ? texture->Storage().SrgbName() : texture->GlName());
        if (slot < kFixedStages && path.textureKinds[slot] != KindOf(texture)) {
            path.textureKinds[slot] = KindOf(texture);
            state_->dirty |= kStateTextures;
        }
    }
    ClearBindingDirtyBits(kDirtyTextures);
}

bool Device::PrepareDraw(UINT /*stride*/) {
    DeviceState& state = *state_;
    DrawPath& path = *drawPath_;
    // Without a declaration or a vertex format nothing says where positions are.
    if (!declaration_ && state.fvf == 0)
        return false;
    BindRenderFramebuffer();
    gl_.BindVertexArray(path.vertexArray);
    BindTextures();
    gl_.BindProgramPipeline(path.pipeline);

    if (!SameViewport(viewport_, path.appliedViewport)) {
        path.appliedViewport = viewport_;
        gl_.SetViewport(GlRect{static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y),
                               static_cast<GLsizei>(viewport_.Width), static_cast<GLsizei>(viewport_.Height)},
                        viewport_.MinZ, FarDepthOf(viewport_));
        // Half a pixel, in clip units of the viewport: pixel centres at integer coordinates.
        path.positionFixup[0] = viewport_.Width ? 1.0f / static_cast<float>(viewport_.Width) : 0.0f;
        path.positionFixup[1] = viewport_.Height ? 1.0f / static_cast<float>(viewport_.Height) : 0.0f;
        path.epilogueDirty = true;
        state.dirty |= kStateVertexConstants;
    }
    if ((state.dirty & kStateRasterizer) || path.epilogueDirty) {
        const float bias = DepthBiasOf(state, viewport_);
        path.epilogueDirty |= bias != path.positionFixup[2];
        path.positionFixup[2] = bias;
    }
    const std::uint32_t dirty = state.dirty;
    if (dirty & kStateVertexInput) {
        path.input = &CurrentInput();
        ApplyVertexInput(path.vertexArray, *path.input);
    }
    const FvfLayout& layout = path.input->layout;
    if (layout.position == PositionKind::kNone)
        return false;

    // Programs: the effect's where it set one, otherwise the generated fixed-function ones.
    if (dirty & (kStateVertexProgram | kStateVertexInput))
        BuildVertexProgramKey(state, layout, &path.vertexKey);
    if (dirty & (kStatePixelProgram | kStateTextures))
        BuildPixelProgramKey(state, path.textureKinds, &path.pixelKey);
    const GLuint vertexProgram =
        path.shaderVertexProgram ? path.shaderVertexProgram : path.programs.VertexProgram(path.vertexKey);
    const GLuint pixelProgram =
        path.shaderPixelProgram ? path.shaderPixelProgram : path.programs.PixelProgram(path.pixelKey);
    if (!vertexProgram || !pixelProgram)
        return false;
    if (vertexProgram != path.vertexStage) {
        glUseProgramStages(path.pipeline, GL_VERTEX_SHADER_BIT, vertexProgram);
        path.vertexStage = vertexProgram;
        state.dirty |= kStateClipPlanes; // fixed-function and shader planes differ in space
    }
    if (pixelProgram != path.pixelStage) {
        glUseProgramStages(path.pipeline, GL_FRAGMENT_SHADER_BIT, pixelProgram);
        path.pixelStage = pixelProgram;
    }

    if (state.dirty & kStateVertexConstants) {
        FillFixedVertexBlock(state, viewport_, &path.vertexBlock);
        glNamedBufferSubData(path.vertexBlockBuffer, 0, sizeof path.vertexBlock, &path.vertexBlock);
    }
    if (state.dirty & kStatePixelConstants) {
        FillFixedPixelBlock(state, &path.pixelBlock);
        glNamedBufferSubData(path.pixelBlockBuffer, 0, sizeof path.pixelBlock, &path.pixelBlock);
    }
    if (state.dirty & kStateClipPlanes) {
        const bool screenSpace = !path.shaderVertexProgram && layout.position == PositionKind::kXyzRhw;
        const unsigned enabled = screenSpace ? 0u : state.renderStates[D3DRS_CLIPPLANEENABLE] & 0x3Fu;
        float planes[kClipPlaneCount][4];
        if (path.shaderVertexProgram)
            std::memcpy(planes, state.clipPlanes.data(), sizeof planes); // already in clip space
        else
            ClipSpacePlanes(state, planes);
        // llvmpipe applies every distance a shader writes: disabled planes must clip nothing.
        for (unsigned i = 0; i < kClipPlaneCount; ++i)
            if (!(enabled & (1u << i)))
                std::memset(planes[i], 0, sizeof planes[i]);
        if (std::memcmp(planes, path.clipPlanes, sizeof planes) != 0) {
            std::memcpy(path.clipPlanes, planes, sizeof planes);
            path.epilogueDirty = true;
        }
        gl_.SetClipDistances(enabled);
    }
    if (path.epilogueDirty || path.epilogueProgram != vertexProgram) {
        glProgramUniform4fv(vertexProgram, kPositionFixupLocation, 1, path.positionFixup);
        glProgramUniform4fv(vertexProgram, kClipPlanesLocation, kClipPlaneCount, &path.clipPlanes[0][0]);
        path.epilogueProgram = vertexProgram;
        path.epilogueDirty = false;
    }

    if (state.dirty & kStateBlend)
        gl_.SetBlend(BlendStateOf(state));
    gl_.SetDepthStencil(DepthStencilStateOf(state, depthStencil_.Get() != nullptr));
    if (state.dirty & kStateRasterizer)
        gl_.SetRaster(RasterStateOf(state));
    // Clear sets masks and scissor of its own through the same cache; these compare cheaply.
    bool mask[4];
    ColorMaskOf(state, mask);
    gl_.SetColorMask(mask[0], mask[1], mask[2], mask[3]);
    gl_.SetDepthMask(state.renderStates[D3DRS_ZWRITEENABLE] != 0);
    gl_.SetStencilWriteMask(state.renderStates[D3DRS_STENCILWRITEMASK] & 0xFF);
    const bool scissor = state.renderStates[D3DRS_SCISSORTESTENABLE] != 0;
    gl_.SetScissorTest(scissor);
    if (scissor) {
        const RECT& r = state.scissorRect;
        gl_.SetScissorBox(GlRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    if (state.dirty & kStateSamplers) {
        for (unsigned slot = 0; slot < kSamplerSlotCount; ++slot) {
            if (state.dirtySamplers & (1u << slot))
                ApplySamplerState(state.samplerStates[slot], path.samplers[slot]);
            gl_.BindSampler(slot, path.samplers[slot]);
        }
        state.dirtySamplers = 0;
    }
    state.dirty = 0;
    return true;
}

} // namespace platform::device
