#include "mesh/mesh.h"

#include <algorithm>
#include <exception>

namespace platform::mesh {
namespace {

struct BufferPlace {
    DWORD usage;
    D3DPOOL pool;
};

// The usage and pool of one of the mesh's buffers from its D3DXMESH_VB_* or D3DXMESH_IB_* options.
BufferPlace PlaceFor(DWORD options, DWORD systemMem, DWORD managed, DWORD writeOnly, DWORD dynamic,
                     DWORD software) {
    BufferPlace place{0, D3DPOOL_DEFAULT};
    if (options & systemMem)
        place.pool = D3DPOOL_SYSTEMMEM;
    else if (options & managed)
        place.pool = D3DPOOL_MANAGED;
    if (options & writeOnly)
        place.usage |= D3DUSAGE_WRITEONLY;
    if (options & dynamic)
        place.usage |= D3DUSAGE_DYNAMIC;
    if (options & software)
        place.usage |= D3DUSAGE_SOFTWAREPROCESSING;
    return place;
}

} // namespace

HRESULT Mesh::Create(IDirect3DDevice9* device, DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf,
                     ID3DXMesh** mesh) {
    const bool wide = (options & D3DXMESH_32BIT) != 0;
    const UINT stride = D3DXGetFVFVertexSize(fvf);
    if (!device || numFaces == 0 || numVertices == 0 || stride == 0 || numFaces > 0x7fffffff / 12 ||
        numVertices > 0x7fffffff / stride || (!wide && numVertices > 0xffff))
        return D3DERR_INVALIDCALL;
    try {
        com::Ref<Mesh> created(new Mesh());
        Mesh& m = *created.Get();
        m.device_ = com::Ref<IDirect3DDevice9>(device);
        m.numFaces_ = numFaces;
        m.numVertices_ = numVertices;
        m.options_ = options;
        m.fvf_ = fvf;
        m.stride_ = stride;
        m.attributes_.assign(numFaces, 0);

        const BufferPlace vb =
            PlaceFor(options, D3DXMESH_VB_SYSTEMMEM, D3DXMESH_VB_MANAGED, D3DXMESH_VB_WRITEONLY,
                     D3DXMESH_VB_DYNAMIC, D3DXMESH_VB_SOFTWAREPROCESSING);
        const BufferPlace ib =
            PlaceFor(options, D3DXMESH_IB_SYSTEMMEM, D3DXMESH_IB_MANAGED, D3DXMESH_IB_WRITEONLY,
                     D3DXMESH_IB_DYNAMIC, D3DXMESH_IB_SOFTWAREPROCESSING);
        IDirect3DVertexBuffer9* vertices = nullptr;
        HRESULT result =
            device->CreateVertexBuffer(numVertices * stride, vb.usage, fvf, vb.pool, &vertices, nullptr);
        if (FAILED(result))
            return result;
        m.vertices_ = com::Ref<IDirect3DVertexBuffer9>(vertices);
        vertices->Release();
        IDirect3DIndexBuffer9* indices = nullptr;
        result =
            device->CreateIndexBuffer(numFaces * 3 * (wide ? 4 : 2), ib.usage,
                                      wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16, ib.pool, &indices, nullptr);
        if (FAILED(result))
            return result;
        m.indices_ = com::Ref<IDirect3DIndexBuffer9>(indices);
        indices->Release();
        created->AddRef();
        *mesh = created.Get();
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Mesh::DrawSubset(DWORD AttribId) {
    HRESULT result = device_->SetStreamSource(0, vertices_.Get(), 0, stride_);
    if (SUCCEEDED(result))
        result = device_->SetIndices(indices_.Get());
    if (SUCCEEDED(result))
        result = device_->SetFVF(fvf_);
    if (FAILED(result))
        return result;
    auto draw = [&](DWORD faceStart, DWORD faceCount, DWORD vertexStart, DWORD vertexCount) {
        return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertexStart, vertexCount, faceStart * 3,
                                             faceCount);
    };
    if (!table_.empty()) {
        for (const D3DXATTRIBUTERANGE& range : table_)
            if (range.AttribId == AttribId && range.FaceCount > 0)
                if (FAILED(result =
                               draw(range.FaceStart, range.FaceCount, range.VertexStart, range.VertexCount)))
                    return result;
        return D3D_OK;
    }
    // Without an attribute table, each run of consecutive faces of the subset is one draw.
    for (DWORD face = 0; face < numFaces_;) {
        if (attributes_[face] != AttribId) {
            ++face;
            continue;
        }
        DWORD end = face;
        while (end < numFaces_ && attributes_[end] == AttribId)
            ++end;
        if (FAILED(result = draw(face, end - face, 0, numVertices_)))
            return result;
        face = end;
    }
    return D3D_OK;
}

HRESULT Mesh::GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) {
    return D3DXDeclaratorFromFVF(fvf_, Declaration);
}

HRESULT Mesh::GetDevice(LPDIRECT3DDEVICE9* ppDevice) {
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    device_->AddRef();
    *ppDevice = device_.Get();
    return D3D_OK;
}

HRESULT Mesh::CloneMeshFVF(DWORD, DWORD, LPDIRECT3DDEVICE9, LPD3DXMESH* ppCloneMesh) {
    if (ppCloneMesh)
        *ppCloneMesh = nullptr;
    return E_NOTIMPL;
}

HRESULT Mesh::CloneMesh(DWORD, CONST D3DVERTEXELEMENT9*, LPDIRECT3DDEVICE9, LPD3DXMESH* ppCloneMesh) {
    if (ppCloneMesh)
        *ppCloneMesh = nullptr;
    return E_NOTIMPL;
}

HRESULT Mesh::GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) {
    if (!ppVB)
        return D3DERR_INVALIDCALL;
    vertices_->AddRef();
    *ppVB = vertices_.Get();
    return D3D_OK;
}

