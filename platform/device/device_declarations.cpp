// The vertex format of the draws: SetFVF and vertex declarations, which replace each other. SetFVF
// stands for a declaration of its own, which GetVertexDeclaration returns (made when first asked);
// GetFVF answers 0 while a declaration the caller created is set. SetFVF(0) changes nothing, as in
// Wine's Direct3D 9.
#include "device/device.h"

#include "device/device_draw_path.h"
#include "device/device_state.h"
#include "device/fixed_function/fvf_layout.h"
#include "device/vertex_declaration.h"

namespace platform::device {

HRESULT Device::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                        IDirect3DVertexDeclaration9** out) {
    const DeviceLock lock(this);
    return VertexDeclaration::Create(this, elements, out);
}

HRESULT Device::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    const DeviceLock lock(this);
    auto* own = dynamic_cast<VertexDeclaration*>(declaration);
    if (declaration && (!own || own->Owner() != this))
        return D3DERR_INVALIDCALL;
    if (own == declaration_.Get() && (own || state_->fvf == 0))
        return D3D_OK;
    declaration_ = com::PrivateRef<VertexDeclaration>(own);
    state_->fvf = own ? own->Fvf() : 0;
    state_->dirty |= kStateVertexInput | kStateVertexProgram;
    return D3D_OK;
}

HRESULT Device::GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) {
    const DeviceLock lock(this);
    if (!declaration)
        return D3DERR_INVALIDCALL;
    *declaration = nullptr;
    VertexDeclaration* current = declaration_.Get();
    if (!current && state_->fvf != 0) {
        if (!fvfDeclaration_ || fvfDeclaration_->Fvf() != state_->fvf)
            fvfDeclaration_ =
                com::PrivateRef<VertexDeclaration>(VertexDeclaration::CreateForFvf(this, state_->fvf));
        current = fvfDeclaration_.Get();
    }
    if (current) {
        current->AddRef();
        *declaration = current;
    }
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
    const DeviceLock lock(this);
    FvfLayout layout;
    if (!DecodeFvf(fvf, &layout))
        return D3DERR_INVALIDCALL;
    if (fvf == 0 || (state_->fvf == fvf && !declaration_))
        return D3D_OK;
    state_->fvf = fvf;
    declaration_.Reset();
    state_->dirty |= kStateVertexInput | kStateVertexProgram;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    const DeviceLock lock(this);
    if (!fvf)
        return D3DERR_INVALIDCALL;
    *fvf = state_->fvf;
    return D3D_OK;
}

const VertexInput& Device::CurrentInput() const {
    if (declaration_)
        return declaration_->Input();
    DrawPath& path = *drawPath_;
    if (path.fvfInputOf != state_->fvf) {
        FvfLayout layout;
        DecodeFvf(state_->fvf, &layout);
        VertexInputOfFvf(state_->fvf, layout, &path.fvfInput);
        path.fvfInputOf = state_->fvf;
    }
    return path.fvfInput;
}

std::uint16_t Device::StreamsRead() const {
    return CurrentInput().streams;
}

std::uint32_t Device::VertexBytesRead(unsigned stream) const {
    return CurrentInput().extent[stream];
}

} // namespace platform::device
