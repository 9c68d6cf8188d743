#include "device/fvf_elements.h"

#include "device/vertex_input.h"

namespace platform::device {
namespace {

constexpr DWORD kLastBetas = D3DFVF_LASTBETA_UBYTE4 | D3DFVF_LASTBETA_D3DCOLOR;
// By D3DFVF_TEXTUREFORMATn, the two bits of a set.
constexpr BYTE kTexCoordTypes[4] = {D3DDECLTYPE_FLOAT2, D3DDECLTYPE_FLOAT3, D3DDECLTYPE_FLOAT4,
                                    D3DDECLTYPE_FLOAT1};
constexpr DWORD kTexCoordFormats[4] = {D3DFVF_TEXTUREFORMAT1, D3DFVF_TEXTUREFORMAT2, D3DFVF_TEXTUREFORMAT3,
                                       D3DFVF_TEXTUREFORMAT4}; // by FLOATn - FLOAT1

struct Builder {
    D3DVERTEXELEMENT9* out;
    UINT count = 0;
    WORD offset = 0;
    void Add(BYTE type, BYTE usage, BYTE index) {
        out[count++] = D3DVERTEXELEMENT9{0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index};
        DeclTypeFormat format{};
        DeclTypeFormatOf(type, &format);
        offset = static_cast<WORD>(offset + format.bytes);
    }
};

bool AddPosition(DWORD fvf, Builder* b) {
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position == D3DFVF_XYZRHW || position == D3DFVF_XYZW) {
        b->Add(D3DDECLTYPE_FLOAT4, position == D3DFVF_XYZRHW ? D3DDECLUSAGE_POSITIONT : D3DDECLUSAGE_POSITION,
               0);
        return true;
    }
    if (position == 0)
        return true;
    if (position < D3DFVF_XYZ || position > D3DFVF_XYZB5 || (position & 1))
        return false;
    b->Add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
    const DWORD betas = position == D3DFVF_XYZ ? 0 : (position - D3DFVF_XYZRHW) / 2; // XYZB1 .. XYZB5
    const bool indices = betas > 0 && (fvf & kLastBetas);
    const DWORD weights = indices ? betas - 1 : betas;
    if (weights > 4)
        return false;
    if (weights > 0)
        b->Add(static_cast<BYTE>(D3DDECLTYPE_FLOAT1 + weights - 1), D3DDECLUSAGE_BLENDWEIGHT, 0);
    if (indices)
        b->Add(fvf & D3DFVF_LASTBETA_D3DCOLOR ? D3DDECLTYPE_D3DCOLOR : D3DDECLTYPE_UBYTE4,
               D3DDECLUSAGE_BLENDINDICES, 0);
    return true;
}

// The FVF bits one element stands for; false for an element no format has.
bool FvfBitsOf(const D3DVERTEXELEMENT9& e, DWORD* fvf, DWORD* weights, DWORD* texCount) {
    const bool float1to4 = e.Type <= D3DDECLTYPE_FLOAT4;
    if (e.Stream != 0 || e.Method != D3DDECLMETHOD_DEFAULT)
        return false;
    if (e.Usage == D3DDECLUSAGE_TEXCOORD && e.UsageIndex < 8 && float1to4) {
        *fvf |= kTexCoordFormats[e.Type] << (e.UsageIndex * 2 + 16);
        *texCount = e.UsageIndex + 1u > *texCount ? e.UsageIndex + 1u : *texCount;
        return true;
    }
    if (e.UsageIndex != 0 && !(e.Usage == D3DDECLUSAGE_COLOR && e.UsageIndex == 1))
        return false;
    switch (e.Usage) {
    case D3DDECLUSAGE_POSITION:
        *fvf |= e.Type == D3DDECLTYPE_FLOAT3 ? D3DFVF_XYZ : D3DFVF_XYZW;
        return e.Type == D3DDECLTYPE_FLOAT3 || e.Type == D3DDECLTYPE_FLOAT4;
    case D3DDECLUSAGE_POSITIONT:
        *fvf |= D3DFVF_XYZRHW;
        return e.Type == D3DDECLTYPE_FLOAT4;
    case D3DDECLUSAGE_BLENDWEIGHT:
        *weights += e.Type + 1u;
        return float1to4;
    case D3DDECLUSAGE_BLENDINDICES:
        *weights += 1;
        *fvf |= e.Type == D3DDECLTYPE_UBYTE4 ? D3DFVF_LASTBETA_UBYTE4 : D3DFVF_LASTBETA_D3DCOLOR;
        return e.Type == D3DDECLTYPE_UBYTE4 || e.Type == D3DDECLTYPE_D3DCOLOR;
    case D3DDECLUSAGE_NORMAL:
        *fvf |= D3DFVF_NORMAL;
        return e.Type == D3DDECLTYPE_FLOAT3;
    case D3DDECLUSAGE_PSIZE:
        *fvf |= D3DFVF_PSIZE;
        return e.Type == D3DDECLTYPE_FLOAT1;
    case D3DDECLUSAGE_COLOR:
        *fvf |= e.UsageIndex == 0 ? D3DFVF_DIFFUSE : D3DFVF_SPECULAR;
        return e.Type == D3DDECLTYPE_D3DCOLOR;
    default:
        return false;
    }
}

bool SameElement(const D3DVERTEXELEMENT9& a, const D3DVERTEXELEMENT9& b) {
    return a.Stream == b.Stream && a.Offset == b.Offset && a.Type == b.Type && a.Method == b.Method &&
           a.Usage == b.Usage && a.UsageIndex == b.UsageIndex;
}

} // namespace

