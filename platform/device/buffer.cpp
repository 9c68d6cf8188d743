#include "device/buffer.h"

#include "device/device.h"

#include <new>

namespace platform::device {

template <typename Interface, typename Description>
HRESULT Buffer<Interface, Description>::Create(Device* device, const Description& desc, Interface** buffer) {
    *buffer = nullptr;
    Buffer* created = new (std::nothrow) Buffer(device, desc);
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    const HRESULT result = created->storage_.Create(desc.Size);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *buffer = created;
    return D3D_OK;
}

template <typename Interface, typename Description>
Buffer<Interface, Description>::Buffer(Device* device, const Description& desc)
    : Resource<Interface>(device, desc.Pool), desc_(desc) {
    if (desc.Pool == D3DPOOL_DEFAULT)
        device->CountDefaultResource(+1);
}

template <typename Interface, typename Description> Buffer<Interface, Description>::~Buffer() {
    Device* device = this->ParentDevice();
    const DeviceLock lock(device);
    if (desc_.Pool == D3DPOOL_DEFAULT)
        device->CountDefaultResource(-1);
    // The GL buffer goes while the lock is held and the device's context is current.
    device->MakeCurrent();
    storage_.DeleteGlBuffer();
}

template <typename Interface, typename Description>
HRESULT Buffer<Interface, Description>::GetDesc(Description* desc) {
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
}

template <typename Interface, typename Description>
HRESULT Buffer<Interface, Description>::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    const DeviceLock lock(this->ParentDevice());
    return storage_.Lock(offset, size, data, flags);
}

template <typename Interface, typename Description> HRESULT Buffer<Interface, Description>::Unlock() {
    const DeviceLock lock(this->ParentDevice());
    if (!this->ParentDevice()->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return storage_.Unlock();
}

template class Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
template class Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

} // namespace platform::device
