// The vertex-format helpers of D3DX: a format's vertex size, the declaration it stands for and back,
// a declaration's length and its vertex size in one stream. The device's table of equivalents
// (fvf_elements.h) does the work, so D3DX and SetFVF agree.
#include "device/fixed_function/fvf_layout.h"
#include "device/fvf_elements.h"
#include "device/vertex_input.h"

#include <d3dx9.h>

namespace dev = platform::device;

extern "C" {

// Five blend weights have a size though no declaration: the device's decoding counts them.
UINT WINAPI D3DXGetFVFVertexSize(DWORD FVF) {
    dev::FvfLayout layout;
    return dev::DecodeFvf(FVF, &layout) ? layout.size : 0;
}

HRESULT WINAPI D3DXDeclaratorFromFVF(DWORD FVF, D3DVERTEXELEMENT9 pDeclarator[MAX_FVF_DECL_SIZE]) {
    if (!pDeclarator)
        return D3DERR_INVALIDCALL;
    UINT count = 0, size = 0;
    return dev::ElementsOfFvf(FVF, pDeclarator, &count, &size) ? D3D_OK : D3DXERR_INVALIDMESH;
}

HRESULT WINAPI D3DXFVFFromDeclarator(CONST D3DVERTEXELEMENT9* pDeclarator, DWORD* pFVF) {
    if (!pDeclarator || !pFVF)
        return D3DERR_INVALIDCALL;
    return dev::FvfOfElements(pDeclarator, pFVF) ? D3D_OK : D3DERR_INVALIDCALL;
}

UINT WINAPI D3DXGetDeclLength(CONST D3DVERTEXELEMENT9* pDecl) {
    if (!pDecl)
        return 0;
    UINT length = 0;
    while (length < MAXD3DDECLLENGTH && pDecl[length].Stream != 0xff)
        ++length;
    return length;
}

// The end of the last element in the stream.
UINT WINAPI D3DXGetDeclVertexSize(CONST D3DVERTEXELEMENT9* pDecl, DWORD Stream) {
    UINT size = 0;
    const UINT length = D3DXGetDeclLength(pDecl);
    for (UINT i = 0; i < length; ++i) {
        dev::DeclTypeFormat format{};
        if (pDecl[i].Stream == Stream && dev::DeclTypeFormatOf(pDecl[i].Type, &format) &&
            pDecl[i].Offset + format.bytes > size)
            size = pDecl[i].Offset + format.bytes;
    }
    return size;
}

} // extern "C"
