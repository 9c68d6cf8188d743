// Creation of textures, surfaces and buffers, with the argument checks of Direct3D 9: a format or
// usage the device cannot take is D3DERR_INVALIDCALL here (CheckDeviceFormat says NOTAVAILABLE).
#include "device/device.h"

#include "device/cube_texture.h"
#include "device/format_table.h"
#include "device/buffer.h"
#include "device/surface.h"
#include "device/texture.h"
#include "device/volume_texture.h"

#include <algorithm>

namespace platform::device {
namespace {

constexpr DWORD kTextureUsages = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC |
                                 D3DUSAGE_AUTOGENMIPMAP | D3DUSAGE_SOFTWAREPROCESSING;
constexpr DWORD kBufferUsages = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC | D3DUSAGE_DONOTCLIP | D3DUSAGE_POINTS |
                                D3DUSAGE_RTPATCHES | D3DUSAGE_NPATCHES | D3DUSAGE_SOFTWAREPROCESSING;

template <typename T> bool ClearOut(T** out) {
    if (!out)
        return false;
    *out = nullptr;
    return true;
}

bool ValidPool(D3DPOOL pool) {
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM ||
           pool == D3DPOOL_SCRATCH;
}

UINT FullChain(UINT width, UINT height, UINT depth) {
    UINT levels = 1;
    for (UINT size = std::max({width, height, depth}); size > 1; size >>= 1)
        ++levels;
    return levels;
}

// Checks a texture request as Direct3D 9 does and fills the storage description.
HRESULT DescribeTexture(StorageKind kind, UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                        D3DFORMAT format, D3DPOOL pool, UINT maxExtent, StorageDesc* desc) {
    if (width == 0 || height == 0 || depth == 0 || width > maxExtent || height > maxExtent ||
        depth > maxExtent)
        return D3DERR_INVALIDCALL;
    if (!ValidPool(pool) || (usage & ~kTextureUsages))
        return D3DERR_INVALIDCALL;
    const DWORD targetUsage = usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL);
    // Render targets and depth buffers live in video memory only and are never dynamic.
    if (targetUsage && (pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC)))
        return D3DERR_INVALIDCALL;
    if (targetUsage == (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL))
        return D3DERR_INVALIDCALL;
    if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    const UINT chain = FullChain(width, height, depth);
    if (usage & D3DUSAGE_AUTOGENMIPMAP) {
        if (pool == D3DPOOL_SYSTEMMEM || levels > 1)
            return D3DERR_INVALIDCALL;
    } else if (levels > chain) {
        return D3DERR_INVALIDCALL;
    }
    const D3DRESOURCETYPE type = kind == StorageKind::kCube     ? D3DRTYPE_CUBETEXTURE
                                 : kind == StorageKind::kVolume ? D3DRTYPE_VOLUMETEXTURE
                                                                : D3DRTYPE_TEXTURE;
    const HRESULT use = CheckFormatUse(format, type, usage & (targetUsage | D3DUSAGE_AUTOGENMIPMAP));
    if (FAILED(use))
        return D3DERR_INVALIDCALL;
    // A format that cannot generate its levels gets the texture without them, as Direct3D does.
    if (use == D3DOK_NOAUTOGEN)
        usage &= ~DWORD(D3DUSAGE_AUTOGENMIPMAP);
    desc->kind = kind;
    desc->format = FindFormat(format);
    desc->width = width;
    desc->height = height;
    desc->depth = depth;
    desc->levels = (usage & D3DUSAGE_AUTOGENMIPMAP) ? 1 : (levels == 0 ? chain : levels);
    desc->usage = usage;
    desc->pool = pool;
    desc->lockable = (usage & D3DUSAGE_DYNAMIC) != 0;
    return D3D_OK;
}

} // namespace

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    if (!ClearOut(texture) || sharedHandle)
        return D3DERR_INVALIDCALL;
    StorageDesc desc;
    const HRESULT result = DescribeTexture(StorageKind::k2D, width, height, 1, levels, usage, format, pool,
                                           caps_.MaxTextureWidth, &desc);
    if (FAILED(result))
        return result;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return Texture::Create(this, desc, texture);
}

