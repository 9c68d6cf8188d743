// IDirect3DVolume9: one mip level of a volume texture. It lives as long as its texture and counts
// references on it, as a texture's surface does.
#ifndef VTR3_PLATFORM_DEVICE_VOLUME_H
#define VTR3_PLATFORM_DEVICE_VOLUME_H

#include "device/device_child.h"
#include "device/private_data.h"
#include "device/texture_storage.h"

namespace platform::device {

class BaseTexture;

class Volume final : public DeviceChild<IDirect3DVolume9> {
  public:
    static Volume* Create(Device* device, BaseTexture* container, TextureStorage* storage, UINT level);
    static void Destroy(Volume* volume);

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDirect3DVolume9
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID guid, const void* data, DWORD size,
                                             DWORD flags) override {
        return privateData_.Set(guid, data, size, flags);
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID guid, void* data, DWORD* size) override {
        return privateData_.Get(guid, data, size);
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID guid) override { return privateData_.Free(guid); }
    HRESULT STDMETHODCALLTYPE GetContainer(REFIID riid, void** container) override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVOLUME_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockBox(D3DLOCKED_BOX* lockedBox, const D3DBOX* box, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockBox() override;

  private:
    Volume(Device* device, BaseTexture* container, TextureStorage* storage, UINT level)
        : DeviceChild<IDirect3DVolume9>(device), container_(container), storage_(storage), level_(level) {}
    ~Volume() override = default;

    PrivateData privateData_;
    BaseTexture* container_;
    TextureStorage* storage_;
    UINT level_;
};

D3DVOLUME_DESC VolumeLevelDesc(const TextureStorage& storage, UINT level);

} // namespace platform::device

#endif
