#include "device/volume.h"

#include "device/base_texture.h"

#include <new>

namespace platform::device {

D3DVOLUME_DESC VolumeLevelDesc(const TextureStorage& storage, UINT level) {
    const StorageDesc& desc = storage.Desc();
    const Region whole = storage.LevelRegion(level);
    return D3DVOLUME_DESC{desc.format->format, D3DRTYPE_VOLUME, desc.usage, desc.pool,
                          whole.width,         whole.height,    whole.depth};
}

Volume* Volume::Create(Device* device, BaseTexture* container, TextureStorage* storage, UINT level) {
    return new (std::nothrow) Volume(device, container, storage, level);
}

void Volume::Destroy(Volume* volume) {
    delete volume;
}

ULONG Volume::AddRef() {
    return container_->ComInterface()->AddRef();
}

ULONG Volume::Release() {
    return container_->ComInterface()->Release();
}

HRESULT Volume::GetContainer(REFIID riid, void** container) {
    if (!container)
        return D3DERR_INVALIDCALL;
    *container = nullptr;
    return container_->ComInterface()->QueryInterface(riid, container);
}

HRESULT Volume::GetDesc(D3DVOLUME_DESC* desc) {
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = VolumeLevelDesc(*storage_, level_);
    return D3D_OK;
}

HRESULT Volume::LockBox(D3DLOCKED_BOX* lockedBox, const D3DBOX* box, DWORD flags) {
    const DeviceLock lock(ParentDevice());
    if (!lockedBox)
        return D3DERR_INVALIDCALL;
    *lockedBox = D3DLOCKED_BOX{0, 0, nullptr};
    Region region;
    if (box && !RegionFromBox(*box, &region))
        return D3DERR_INVALIDCALL;
    if (!ParentDevice()->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return storage_->Lock(0, level_, box ? &region : nullptr, flags, lockedBox);
}

HRESULT Volume::UnlockBox() {
    const DeviceLock lock(ParentDevice());
    if (!ParentDevice()->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return storage_->Unlock(0, level_);
}

} // namespace platform::device
