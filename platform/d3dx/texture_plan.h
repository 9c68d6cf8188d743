// What a texture made from a file will be: its size, format and mip levels, derived from the file and
// from the caller's request the way D3DX documents it (D3DX_DEFAULT rounds the file's size up to a
// power of two, D3DX_DEFAULT_NONPOW2 keeps it where the device allows, D3DX_FROM_FILE takes it as it is;
// 0 or D3DX_DEFAULT levels make a complete chain; D3DFMT_UNKNOWN takes the file's format, or the
// nearest one the device supports).
#ifndef VTR3_PLATFORM_D3DX_TEXTURE_PLAN_H
#define VTR3_PLATFORM_D3DX_TEXTURE_PLAN_H

#include "image/image.h"
#include "image/texture_image.h"

#include <functional>

namespace platform::d3dx {

struct TextureRequest {
    UINT width, height, depth, levels;
    D3DFORMAT format;
};

struct DeviceLimits {
    bool pow2Only = false;
    UINT maxWidth = 16384, maxHeight = 16384, maxDepth = 2048;
    // Whether the device accepts a format for this kind of texture (always true when unknown).
    std::function<bool(D3DFORMAT)> supports = [](D3DFORMAT) { return true; };
};

// The device's caps and its format support for textures of this type and usage, through the public API.
DeviceLimits QueryDeviceLimits(IDirect3DDevice9* device, D3DRESOURCETYPE type, DWORD usage);

// fileFormat is the format D3DXIMAGE_INFO reports (for D3DFMT_FROM_FILE).
image::TextureShape PlanTexture(const image::Image& file, D3DFORMAT fileFormat, const TextureRequest& request,
                                const DeviceLimits& limits);

} // namespace platform::d3dx

#endif
