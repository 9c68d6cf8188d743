// IDirect3DVertexBuffer9 over a GL buffer; data written through Lock is in GL once Unlock returns.
#ifndef VTR3_PLATFORM_DEVICE_VERTEX_BUFFER_H
#define VTR3_PLATFORM_DEVICE_VERTEX_BUFFER_H

#include "device/buffer_base.h"

namespace platform::device {

class VertexBuffer final : public BufferBase<IDirect3DVertexBuffer9> {
  public:
    // A buffer with one public reference; the arguments are validated by the caller.
    static HRESULT Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** buffer);
    static VertexBuffer* From(IDirect3DVertexBuffer9* buffer) { return dynamic_cast<VertexBuffer*>(buffer); }

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

  private:
    VertexBuffer(Device* device, DWORD usage, DWORD fvf, D3DPOOL pool)
        : BufferBase<IDirect3DVertexBuffer9>(device, pool, usage), fvf_(fvf) {}
    ~VertexBuffer() override = default;

    DWORD fvf_;
};

} // namespace platform::device

#endif
