// D3DXCreateBox and D3DXCreateSphere: a managed D3DFVF_XYZ | D3DFVF_NORMAL mesh with 16-bit indices and
// one attribute range (subset 0) covering every face. The adjacency that D3DX can hand back is not
// offered: asking for it (a non-null ppAdjacency) answers E_NOTIMPL and makes no mesh.
#include "mesh/mesh.h"
#include "mesh/shape_geometry.h"

#include <d3dx9shape.h>

#include <cmath>
#include <cstring>
#include <exception>

namespace platform::mesh {
namespace {

HRESULT MakeMesh(IDirect3DDevice9* device, const ShapeGeometry& geometry, ID3DXMesh** out) {
    const DWORD faces = static_cast<DWORD>(geometry.indices.size() / 3);
    const DWORD vertices = static_cast<DWORD>(geometry.vertices.size());
    ID3DXMesh* created = nullptr;
    HRESULT result =
        D3DXCreateMeshFVF(faces, vertices, D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL, device, &created);
    if (FAILED(result))
        return result;
    com::Ref<ID3DXMesh> mesh(created);
    created->Release();

    void* data = nullptr;
    if (FAILED(result = mesh->LockVertexBuffer(0, &data)))
        return result;
    std::memcpy(data, geometry.vertices.data(), geometry.vertices.size() * sizeof(ShapeVertex));
    mesh->UnlockVertexBuffer();
    if (FAILED(result = mesh->LockIndexBuffer(0, &data)))
        return result;
    auto* indices = static_cast<WORD*>(data);
    for (std::size_t i = 0; i < geometry.indices.size(); ++i)
        indices[i] = static_cast<WORD>(geometry.indices[i]);
    mesh->UnlockIndexBuffer();
    const D3DXATTRIBUTERANGE everything{0, 0, faces, 0, vertices};
    if (FAILED(result = mesh->SetAttributeTable(&everything, 1)))
        return result;
    mesh->AddRef();
    *out = mesh.Get();
    return D3D_OK;
}

template <typename Build>
HRESULT CreateShape(IDirect3DDevice9* device, ID3DXMesh** mesh, ID3DXBuffer** adjacency, bool valid,
                    Build build) {
    if (adjacency)
        *adjacency = nullptr;
    if (!mesh)
        return D3DERR_INVALIDCALL;
    *mesh = nullptr;
    if (!device || !valid)
        return D3DERR_INVALIDCALL;
    if (adjacency)
        return E_NOTIMPL;
    try {
        return MakeMesh(device, build(), mesh);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

bool NonNegative(float value) {
    return std::isfinite(value) && value >= 0.0f;
}

} // namespace
} // namespace platform::mesh

extern "C" {

HRESULT WINAPI D3DXCreateBox(LPDIRECT3DDEVICE9 pDevice, FLOAT Width, FLOAT Height, FLOAT Depth,
                             LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency) {
    using namespace platform::mesh;
    const bool valid = NonNegative(Width) && NonNegative(Height) && NonNegative(Depth);
    return CreateShape(pDevice, ppMesh, ppAdjacency, valid, [&] { return BuildBox(Width, Height, Depth); });
}

HRESULT WINAPI D3DXCreateSphere(LPDIRECT3DDEVICE9 pDevice, FLOAT Radius, UINT Slices, UINT Stacks,
                                LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency) {
    using namespace platform::mesh;
    // Past these counts the vertices no longer fit 16-bit indices.
    const bool valid = NonNegative(Radius) && Slices >= 2 && Stacks >= 2 && Slices <= 0xffff &&
                       Stacks <= 0xffff && std::uint64_t{Slices} * (Stacks - 1) + 2 <= 0xffff;
    return CreateShape(pDevice, ppMesh, ppAdjacency, valid,
                       [&] { return BuildSphere(Radius, Slices, Stacks); });
}

} // extern "C"
