// What vertex and index buffers share: the COM side, the storage and Lock/Unlock.
#ifndef VTR3_PLATFORM_DEVICE_BUFFER_BASE_H
#define VTR3_PLATFORM_DEVICE_BUFFER_BASE_H

#include "device/buffer_storage.h"
#include "device/resource.h"

namespace platform::device {

template <typename Interface> class BufferBase : public Resource<Interface> {
  public:
    GLuint GlBuffer() const { return storage_.GlBuffer(); }
    Device* Owner() const { return this->ParentDevice(); }

    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override {
        const DeviceLock lock(this->ParentDevice());
        return storage_.Lock(offset, size, data, flags);
    }
    HRESULT STDMETHODCALLTYPE Unlock() override {
        const DeviceLock lock(this->ParentDevice());
        if (!this->ParentDevice()->MakeCurrent())
            return D3DERR_DRIVERINTERNALERROR;
        return storage_.Unlock();
    }

  protected:
    BufferBase(Device* device, D3DPOOL pool, DWORD usage) : Resource<Interface>(device, pool), usage_(usage) {
        if (pool == D3DPOOL_DEFAULT)
            device->CountDefaultResource(+1);
    }
    ~BufferBase() override {
        Device* device = this->ParentDevice();
        const DeviceLock lock(device);
        if (this->Pool() == D3DPOOL_DEFAULT)
            device->CountDefaultResource(-1);
        device->MakeCurrent();
        storage_.DeleteGlBuffer();
    }
    // Creates the GL buffer; the context must be current.
    HRESULT CreateStorage(UINT length) { return storage_.Create(length); }
    DWORD Usage() const { return usage_; }
    UINT Length() const { return storage_.Length(); }

  private:
    BufferStorage storage_;
    DWORD usage_;
};

} // namespace platform::device

#endif
