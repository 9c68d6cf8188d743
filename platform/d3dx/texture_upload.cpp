#include "d3dx/texture_upload.h"

#include "com/com_ref.h"
#include "image/pixel_format.h"
#include "image/texture_image.h"

#include <cstring>

namespace platform::d3dx {
namespace {

void CopyRows(const std::uint8_t* source, std::size_t rowBytes, std::size_t rows, std::size_t sourcePitch,
              std::uint8_t* target, std::size_t targetPitch) {
    for (std::size_t row = 0; row < rows; ++row)
        std::memcpy(target + row * targetPitch, source + row * sourcePitch, rowBytes);
}

HRESULT FillLevel(IDirect3DTexture9* texture, const image::Image& image, UINT, UINT level) {
    D3DLOCKED_RECT locked{};
    HRESULT result = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(result))
        return result;
    CopyRows(image.Data(0, level), image.RowPitch(level), image.RowCount(level), image.RowPitch(level),
             static_cast<std::uint8_t*>(locked.pBits), static_cast<std::size_t>(locked.Pitch));
    return texture->UnlockRect(level);
}

HRESULT FillLevel(IDirect3DCubeTexture9* texture, const image::Image& image, UINT face, UINT level) {
    D3DLOCKED_RECT locked{};
    const auto cubeFace = static_cast<D3DCUBEMAP_FACES>(face);
    HRESULT result = texture->LockRect(cubeFace, level, &locked, nullptr, 0);
    if (FAILED(result))
        return result;
    CopyRows(image.Data(face, level), image.RowPitch(level), image.RowCount(level), image.RowPitch(level),
             static_cast<std::uint8_t*>(locked.pBits), static_cast<std::size_t>(locked.Pitch));
    return texture->UnlockRect(cubeFace, level);
}

HRESULT FillLevel(IDirect3DVolumeTexture9* texture, const image::Image& image, UINT, UINT level) {
    D3DLOCKED_BOX locked{};
    HRESULT result = texture->LockBox(level, &locked, nullptr, 0);
    if (FAILED(result))
        return result;
    for (UINT slice = 0; slice < image.LevelDepth(level); ++slice)
        CopyRows(image.Data(0, level) + slice * image.SlicePitch(level), image.RowPitch(level),
                 image.RowCount(level), image.RowPitch(level),
                 static_cast<std::uint8_t*>(locked.pBits) +
                     std::size_t{slice} * static_cast<std::size_t>(locked.SlicePitch),
                 static_cast<std::size_t>(locked.RowPitch));
    return texture->UnlockBox(level);
}

template <typename Texture> HRESULT Fill(Texture* texture, const image::Image& image) {
    for (UINT face = 0; face < image.faces; ++face)
        for (UINT level = 0; level < image.levels; ++level)
            if (HRESULT result = FillLevel(texture, image, face, level); FAILED(result))
                return result;
    return D3D_OK;
}

HRESULT Create(IDirect3DDevice9* device, const image::Image& image, DWORD usage, D3DPOOL pool,
               IDirect3DTexture9** texture) {
    return device->CreateTexture(image.width, image.height, image.levels, usage, image.format, pool, texture,
                                 nullptr);
}
HRESULT Create(IDirect3DDevice9* device, const image::Image& image, DWORD usage, D3DPOOL pool,
               IDirect3DCubeTexture9** texture) {
    return device->CreateCubeTexture(image.width, image.levels, usage, image.format, pool, texture, nullptr);
}
HRESULT Create(IDirect3DDevice9* device, const image::Image& image, DWORD usage, D3DPOOL pool,
               IDirect3DVolumeTexture9** texture) {
    return device->CreateVolumeTexture(image.width, image.height, image.depth, image.levels, usage,
                                       image.format, pool, texture, nullptr);
}

// A default-pool texture that is not dynamic cannot be locked: fill a system-memory twin and let the
// device copy it.
template <typename Texture>
HRESULT CreateAndFill(IDirect3DDevice9* device, const image::Image& image, DWORD usage, D3DPOOL pool,
                      IDirect3DBaseTexture9** out) {
    Texture* created = nullptr;
    HRESULT result = Create(device, image, usage, pool, &created);
    if (FAILED(result))
        return result;
    com::Ref<Texture> texture(created);
    created->Release();
    if (pool == D3DPOOL_DEFAULT && !(usage & D3DUSAGE_DYNAMIC)) {
        Texture* staging = nullptr;
        result = Create(device, image, 0, D3DPOOL_SYSTEMMEM, &staging);
        if (FAILED(result))
            return result;
        com::Ref<Texture> stagingRef(staging);
        staging->Release();
        result = Fill(staging, image);
        if (SUCCEEDED(result))
            result = device->UpdateTexture(staging, texture.Get());
    } else {
        result = Fill(texture.Get(), image);
    }
    if (FAILED(result))
        return result;
    texture->AddRef();
    *out = texture.Get();
    return D3D_OK;
}

} // namespace

