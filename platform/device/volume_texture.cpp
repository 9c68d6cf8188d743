#include "device/volume_texture.h"

#include "device/volume.h"

#include <new>

namespace platform::device {

HRESULT VolumeTexture::Create(Device* device, const StorageDesc& desc, IDirect3DVolumeTexture9** texture) {
    *texture = nullptr;
    HRESULT result = D3D_OK;
    std::unique_ptr<TextureStorage> storage = TextureStorage::Create(desc, &result);
    if (!storage)
        return result;
    VolumeTexture* created = new (std::nothrow) VolumeTexture(device, std::move(storage));
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    for (UINT level = 0; level < created->LevelCount(); ++level) {
        Volume* volume = Volume::Create(device, created, &created->Storage(), level);
        if (!volume || !TryPush(&created->volumes_, volume)) {
            Volume::Destroy(volume);
            created->Release();
            return E_OUTOFMEMORY;
        }
    }
    *texture = created;
    return D3D_OK;
}

VolumeTexture::VolumeTexture(Device* device, std::unique_ptr<TextureStorage> storage)
    : TextureBase<IDirect3DVolumeTexture9>(device, std::move(storage)) {}

VolumeTexture::~VolumeTexture() {
    for (Volume* volume : volumes_)
        Volume::Destroy(volume);
}

HRESULT VolumeTexture::GetLevelDesc(UINT level, D3DVOLUME_DESC* desc) {
    if (!desc || level >= LevelCount())
        return D3DERR_INVALIDCALL;
    *desc = VolumeLevelDesc(Storage(), level);
    return D3D_OK;
}

HRESULT VolumeTexture::GetVolumeLevel(UINT level, IDirect3DVolume9** volume) {
    if (!volume)
        return D3DERR_INVALIDCALL;
    *volume = nullptr;
    if (level >= LevelCount())
        return D3DERR_INVALIDCALL;
    volumes_[level]->AddRef();
    *volume = volumes_[level];
    return D3D_OK;
}

HRESULT VolumeTexture::LockBox(UINT level, D3DLOCKED_BOX* lockedBox, const D3DBOX* box, DWORD flags) {
    if (!lockedBox)
        return D3DERR_INVALIDCALL;
    *lockedBox = D3DLOCKED_BOX{0, 0, nullptr};
    if (level >= LevelCount())
        return D3DERR_INVALIDCALL;
    return volumes_[level]->LockBox(lockedBox, box, flags);
}

HRESULT VolumeTexture::UnlockBox(UINT level) {
    if (level >= LevelCount())
        return D3DERR_INVALIDCALL;
    return volumes_[level]->UnlockBox();
}

HRESULT VolumeTexture::AddDirtyBox(const D3DBOX* dirtyBox) {
    Region region;
    if ((dirtyBox && !RegionFromBox(*dirtyBox, &region)) ||
        !Storage().AddDirty(0, dirtyBox ? &region : nullptr))
        return D3DERR_INVALIDCALL;
    Storage().MarkDirty();
    return D3D_OK;
}

} // namespace platform::device
