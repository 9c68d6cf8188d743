// IDirect3DResource9's methods shared by surfaces, textures and buffers: private data and priority.
#ifndef VTR3_PLATFORM_DEVICE_RESOURCE_H
#define VTR3_PLATFORM_DEVICE_RESOURCE_H

#include "device/device_child.h"
#include "device/private_data.h"

namespace platform::device {

template <typename Interface> class Resource : public DeviceChild<Interface> {
  public:
    Resource(Device* device, D3DPOOL pool) : DeviceChild<Interface>(device), pool_(pool) {}

    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID guid, const void* data, DWORD size,
                                             DWORD flags) override {
        return privateData_.Set(guid, data, size, flags);
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID guid, void* data, DWORD* size) override {
        return privateData_.Get(guid, data, size);
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID guid) override { return privateData_.Free(guid); }

    // Priorities order the eviction of managed resources; other pools keep 0, as in Direct3D.
    DWORD STDMETHODCALLTYPE SetPriority(DWORD priority) override {
        if (pool_ != D3DPOOL_MANAGED)
            return 0;
        const DWORD previous = priority_;
        priority_ = priority;
        return previous;
    }
    DWORD STDMETHODCALLTYPE GetPriority() override { return priority_; }
    void STDMETHODCALLTYPE PreLoad() override {}

  protected:
    D3DPOOL Pool() const { return pool_; }

  private:
    PrivateData privateData_;
    D3DPOOL pool_;
    DWORD priority_ = 0;
};

} // namespace platform::device

#endif