HRESULT CreateTextureFromImage(IDirect3DDevice9* device, const image::Image& image, DWORD usage, D3DPOOL pool,
                               IDirect3DBaseTexture9** texture) {
    *texture = nullptr;
    switch (image.type) {
    case D3DRTYPE_CUBETEXTURE:
        return CreateAndFill<IDirect3DCubeTexture9>(device, image, usage, pool, texture);
    case D3DRTYPE_VOLUMETEXTURE:
        return CreateAndFill<IDirect3DVolumeTexture9>(device, image, usage, pool, texture);
    default:
        return CreateAndFill<IDirect3DTexture9>(device, image, usage, pool, texture);
    }
}

namespace {

HRESULT CopyLocked(IDirect3DSurface9* surface, const D3DSURFACE_DESC& desc, const RECT& rect,
                   image::Image* out) {
    D3DLOCKED_RECT locked{};
    HRESULT result = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(result))
        return result;
    const UINT width = static_cast<UINT>(rect.right - rect.left);
    const UINT height = static_cast<UINT>(rect.bottom - rect.top);
    image::Image whole;
    if (!image::Allocate(&whole, desc.Format, D3DRTYPE_TEXTURE, desc.Width, desc.Height, 1, 1, 1)) {
        surface->UnlockRect();
        return D3DERR_NOTAVAILABLE;
    }
    CopyRows(static_cast<const std::uint8_t*>(locked.pBits), whole.RowPitch(0), whole.RowCount(0),
             static_cast<std::size_t>(locked.Pitch), whole.bytes.data(), whole.RowPitch(0));
    surface->UnlockRect();
    if (width == desc.Width && height == desc.Height) {
        *out = std::move(whole);
        return D3D_OK;
    }
    // Cropping works on texels: a block-compressed surface is decoded first.
    image::Image texels;
    if (FAILED(image::ConvertImage(whole, D3DFMT_A8R8G8B8, &texels)) ||
        !image::Allocate(out, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, width, height, 1, 1, 1))
        return D3DERR_NOTAVAILABLE;
    CopyRows(texels.bytes.data() + std::size_t(rect.top) * texels.RowPitch(0) + std::size_t(rect.left) * 4,
             std::size_t{width} * 4, height, texels.RowPitch(0), out->bytes.data(), out->RowPitch(0));
    return D3D_OK;
}

} // namespace

HRESULT ReadSurface(IDirect3DSurface9* surface, const RECT* rect, image::Image* out) {
    D3DSURFACE_DESC desc{};
    HRESULT result = surface->GetDesc(&desc);
    if (FAILED(result))
        return result;
    const RECT whole{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    const RECT area = rect ? *rect : whole;
    if (area.left < 0 || area.top < 0 || area.right > whole.right || area.bottom > whole.bottom ||
        area.left >= area.right || area.top >= area.bottom)
        return D3DERR_INVALIDCALL;
    if (!image::FindFormat(desc.Format))
        return D3DERR_NOTAVAILABLE;
    if (SUCCEEDED(CopyLocked(surface, desc, area, out)))
        return D3D_OK;
    // Render targets and default-pool surfaces: copy to system memory first.
    IDirect3DDevice9* device = nullptr;
    result = surface->GetDevice(&device);
    if (FAILED(result))
        return result;
    const com::Ref<IDirect3DDevice9> deviceRef(device);
    device->Release();
    IDirect3DSurface9* copy = nullptr;
    result = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                 &copy, nullptr);
    if (FAILED(result))
        return result;
    const com::Ref<IDirect3DSurface9> copyRef(copy);
    copy->Release();
    result = device->GetRenderTargetData(surface, copy);
    if (FAILED(result))
        return result;
    return CopyLocked(copy, desc, area, out);
}

} // namespace platform::d3dx
