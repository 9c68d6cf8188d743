#include "device/vertex_declaration.h"

#include "device/fvf_elements.h"

#include <algorithm>

namespace platform::device {
namespace {

constexpr UINT kUsageIndices = 16;

// The elements before D3DDECL_END, or -1 when they break a rule Create names.
int CountValid(const D3DVERTEXELEMENT9* elements) {
    for (int i = 0; i <= MAXD3DDECLLENGTH; ++i) {
        const D3DVERTEXELEMENT9& e = elements[i];
        if (e.Stream == 0xFF)
            return e.Type == D3DDECLTYPE_UNUSED ? i : -1;
        DeclTypeFormat format{};
        if (i == MAXD3DDECLLENGTH || e.Stream >= Device::kStreams || !DeclTypeFormatOf(e.Type, &format) ||
            e.Method > D3DDECLMETHOD_LOOKUPPRESAMPLED || e.Usage > D3DDECLUSAGE_SAMPLE ||
            e.UsageIndex >= kUsageIndices || e.Offset % 4 != 0)
            return -1;
        for (int j = 0; j < i; ++j) {
            const D3DVERTEXELEMENT9& o = elements[j];
            DeclTypeFormat other{};
            DeclTypeFormatOf(o.Type, &other);
            if (o.Stream == e.Stream && o.Offset < e.Offset + format.bytes &&
                e.Offset < o.Offset + other.bytes)
                return -1;
        }
    }
    return -1;
}

} // namespace

VertexDeclaration::VertexDeclaration(Device* device, const D3DVERTEXELEMENT9* elements, UINT count, DWORD fvf)
    : DeviceChild<IDirect3DVertexDeclaration9>(device), elements_(elements, elements + count + 1), fvf_(fvf) {
    VertexInputOfElements(elements, count, &input_);
}

HRESULT VertexDeclaration::Create(Device* device, const D3DVERTEXELEMENT9* elements,
                                  IDirect3DVertexDeclaration9** out) {
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    const int count = elements ? CountValid(elements) : -1;
    if (count < 0)
        return D3DERR_INVALIDCALL;
    auto* created = new VertexDeclaration(device, elements, static_cast<UINT>(count), 0);
    created->AddRef();
    *out = created;
    return D3D_OK;
}

VertexDeclaration* VertexDeclaration::CreateForFvf(Device* device, DWORD fvf) {
    FvfLayout layout;
    D3DVERTEXELEMENT9 elements[kMaxFvfElements];
    UINT count = 0, size = 0;
    if (!DecodeFvf(fvf, &layout) || !ElementsOfFvf(fvf, elements, &count, &size))
        return nullptr;
    auto* created = new VertexDeclaration(device, elements, count, fvf);
    VertexInputOfFvf(fvf, layout, &created->input_);
    return created;
}

HRESULT VertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) {
    if (!count)
        return D3DERR_INVALIDCALL;
    *count = static_cast<UINT>(elements_.size());
    if (elements)
        std::copy(elements_.begin(), elements_.end(), elements);
    return D3D_OK;
}

} // namespace platform::device
