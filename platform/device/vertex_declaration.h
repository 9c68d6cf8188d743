// IDirect3DVertexDeclaration9: the caller's elements as given (with D3DDECL_END) and the vertex input
// they come down to. A declaration made for SetFVF remembers its format, which GetFVF answers while
// it is set; a declaration the caller creates answers 0, as Wine's Direct3D 9 does.
#ifndef VTR3_PLATFORM_DEVICE_VERTEX_DECLARATION_H
#define VTR3_PLATFORM_DEVICE_VERTEX_DECLARATION_H

#include "device/device_child.h"
#include "device/vertex_input.h"

#include <vector>

namespace platform::device {

class VertexDeclaration final : public DeviceChild<IDirect3DVertexDeclaration9> {
  public:
    // D3DERR_INVALIDCALL for elements without D3DDECL_END within MAXD3DDECLLENGTH, or with a stream,
    // type, method, usage or usage index out of range, an offset not a multiple of 4 or elements
    // overlapping in one stream (the device does not claim VERTEXELEMENTSCANSHARESTREAMOFFSET).
    static HRESULT Create(Device* device, const D3DVERTEXELEMENT9* elements,
                          IDirect3DVertexDeclaration9** out);
    // The declaration SetFVF stands for, with no reference yet (the device's holder takes the
    // first); null for a format that has no declaration.
    static VertexDeclaration* CreateForFvf(Device* device, DWORD fvf);

    HRESULT STDMETHODCALLTYPE GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;

    Device* Owner() const { return ParentDevice(); }
    const VertexInput& Input() const { return input_; }
    DWORD Fvf() const { return fvf_; }
    const D3DVERTEXELEMENT9* Elements() const { return elements_.data(); }

  private:
    VertexDeclaration(Device* device, const D3DVERTEXELEMENT9* elements, UINT count, DWORD fvf);

    std::vector<D3DVERTEXELEMENT9> elements_; // with the end element
    VertexInput input_;
    DWORD fvf_;
};

} // namespace platform::device

#endif
