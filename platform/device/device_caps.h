// The capabilities of the device over OpenGL 4.5: one function fills D3DCAPS9 for both
// IDirect3D9::GetDeviceCaps and IDirect3DDevice9::GetDeviceCaps, so the two always agree.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_CAPS_H
#define VTR3_PLATFORM_DEVICE_DEVICE_CAPS_H

#include "device/gl_limits.h"

#include <d3d9caps.h>

namespace platform::device {

// Fixed by the device rather than by GL: Direct3D 9 has eight texture stages and six user clip planes.
constexpr DWORD kTextureStages = 8;
constexpr DWORD kUserClipPlanes = 6;
constexpr DWORD kVertexShaderConstants = 256;

void FillDeviceCaps(const GlLimits& limits, D3DCAPS9* caps);
// Whether the caps claim a D3DTOP_* operation (TextureOpCaps), which the pixel stage then draws.
bool TextureOpClaimed(DWORD op);

} // namespace platform::device

#endif
