// The ID3DXEffect operations that this platform does not offer: shader objects of parameters and
// parameter blocks. Each fails cleanly with its out-pointer cleared.
#include "fx/effect.h"

namespace platform::fx {

HRESULT Effect::GetPixelShader(D3DXHANDLE, LPDIRECT3DPIXELSHADER9* ppPShader) {
    if (ppPShader)
        *ppPShader = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT Effect::GetVertexShader(D3DXHANDLE, LPDIRECT3DVERTEXSHADER9* ppVShader) {
    if (ppVShader)
        *ppVShader = nullptr;
    return D3DERR_INVALIDCALL;
}

// Every element of an array is uploaded; the range is accepted and has no further effect.
HRESULT Effect::SetArrayRange(D3DXHANDLE, UINT, UINT) {
    return D3D_OK;
}

HRESULT Effect::BeginParameterBlock() {
    return E_NOTIMPL;
}

D3DXHANDLE Effect::EndParameterBlock() {
    return nullptr;
}

HRESULT Effect::ApplyParameterBlock(D3DXHANDLE) {
    return D3DERR_INVALIDCALL;
}

HRESULT Effect::DeleteParameterBlock(D3DXHANDLE) {
    return D3DERR_INVALIDCALL;
}

} // namespace platform::fx
