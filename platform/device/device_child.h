// The base of every object a device creates. While the caller holds a reference on the child, the
// child holds one on the device, so a surface keeps its device alive as in Direct3D; the device's own
// holds on its children are private and never keep it alive.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_CHILD_H
#define VTR3_PLATFORM_DEVICE_DEVICE_CHILD_H

#include "com/com_object.h"
#include "device/device.h"

namespace platform::device {

template <typename Interface> class DeviceChild : public com::ComObject<Interface> {
  public:
    explicit DeviceChild(Device* device) : device_(device) {}

    ULONG STDMETHODCALLTYPE AddRef() override {
        const ULONG count = com::ComObject<Interface>::AddRef();
        if (count == 1)
            device_->AddRef();
        return count;
    }

    ULONG STDMETHODCALLTYPE Release() override {
        // The child may be deleted by the drop; the device is released after it, since releasing the
        // device first could destroy the device and with it this child while still in use.
        Device* device = device_;
        ULONG remaining = 0;
        if (this->DropPublicRef(&remaining) && remaining == 0)
            device->Release();
        return remaining;
    }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
        if (!device)
            return D3DERR_INVALIDCALL;
        device_->AddRef();
        *device = device_;
        return D3D_OK;
    }

  protected:
    Device* ParentDevice() const { return device_; }

  private:
    Device* device_;
};

} // namespace platform::device

#endif
