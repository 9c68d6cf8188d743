// The state setters and getters of IDirect3DDevice9: render, texture-stage and sampler states,
// transforms, material, lights, clip planes and the scissor rectangle. Setters record the
// value and mark the GL state groups it feeds; the next draw applies them.
#include "device/device.h"

#include "device/device_state.h"

#include <d3dx9math.h>

#include <cstring>

namespace platform::device {
namespace {

// The matrix a transform state names, or null for a state Direct3D does not define.
D3DMATRIX* TransformSlot(DeviceState* state, D3DTRANSFORMSTATETYPE type) {
    const DWORD value = static_cast<DWORD>(type);
    if (value == D3DTS_VIEW)
        return &state->view;
    if (value == D3DTS_PROJECTION)
        return &state->projection;
    if (value >= D3DTS_TEXTURE0 && value <= D3DTS_TEXTURE7)
        return &state->textureTransforms[value - D3DTS_TEXTURE0];
    if (value >= 256 && value < 256 + kWorldMatrixCount)
        return &state->world[value - 256];
    return nullptr;
}

} // namespace

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    const DeviceLock lock(this);
    if (!IsRenderState(state))
        return D3DERR_INVALIDCALL;
    if (state_->renderStates[state] != value) {
        state_->renderStates[state] = value;
        state_->dirty |= RenderStateDirtyBits(state);
    }
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    const DeviceLock lock(this);
    if (!value)
        return D3DERR_INVALIDCALL;
    *value = 0;
    if (!IsRenderState(state))
        return D3DERR_INVALIDCALL;
    *value = state_->renderStates[state];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    const DeviceLock lock(this);
    if (stage >= kTextureStageCount || !IsStageState(type))
        return D3DERR_INVALIDCALL;
    DWORD& slot = state_->stageStates[stage][type];
    if (slot != value) {
        slot = value;
        state_->dirty |= StageStateDirtyBits(type);
    }
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    const DeviceLock lock(this);
    if (!value)
        return D3DERR_INVALIDCALL;
    *value = 0;
    if (stage >= kTextureStageCount || !IsStageState(type))
        return D3DERR_INVALIDCALL;
    *value = state_->stageStates[stage][type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    const DeviceLock lock(this);
    DWORD slot = 0;
    if (!SamplerSlot(sampler, &slot) || type < D3DSAMP_ADDRESSU || type >= kSamplerStateCount)
        return D3DERR_INVALIDCALL;
    DWORD& stored = state_->samplerStates[slot][type];
    if (stored != value) {
        stored = value;
        state_->dirty |= kStateSamplers;
        state_->dirtySamplers |= 1u << slot;
        if (type == D3DSAMP_SRGBTEXTURE)
            bindingDirty_ |= 1u << slot; // sRGB sampling binds the texture's sRGB view
    }
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    const DeviceLock lock(this);
    if (!value)
        return D3DERR_INVALIDCALL;
    *value = 0;
    DWORD slot = 0;
    if (!SamplerSlot(sampler, &slot) || type < D3DSAMP_ADDRESSU || type >= kSamplerStateCount)
        return D3DERR_INVALIDCALL;
    *value = state_->samplerStates[slot][type];
    return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
    const DeviceLock lock(this);
    D3DMATRIX* slot = TransformSlot(state_.get(), type);
    if (!matrix || !slot)
        return D3DERR_INVALIDCALL;
    *slot = *matrix;
    state_->dirty |= kStateVertexConstants;
    // Clip planes are given in world space and follow the view and projection; the projection
    // also decides whether table fog reads depth or eye distance.
    if (type == D3DTS_VIEW || type == D3DTS_PROJECTION)
        state_->dirty |= kStateClipPlanes;
    if (type == D3DTS_PROJECTION)
        state_->dirty |= kStatePixelConstants;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) {
    const DeviceLock lock(this);
    const D3DMATRIX* slot = TransformSlot(state_.get(), type);
    if (!matrix || !slot)
        return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
    const DeviceLock lock(this);
    const D3DMATRIX* slot = TransformSlot(state_.get(), type);
    if (!matrix || !slot)
        return D3DERR_INVALIDCALL;
    // Direct3D premultiplies: the new transform is matrix x current.
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, static_cast<const D3DXMATRIX*>(matrix),
                       static_cast<const D3DXMATRIX*>(slot));
    return SetTransform(type, &product);
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material) {
    const DeviceLock lock(this);
    if (!material)
        return D3DERR_INVALIDCALL;
    state_->material = *material;
    state_->dirty |= kStateVertexConstants;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material) {
    const DeviceLock lock(this);
    if (!material)
        return D3DERR_INVALIDCALL;
    *material = state_->material;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light) {
    const DeviceLock lock(this);
    if (!light || index >= kMaxLightIndex)
        return D3DERR_INVALIDCALL;
    if (light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL)
        return D3DERR_INVALIDCALL;
    // Direct3D refuses a spot cone whose inner angle exceeds the outer one, and negative ranges.
    if (light->Range < 0.0f ||
        (light->Type == D3DLIGHT_SPOT && (light->Theta < 0.0f || light->Phi < light->Theta)))
        return D3DERR_INVALIDCALL;
    if (index >= state_->lights.size())
        state_->lights.resize(index + 1);
    LightSlot& slot = state_->lights[index];
    slot.light = *light;
    slot.set = true;
    state_->dirty |= kStateVertexConstants | kStateVertexProgram;
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT9* light) {
    const DeviceLock lock(this);
    if (!light || index >= state_->lights.size() || !state_->lights[index].set)
        return D3DERR_INVALIDCALL;
    *light = state_->lights[index].light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
    const DeviceLock lock(this);
    if (index >= kMaxLightIndex)
        return D3DERR_INVALIDCALL;
    if (index >= state_->lights.size())
        state_->lights.resize(index + 1);
    LightSlot& slot = state_->lights[index];
    if (!slot.set) {
        // Enabling a light never set gives it Direct3D's default: white, directional, along +z.
        slot.light = D3DLIGHT9{};
        slot.light.Type = D3DLIGHT_DIRECTIONAL;
        slot.light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
        slot.light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
        slot.set = true;
    }
    const bool enabled = enable != FALSE;
    if (enabled && !slot.enabled && state_->EnabledLightCount() >= kMaxActiveLights)
        return D3DERR_INVALIDCALL;
    slot.enabled = enabled;
    state_->dirty |= kStateVertexConstants | kStateVertexProgram;
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable) {
    const DeviceLock lock(this);
    if (!enable)
        return D3DERR_INVALIDCALL;
    *enable = FALSE;
    if (index >= state_->lights.size() || !state_->lights[index].set)
        return D3DERR_INVALIDCALL;
    *enable = state_->lights[index].enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetClipPlane(DWORD index, const float* plane) {
    const DeviceLock lock(this);
    if (!plane || index >= kClipPlaneCount)
        return D3DERR_INVALIDCALL;
    std::memcpy(state_->clipPlanes[index].data(), plane, 4 * sizeof(float));
    state_->dirty |= kStateClipPlanes;
    return D3D_OK;
}

HRESULT Device::GetClipPlane(DWORD index, float* plane) {
    const DeviceLock lock(this);
    if (!plane || index >= kClipPlaneCount)
        return D3DERR_INVALIDCALL;
    std::memcpy(plane, state_->clipPlanes[index].data(), 4 * sizeof(float));
    return D3D_OK;
}

HRESULT Device::SetScissorRect(const RECT* rect) {
    const DeviceLock lock(this);
    if (!rect || rect->left > rect->right || rect->top > rect->bottom)
        return D3DERR_INVALIDCALL;
    state_->scissorRect = *rect;
    state_->dirty |= kStateOutputMasks;
    return D3D_OK;
}

HRESULT Device::GetScissorRect(RECT* rect) {
    const DeviceLock lock(this);
    if (!rect)
        return D3DERR_INVALIDCALL;
    *rect = state_->scissorRect;
    return D3D_OK;
}

void Device::ResetDrawingState() {
    state_->Reset(presentation_.EnableAutoDepthStencil != FALSE, presentation_.BackBufferWidth,
                  presentation_.BackBufferHeight);
    // No shaders: both stages are fixed-function again.
    SetShaderPrograms(0, 0);
}

} // namespace platform::device
