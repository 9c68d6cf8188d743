#include "device/cube_texture.h"

#include "device/surface.h"

#include <new>

namespace platform::device {

HRESULT CubeTexture::Create(Device* device, const StorageDesc& desc, IDirect3DCubeTexture9** texture) {
    *texture = nullptr;
    HRESULT result = D3D_OK;
    std::unique_ptr<TextureStorage> storage = TextureStorage::Create(desc, &result);
    if (!storage)
        return result;
    CubeTexture* created = new (std::nothrow) CubeTexture(device, std::move(storage));
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    for (UINT face = 0; face < 6; ++face) {
        for (UINT level = 0; level < created->LevelCount(); ++level) {
            Surface* surface = Surface::CreateSubresource(device, created, &created->Storage(), face, level);
            if (!surface || !TryPush(&created->surfaces_, surface)) {
                Surface::DestroySubresource(surface);
                created->Release();
                return E_OUTOFMEMORY;
            }
        }
    }
    *texture = created;
    return D3D_OK;
}

CubeTexture::CubeTexture(Device* device, std::unique_ptr<TextureStorage> storage)
    : TextureBase<IDirect3DCubeTexture9>(device, std::move(storage)) {}

CubeTexture::~CubeTexture() {
    for (Surface* surface : surfaces_)
        Surface::DestroySubresource(surface);
}

Surface* CubeTexture::At(D3DCUBEMAP_FACES face, UINT level) const {
    if (face < D3DCUBEMAP_FACE_POSITIVE_X || face > D3DCUBEMAP_FACE_NEGATIVE_Z || level >= LevelCount())
        return nullptr;
    return surfaces_[static_cast<std::size_t>(face) * LevelCount() + level];
}

HRESULT CubeTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (!desc || level >= LevelCount())
        return D3DERR_INVALIDCALL;
    *desc = LevelDesc(Storage(), level);
    return D3D_OK;
}

HRESULT CubeTexture::GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** surface) {
    if (!surface)
        return D3DERR_INVALIDCALL;
    *surface = At(face, level);
    if (!*surface)
        return D3DERR_INVALIDCALL;
    (*surface)->AddRef();
    return D3D_OK;
}

HRESULT CubeTexture::LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect,
                              DWORD flags) {
    if (!lockedRect)
        return D3DERR_INVALIDCALL;
    *lockedRect = D3DLOCKED_RECT{0, nullptr};
    Surface* surface = At(face, level);
    return surface ? surface->LockRect(lockedRect, rect, flags) : D3DERR_INVALIDCALL;
}

HRESULT CubeTexture::UnlockRect(D3DCUBEMAP_FACES face, UINT level) {
    Surface* surface = At(face, level);
    return surface ? surface->UnlockRect() : D3DERR_INVALIDCALL;
}

HRESULT CubeTexture::AddDirtyRect(D3DCUBEMAP_FACES face, const RECT* dirtyRect) {
    Region region;
    if (!At(face, 0) || (dirtyRect && !RegionFromRect(*dirtyRect, &region)) ||
        !Storage().AddDirty(face, dirtyRect ? &region : nullptr))
        return D3DERR_INVALIDCALL;
    Storage().MarkDirty();
    return D3D_OK;
}

} // namespace platform::device
