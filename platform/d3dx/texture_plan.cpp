#include "d3dx/texture_plan.h"

#include "com/com_ref.h"
#include "image/pixel_format.h"

namespace platform::d3dx {
namespace {

UINT NextPowerOfTwo(UINT size) {
    UINT power = 1;
    while (power < size && power < 0x80000000u)
        power <<= 1;
    return power;
}

UINT ChooseSize(UINT requested, UINT fromFile, UINT max, const DeviceLimits& limits) {
    UINT size;
    if (requested == D3DX_FROM_FILE)
        return fromFile;
    if (requested == 0 || requested == D3DX_DEFAULT)
        size = NextPowerOfTwo(fromFile);
    else if (requested == D3DX_DEFAULT_NONPOW2)
        size = limits.pow2Only ? NextPowerOfTwo(fromFile) : fromFile;
    else
        size = limits.pow2Only ? NextPowerOfTwo(requested) : requested;
    while (size > max && size > 1)
        size = size / 2 + (limits.pow2Only ? 0 : size % 2);
    return size;
}

D3DFORMAT ChooseFormat(const image::Image& file, D3DFORMAT fileFormat, D3DFORMAT requested,
                       const DeviceLimits& limits) {
    if (requested == D3DFMT_FROM_FILE)
        return fileFormat;
    const D3DFORMAT wanted = requested == D3DFMT_UNKNOWN ? file.format : requested;
    if (limits.supports(wanted))
        return wanted;
    const image::FormatInfo* info = image::FindFormat(wanted);
    const bool alpha = info ? info->alpha : true;
    if (image::IsBlockCompressed(wanted) || alpha)
        return D3DFMT_A8R8G8B8;
    return limits.supports(D3DFMT_X8R8G8B8) ? D3DFMT_X8R8G8B8 : D3DFMT_A8R8G8B8;
}

} // namespace

DeviceLimits QueryDeviceLimits(IDirect3DDevice9* device, D3DRESOURCETYPE type, DWORD usage) {
    DeviceLimits limits;
    D3DCAPS9 caps{};
    if (SUCCEEDED(device->GetDeviceCaps(&caps))) {
        const DWORD pow2 = type == D3DRTYPE_CUBETEXTURE     ? D3DPTEXTURECAPS_CUBEMAP_POW2
                           : type == D3DRTYPE_VOLUMETEXTURE ? D3DPTEXTURECAPS_VOLUMEMAP_POW2
                                                            : D3DPTEXTURECAPS_POW2;
        limits.pow2Only =
            (caps.TextureCaps & pow2) && !(caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL);
        if (type == D3DRTYPE_VOLUMETEXTURE) {
            limits.maxWidth = limits.maxHeight = limits.maxDepth =
                caps.MaxVolumeExtent ? caps.MaxVolumeExtent : 1;
        } else {
            limits.maxWidth = caps.MaxTextureWidth ? caps.MaxTextureWidth : 1;
            limits.maxHeight = caps.MaxTextureHeight ? caps.MaxTextureHeight : 1;
        }
    }
    IDirect3D9* direct3d = nullptr;
    D3DDEVICE_CREATION_PARAMETERS creation{};
    D3DDISPLAYMODE mode{};
    if (SUCCEEDED(device->GetDirect3D(&direct3d)) && direct3d) {
        const com::Ref<IDirect3D9> owner(direct3d);
        direct3d->Release(); // the Ref holds its own reference
        if (SUCCEEDED(device->GetCreationParameters(&creation)) &&
            SUCCEEDED(device->GetDisplayMode(0, &mode)))
            limits.supports = [owner, creation, mode, type, usage](D3DFORMAT format) {
                return SUCCEEDED(owner->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType,
                                                          mode.Format, usage, type, format));
            };
    }
    return limits;
}

image::TextureShape PlanTexture(const image::Image& file, D3DFORMAT fileFormat, const TextureRequest& request,
                                const DeviceLimits& limits) {
    image::TextureShape shape{};
    shape.format = ChooseFormat(file, fileFormat, request.format, limits);
    shape.width = ChooseSize(request.width, file.width, limits.maxWidth, limits);
    shape.height = ChooseSize(request.height, file.height, limits.maxHeight, limits);
    shape.depth = ChooseSize(request.depth, file.depth, limits.maxDepth, limits);
    const UINT full = image::FullMipCount(shape.width, shape.height, shape.depth);
    if (request.levels == D3DX_FROM_FILE)
        shape.levels = file.levels < full ? file.levels : full;
    else if (request.levels == 0 || request.levels == D3DX_DEFAULT)
        shape.levels = full;
    else
        shape.levels = request.levels < full ? request.levels : full;
    return shape;
}

} // namespace platform::d3dx
