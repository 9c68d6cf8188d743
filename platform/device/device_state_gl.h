// Direct3D state translated to the GL state it stands for. Pure functions over the state mirror,
// with one table per enumeration, so the translation can be checked without a context.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_STATE_GL_H
#define VTR3_PLATFORM_DEVICE_DEVICE_STATE_GL_H

#include "device/device_state.h"
#include "device/gl_state_cache.h"

namespace platform::device {

GlBlendState BlendStateOf(const DeviceState& state);
// Depth testing needs a depth-stencil surface; without one Direct3D draws as if the test were off.
GlDepthStencilState DepthStencilStateOf(const DeviceState& state, bool hasDepthStencil);
GlRasterState RasterStateOf(const DeviceState& state);
// D3DRS_DEPTHBIAS in the units of clip-space z over w, for the viewport's depth range: added there,
// it moves the depth written by exactly the bias.
float DepthBiasOf(const DeviceState& state, const D3DVIEWPORT9& viewport);
// The far end of the depth range a draw uses: Windows' runtime widens a range narrower than 0.001
// (MaxZ at or below MinZ included) to MinZ + 0.001.
float FarDepthOf(const D3DVIEWPORT9& viewport);
// D3DRS_COLORWRITEENABLE as red, green, blue, alpha.
void ColorMaskOf(const DeviceState& state, bool mask[4]);

// Writes a sampler slot's Direct3D sampler state into a GL sampler object.
void ApplySamplerState(const std::array<DWORD, kSamplerStateCount>& sampler, GLuint glSampler);

} // namespace platform::device

#endif
