// The flexible-vertex-format helpers of D3DX: a format's vertex size and the declaration it stands for.
// Position, blend weights, normal, point size, the two colours and up to eight texture coordinate sets
// in FVF order.
#include <d3dx9mesh.h>

namespace {

constexpr BYTE kTexCoordTypes[4] = {D3DDECLTYPE_FLOAT2, D3DDECLTYPE_FLOAT3, D3DDECLTYPE_FLOAT4,
                                    D3DDECLTYPE_FLOAT1}; // by D3DFVF_TEXTUREFORMATn
constexpr UINT kTypeSizes[] = {4, 8, 12, 16, 4};         // FLOAT1 .. D3DCOLOR

struct Builder {
    D3DVERTEXELEMENT9* out;
    UINT count = 0;
    WORD offset = 0;
    void Add(BYTE type, BYTE usage, BYTE index) {
        out[count++] = D3DVERTEXELEMENT9{0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index};
        offset = static_cast<WORD>(offset + kTypeSizes[type]);
    }
};

// False for position kinds this helper does not describe (none, or an unknown code).
bool AddPosition(DWORD fvf, Builder* b) {
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position == D3DFVF_XYZRHW) {
        b->Add(D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT, 0);
        return true;
    }
    if (position == D3DFVF_XYZW) {
        b->Add(D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITION, 0);
        return true;
    }
    if (position < D3DFVF_XYZ || position > D3DFVF_XYZB5 || (position & 1))
        return false;
    b->Add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
    const DWORD weights = (position - D3DFVF_XYZ) / 2; // XYZB1 .. XYZB5
    if (weights > 0)
        b->Add(static_cast<BYTE>(D3DDECLTYPE_FLOAT1 + (weights - 1 < 4 ? weights - 1 : 3)),
               D3DDECLUSAGE_BLENDWEIGHT, 0);
    return true;
}

UINT Describe(DWORD fvf, D3DVERTEXELEMENT9* elements, WORD* size) {
    Builder b{elements};
    if (!AddPosition(fvf, &b) && (fvf & D3DFVF_POSITION_MASK) != 0) {
        *size = 0;
        return 0;
    }
    if (fvf & D3DFVF_NORMAL)
        b.Add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
    if (fvf & D3DFVF_PSIZE)
        b.Add(D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0);
    if (fvf & D3DFVF_DIFFUSE)
        b.Add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
    if (fvf & D3DFVF_SPECULAR)
        b.Add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1);
    const DWORD sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    for (DWORD i = 0; i < sets && i < 8; ++i)
        b.Add(kTexCoordTypes[(fvf >> (16 + 2 * i)) & 3], D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(i));
    *size = b.offset;
    return b.count;
}

} // namespace

extern "C" {

UINT WINAPI D3DXGetFVFVertexSize(DWORD FVF) {
    D3DVERTEXELEMENT9 elements[MAX_FVF_DECL_SIZE];
    WORD size = 0;
    Describe(FVF, elements, &size);
    return size;
}

HRESULT WINAPI D3DXDeclaratorFromFVF(DWORD FVF, D3DVERTEXELEMENT9 pDeclarator[MAX_FVF_DECL_SIZE]) {
    if (!pDeclarator)
        return D3DERR_INVALIDCALL;
    WORD size = 0;
    const UINT count = Describe(FVF, pDeclarator, &size);
    if (count == 0 && FVF != 0)
        return D3DERR_INVALIDCALL;
    pDeclarator[count] = D3DVERTEXELEMENT9 D3DDECL_END();
    return D3D_OK;
}

UINT WINAPI D3DXGetDeclLength(CONST D3DVERTEXELEMENT9* pDecl) {
    if (!pDecl)
        return 0;
    UINT length = 0;
    while (pDecl[length].Stream != 0xff && length < MAXD3DDECLLENGTH)
        ++length;
    return length;
}

} // extern "C"