bool ElementsOfFvf(DWORD fvf, D3DVERTEXELEMENT9 elements[kMaxFvfElements], UINT* count, UINT* vertexSize) {
    Builder b{elements};
    *count = 0;
    *vertexSize = 0;
    // 0x2000 is the reserved half of D3DFVF_RESERVED2 (the other half is D3DFVF_XYZW's bit).
    if ((fvf & (D3DFVF_RESERVED0 | 0x2000u)) || !AddPosition(fvf, &b))
        return false;
    if (fvf & D3DFVF_NORMAL)
        b.Add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
    if (fvf & D3DFVF_PSIZE)
        b.Add(D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0);
    if (fvf & D3DFVF_DIFFUSE)
        b.Add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
    if (fvf & D3DFVF_SPECULAR)
        b.Add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1);
    const DWORD sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8)
        return false;
    for (DWORD i = 0; i < sets; ++i)
        b.Add(kTexCoordTypes[(fvf >> (16 + 2 * i)) & 3], D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(i));
    elements[b.count] = D3DVERTEXELEMENT9 D3DDECL_END();
    *count = b.count;
    *vertexSize = b.offset;
    return true;
}

bool FvfOfElements(const D3DVERTEXELEMENT9* elements, DWORD* fvf) {
    DWORD bits = 0, weights = 0, texCount = 0;
    UINT count = 0;
    for (; count < MAXD3DDECLLENGTH && elements[count].Stream != 0xFF; ++count)
        if (!FvfBitsOf(elements[count], &bits, &weights, &texCount))
            return false;
    if (weights > 0) {
        if ((bits & D3DFVF_POSITION_MASK) != D3DFVF_XYZ || weights > 5)
            return false;
        bits = (bits & ~D3DFVF_POSITION_MASK) | (D3DFVF_XYZRHW + 2 * weights); // XYZBn
    }
    bits |= texCount << D3DFVF_TEXCOUNT_SHIFT;
    // Order, offsets and the absence of gaps are the format's: its own elements must be these.
    D3DVERTEXELEMENT9 own[kMaxFvfElements];
    UINT ownCount = 0, size = 0;
    if (!ElementsOfFvf(bits, own, &ownCount, &size) || ownCount != count)
        return false;
    for (UINT i = 0; i < count; ++i)
        if (!SameElement(own[i], elements[i]))
            return false;
    *fvf = bits;
    return true;
}

} // namespace platform::device
