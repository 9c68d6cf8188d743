#include "device/vertex_buffer.h"

#include <new>

namespace platform::device {

HRESULT VertexBuffer::Create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer) {
    *buffer = nullptr;
    VertexBuffer* created = new (std::nothrow) VertexBuffer(device, usage, fvf, pool);
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

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, Usage(), Pool(), Length(), fvf_};
    return D3D_OK;
}

} // namespace platform::device
