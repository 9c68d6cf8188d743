#include "device/texture.h"

#include "device/surface.h"

#include <new>

namespace platform::device {

HRESULT Texture::Create(Device* device, const StorageDesc& desc, IDirect3DTexture9** texture) {
    *texture = nullptr;
    HRESULT result = D3D_OK;
    std::unique_ptr<TextureStorage> storage = TextureStorage::Create(desc, &result);
    if (!storage)
        return result;
    Texture* created = new (std::nothrow) Texture(device, std::move(storage));
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    for (UINT level = 0; level < created->LevelCount(); ++level) {
        Surface* surface = Surface::CreateSubresource(device, created, &created->Storage(), 0, level);
        if (!surface || !TryPush(&created->surfaces_, surface)) {
            Surface::DestroySubresource(surface);
            created->Release();
            return E_OUTOFMEMORY;
        }
    }
    *texture = created;
    return D3D_OK;
}

Texture::Texture(Device* device, std::unique_ptr<TextureStorage> storage)
    : TextureBase<IDirect3DTexture9>(device, std::move(storage)) {}

Texture::~Texture() {
    for (Surface* surface : surfaces_)
        Surface::DestroySubresource(surface);
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (!desc || level >= LevelCount())
        return D3DERR_INVALIDCALL;
    *desc = LevelDesc(Storage(), level);
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (!surface)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (level >= LevelCount())
        return D3DERR_INVALIDCALL;
    surfaces_[level]->AddRef();
    *surface = surfaces_[level];
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    if (!lockedRect)
        return D3DERR_INVALIDCALL;
    *lockedRect = D3DLOCKED_RECT{0, nullptr};
    if (level >= LevelCount())
        return D3DERR_INVALIDCALL;
    return surfaces_[level]->LockRect(lockedRect, rect, flags);
}

HRESULT Texture::UnlockRect(UINT level) {
    if (level >= LevelCount())
        return D3DERR_INVALIDCALL;
    return surfaces_[level]->UnlockRect();
}

HRESULT Texture::AddDirtyRect(const RECT* dirtyRect) {
    Region region;
    if ((dirtyRect && !RegionFromRect(*dirtyRect, &region)) ||
        !Storage().AddDirty(0, dirtyRect ? &region : nullptr))
        return D3DERR_INVALIDCALL;
    // A managed texture uploads every level again at the next sampling.
    Storage().MarkDirty();
    return D3D_OK;
}

} // namespace platform::device