HRESULT Mesh::GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) {
    if (!ppIB)
        return D3DERR_INVALIDCALL;
    indices_->AddRef();
    *ppIB = indices_.Get();
    return D3D_OK;
}

HRESULT Mesh::LockVertexBuffer(DWORD Flags, LPVOID* ppData) {
    if (!ppData)
        return D3DERR_INVALIDCALL;
    *ppData = nullptr;
    return vertices_->Lock(0, 0, ppData, Flags);
}

HRESULT Mesh::LockIndexBuffer(DWORD Flags, LPVOID* ppData) {
    if (!ppData)
        return D3DERR_INVALIDCALL;
    *ppData = nullptr;
    return indices_->Lock(0, 0, ppData, Flags);
}

HRESULT Mesh::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) {
    if (!pAttribTableSize)
        return D3DERR_INVALIDCALL;
    if (pAttribTable)
        std::copy(table_.begin(), table_.end(), pAttribTable);
    *pAttribTableSize = static_cast<DWORD>(table_.size());
    return D3D_OK;
}

HRESULT Mesh::LockAttributeBuffer(DWORD, DWORD** ppData) {
    if (!ppData)
        return D3DERR_INVALIDCALL;
    *ppData = attributes_.data();
    return D3D_OK;
}

HRESULT Mesh::Optimize(DWORD, CONST DWORD*, DWORD*, DWORD*, LPD3DXBUFFER* ppVertexRemap,
                       LPD3DXMESH* ppOptMesh) {
    if (ppVertexRemap)
        *ppVertexRemap = nullptr;
    if (ppOptMesh)
        *ppOptMesh = nullptr;
    return E_NOTIMPL;
}

HRESULT Mesh::OptimizeInplace(DWORD, CONST DWORD*, DWORD*, DWORD*, LPD3DXBUFFER* ppVertexRemap) {
    if (ppVertexRemap)
        *ppVertexRemap = nullptr;
    return E_NOTIMPL;
}

HRESULT Mesh::SetAttributeTable(CONST D3DXATTRIBUTERANGE* pAttribTable, DWORD cAttribTableSize) {
    if (!pAttribTable && cAttribTableSize > 0)
        return D3DERR_INVALIDCALL;
    for (DWORD i = 0; i < cAttribTableSize; ++i) {
        const D3DXATTRIBUTERANGE& r = pAttribTable[i];
        if (r.FaceStart > numFaces_ || r.FaceCount > numFaces_ - r.FaceStart ||
            r.VertexStart > numVertices_ || r.VertexCount > numVertices_ - r.VertexStart)
            return D3DERR_INVALIDCALL;
    }
    try {
        table_.assign(pAttribTable, pAttribTable + cAttribTableSize);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

} // namespace platform::mesh

extern "C" HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options, DWORD FVF,
                                            LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXMESH* ppMesh) {
    if (!ppMesh)
        return D3DERR_INVALIDCALL;
    *ppMesh = nullptr;
    return platform::mesh::Mesh::Create(pD3DDevice, NumFaces, NumVertices, Options, FVF, ppMesh);
}
