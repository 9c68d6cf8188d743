// D3DX 9 shapes: meshes of simple solids centred on the origin.
#ifndef VTR3_PLATFORM_D3DX9SHAPE_H
#define VTR3_PLATFORM_D3DX9SHAPE_H

#include <d3dx9mesh.h>

// The platform library is built with hidden visibility: what this header declares is its API.
#pragma GCC visibility push(default)

extern "C" {
HRESULT WINAPI D3DXCreateBox(LPDIRECT3DDEVICE9 pDevice, FLOAT Width, FLOAT Height, FLOAT Depth,
                             LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency);
HRESULT WINAPI D3DXCreateSphere(LPDIRECT3DDEVICE9 pDevice, FLOAT Radius, UINT Slices, UINT Stacks,
                                LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency);
}

#pragma GCC visibility pop

#endif
