// ID3DXMesh over a vertex buffer, an index buffer and an attribute buffer created through the device's
// public interface. DrawSubset draws each attribute range of the subset as an indexed triangle list,
// binding the mesh's buffers and vertex format first, as D3DX does. Cloning, optimising and adjacency
// are not offered: they answer E_NOTIMPL.
#ifndef VTR3_PLATFORM_MESH_MESH_H
#define VTR3_PLATFORM_MESH_MESH_H

#include "com/com_object.h"
#include "com/com_ref.h"

#include <d3dx9mesh.h>

#include <vector>

namespace platform::com {
template <> struct InterfaceIds<ID3DXMesh> {
    static bool Contains(REFIID riid) {
        return IsEqualGUID(riid, IID_ID3DXMesh) || IsEqualGUID(riid, IID_ID3DXBaseMesh);
    }
};
} // namespace platform::com

namespace platform::mesh {

class Mesh final : public com::ComObject<ID3DXMesh> {
  public:
    // D3DXCreateMeshFVF's work: the buffers in the pools and usages that `options` asks for.
    static HRESULT Create(IDirect3DDevice9* device, DWORD numFaces, DWORD numVertices, DWORD options,
                          DWORD fvf, ID3DXMesh** mesh);

    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD AttribId) override;
    DWORD STDMETHODCALLTYPE GetNumFaces() override { return numFaces_; }
    DWORD STDMETHODCALLTYPE GetNumVertices() override { return numVertices_; }
    DWORD STDMETHODCALLTYPE GetFVF() override { return fvf_; }
    HRESULT STDMETHODCALLTYPE GetDeclaration(D3DVERTEXELEMENT9 Declaration[MAX_FVF_DECL_SIZE]) override;
    DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() override { return stride_; }
    DWORD STDMETHODCALLTYPE GetOptions() override { return options_; }
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT STDMETHODCALLTYPE CloneMeshFVF(DWORD, DWORD, LPDIRECT3DDEVICE9, LPD3DXMESH* ppCloneMesh) override;
    HRESULT STDMETHODCALLTYPE CloneMesh(DWORD, CONST D3DVERTEXELEMENT9*, LPDIRECT3DDEVICE9,
                                        LPD3DXMESH* ppCloneMesh) override;
    HRESULT STDMETHODCALLTYPE GetVertexBuffer(LPDIRECT3DVERTEXBUFFER9* ppVB) override;
    HRESULT STDMETHODCALLTYPE GetIndexBuffer(LPDIRECT3DINDEXBUFFER9* ppIB) override;
    HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() override { return vertices_->Unlock(); }
    HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() override { return indices_->Unlock(); }
    HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable,
                                                DWORD* pAttribTableSize) override;
    HRESULT STDMETHODCALLTYPE ConvertPointRepsToAdjacency(CONST DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConvertAdjacencyToPointReps(CONST DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GenerateAdjacency(FLOAT, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UpdateSemantics(D3DVERTEXELEMENT9[MAX_FVF_DECL_SIZE]) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD Flags, DWORD** ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() override { return D3D_OK; }
    HRESULT STDMETHODCALLTYPE Optimize(DWORD, CONST DWORD*, DWORD*, DWORD*, LPD3DXBUFFER* ppVertexRemap,
                                       LPD3DXMESH* ppOptMesh) override;
    HRESULT STDMETHODCALLTYPE OptimizeInplace(DWORD, CONST DWORD*, DWORD*, DWORD*,
                                              LPD3DXBUFFER* ppVertexRemap) override;
    HRESULT STDMETHODCALLTYPE SetAttributeTable(CONST D3DXATTRIBUTERANGE* pAttribTable,
                                                DWORD cAttribTableSize) override;

  private:
    Mesh() = default;

    com::Ref<IDirect3DDevice9> device_;
    com::Ref<IDirect3DVertexBuffer9> vertices_;
    com::Ref<IDirect3DIndexBuffer9> indices_;
    std::vector<DWORD> attributes_; // one per face
    std::vector<D3DXATTRIBUTERANGE> table_;
    DWORD numFaces_ = 0;
    DWORD numVertices_ = 0;
    DWORD options_ = 0;
    DWORD fvf_ = 0;
    DWORD stride_ = 0;
};

} // namespace platform::mesh

#endif
