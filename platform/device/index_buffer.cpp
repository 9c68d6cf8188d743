#include "device/index_buffer.h"

#include <new>

namespace platform::device {

HRESULT IndexBuffer::Create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer) {
    *buffer = nullptr;
    IndexBuffer* created = new (std::nothrow) IndexBuffer(device, usage, format, pool);
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    const HRESULT result = created->CreateStorage(length);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{format_, D3DRTYPE_INDEXBUFFER, Usage(), Pool(), Length()};
    return D3D_OK;
}

} // namespace platform::device