HRESULT Device::CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                    D3DFORMAT format, D3DPOOL pool, IDirect3DVolumeTexture9** texture,
                                    HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    if (!ClearOut(texture) || sharedHandle)
        return D3DERR_INVALIDCALL;
    StorageDesc desc;
    const HRESULT result = DescribeTexture(StorageKind::kVolume, width, height, depth, levels, usage, format,
                                           pool, caps_.MaxVolumeExtent, &desc);
    if (FAILED(result))
        return result;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return VolumeTexture::Create(this, desc, texture);
}

HRESULT Device::CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DCubeTexture9** texture, HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    if (!ClearOut(texture) || sharedHandle)
        return D3DERR_INVALIDCALL;
    StorageDesc desc;
    const HRESULT result = DescribeTexture(StorageKind::kCube, edgeLength, edgeLength, 1, levels, usage,
                                           format, pool, caps_.MaxTextureWidth, &desc);
    if (FAILED(result))
        return result;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return CubeTexture::Create(this, desc, texture);
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                   IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    if (!ClearOut(buffer) || sharedHandle || length == 0 || (usage & ~kBufferUsages))
        return D3DERR_INVALIDCALL;
    // Buffers are never scratch resources, and a managed buffer is not dynamic.
    if (!ValidPool(pool) || pool == D3DPOOL_SCRATCH ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return VertexBuffer::Create(
        this, D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf},
        buffer);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    if (!ClearOut(buffer) || sharedHandle || length == 0 || (usage & ~kBufferUsages))
        return D3DERR_INVALIDCALL;
    if (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)
        return D3DERR_INVALIDCALL;
    if (!ValidPool(pool) || pool == D3DPOOL_SCRATCH ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return IndexBuffer::Create(this, D3DINDEXBUFFER_DESC{format, D3DRTYPE_INDEXBUFFER, usage, pool, length},
                               buffer);
}

namespace {

// A surface of its own with one public reference.
HRESULT CreateSurface(Device* device, const D3DSURFACE_DESC& desc, bool lockable, UINT maxExtent,
                      IDirect3DSurface9** surface) {
    if (desc.Width == 0 || desc.Height == 0 || desc.Width > maxExtent || desc.Height > maxExtent)
        return D3DERR_INVALIDCALL;
    if (FAILED(CheckFormatUse(desc.Format, D3DRTYPE_SURFACE, desc.Usage)))
        return D3DERR_INVALIDCALL;
    Surface* created = nullptr;
    const HRESULT result = Surface::CreateStandalone(device, desc, lockable, false, &created);
    if (FAILED(result))
        return result;
    created->AddRef();
    *surface = created;
    return D3D_OK;
}

} // namespace

HRESULT Device::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                   DWORD multisampleQuality, BOOL lockable, IDirect3DSurface9** surface,
                                   HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    // Multisampling is not offered (CheckDeviceMultiSampleType says so).
    if (!ClearOut(surface) || sharedHandle || multiSample != D3DMULTISAMPLE_NONE || multisampleQuality != 0)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC desc{
        format, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0, width,
        height};
    return CreateSurface(this, desc, lockable != FALSE, caps_.MaxTextureWidth, surface);
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                          D3DMULTISAMPLE_TYPE multiSample, DWORD multisampleQuality,
                                          BOOL /*discard*/, IDirect3DSurface9** surface,
                                          HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    if (!ClearOut(surface) || sharedHandle || multiSample != D3DMULTISAMPLE_NONE || multisampleQuality != 0)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC desc{
        format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0, width,
        height};
    return CreateSurface(this, desc, false, caps_.MaxTextureWidth, surface);
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE* sharedHandle) {
    const DeviceLock lock(this);
    // An offscreen plain surface is never managed; in video memory it is still lockable.
    if (!ClearOut(surface) || sharedHandle || !ValidPool(pool) || pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, 0, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    return CreateSurface(this, desc, true, caps_.MaxTextureWidth, surface);
}

} // namespace platform::device
