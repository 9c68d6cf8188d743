// IDirect3DIndexBuffer9 over a GL buffer of 16- or 32-bit indices; data written through Lock is in GL
// once Unlock returns.
#ifndef VTR3_PLATFORM_DEVICE_INDEX_BUFFER_H
#define VTR3_PLATFORM_DEVICE_INDEX_BUFFER_H

#include "device/buffer_base.h"

namespace platform::device {

class IndexBuffer final : public BufferBase<IDirect3DIndexBuffer9> {
  public:
    // A buffer with one public reference; the arguments are validated by the caller.
    static HRESULT Create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DIndexBuffer9** buffer);
    static IndexBuffer* From(IDirect3DIndexBuffer9* buffer) { return dynamic_cast<IndexBuffer*>(buffer); }

    // D3DFMT_INDEX16 or D3DFMT_INDEX32.
    D3DFORMAT IndexFormat() const { return format_; }

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* desc) override;

  private:
    IndexBuffer(Device* device, DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : BufferBase<IDirect3DIndexBuffer9>(device, pool, usage), format_(format) {}
    ~IndexBuffer() override = default;

    D3DFORMAT format_;
};

} // namespace platform::device

#endif
