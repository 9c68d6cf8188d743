// IDirect3DVertexBuffer9 and IDirect3DIndexBuffer9 over a GL buffer: one template, as the two differ
// only in their description. Data written through Lock is in GL once the last Unlock returns.
#ifndef VTR3_PLATFORM_DEVICE_BUFFER_H
#define VTR3_PLATFORM_DEVICE_BUFFER_H

#include "device/buffer_storage.h"
#include "device/resource.h"

namespace platform::device {

template <typename Interface, typename Description> class Buffer final : public Resource<Interface> {
  public:
    // A buffer with one public reference and desc.Size bytes; the device has validated the arguments
    // and made its context current.
    static HRESULT Create(Device* device, const Description& desc, Interface** buffer);
    static Buffer* From(Interface* buffer) { return dynamic_cast<Buffer*>(buffer); }

    GLuint GlBuffer() const { return storage_.GlBuffer(); }
    Device* Owner() const { return this->ParentDevice(); }
    const Description& Desc() const { return desc_; }

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return desc_.Type; }
    HRESULT STDMETHODCALLTYPE GetDesc(Description* desc) override;
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;

  private:
    Buffer(Device* device, const Description& desc);
    ~Buffer() override;

    BufferStorage storage_;
    Description desc_;
};

using VertexBuffer = Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using IndexBuffer = Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>; // D3DFMT_INDEX16 or INDEX32

extern template class Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
extern template class Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

} // namespace platform::device

#endif
