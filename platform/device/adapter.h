// The one adapter the platform offers: a headless display whose modes are a fixed list of common
// X8R8G8B8 resolutions, and the checks every IDirect3D9 query starts with.
#ifndef VTR3_PLATFORM_DEVICE_ADAPTER_H
#define VTR3_PLATFORM_DEVICE_ADAPTER_H

#include <d3d9types.h>

namespace platform::device {

constexpr D3DFORMAT kDisplayFormat = D3DFMT_X8R8G8B8;

// D3D_OK for adapter 0 with D3DDEVTYPE_HAL, D3DERR_NOTAVAILABLE for the device types that exist but
// are not offered (reference and software rasterisers), D3DERR_INVALIDCALL for anything else.
HRESULT CheckAdapter(UINT adapter, D3DDEVTYPE type);

UINT DisplayModeCount(D3DFORMAT format);
// False past the end of the list or for a format without modes.
bool DisplayModeAt(D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode);
// The mode the headless desktop runs in.
D3DDISPLAYMODE DesktopMode();

bool IsBackBufferFormat(D3DFORMAT format);

} // namespace platform::device

#endif
