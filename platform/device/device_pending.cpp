// The device methods not offered yet. Each fails with D3DERR_INVALIDCALL and clears its
// out-pointers, so a caller sees an honest failure instead of a success that did nothing.
#include "device/device.h"
#include "device/query.h"

namespace platform::device {
namespace {

template <typename T> void ClearOut(T** out) {
    if (out)
        *out = nullptr;
}

} // namespace

// Swap chains, cursor and display.

HRESULT Device::SetCursorProperties(UINT, UINT, IDirect3DSurface9*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*, IDirect3DSwapChain9** pSwapChain) {
    ClearOut(pSwapChain);
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetSwapChain(UINT, IDirect3DSwapChain9** pSwapChain) {
    ClearOut(pSwapChain);
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetRasterStatus(UINT, D3DRASTER_STATUS*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::SetDialogBoxMode(BOOL) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetFrontBufferData(UINT, IDirect3DSurface9*) {
    return D3DERR_INVALIDCALL;
}

// Fixed-function state.

HRESULT Device::SetClipStatus(const D3DCLIPSTATUS9*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetClipStatus(D3DCLIPSTATUS9*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::SetPaletteEntries(UINT, const PALETTEENTRY*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetPaletteEntries(UINT, PALETTEENTRY*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::SetCurrentTexturePalette(UINT) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetCurrentTexturePalette(UINT*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::SetSoftwareVertexProcessing(BOOL) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::SetNPatchMode(float) {
    return D3DERR_INVALIDCALL;
}

// State blocks.

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE, IDirect3DStateBlock9** ppSB) {
    ClearOut(ppSB);
    return D3DERR_INVALIDCALL;
}

HRESULT Device::BeginStateBlock() {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::EndStateBlock(IDirect3DStateBlock9** ppSB) {
    ClearOut(ppSB);
    return D3DERR_INVALIDCALL;
}

// Drawing.

HRESULT Device::DrawRectPatch(UINT, const float*, const D3DRECTPATCH_INFO*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::DrawTriPatch(UINT, const float*, const D3DTRIPATCH_INFO*) {
    return D3DERR_INVALIDCALL;
}

HRESULT Device::DeletePatch(UINT) {
    return D3DERR_INVALIDCALL;
}

// Queries. Without an out pointer, CreateQuery answers whether the type is offered.

HRESULT Device::CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** ppQuery) {
    const DeviceLock lock(this);
    if (!ppQuery)
        return Query::DataSizeOf(type) ? D3D_OK : D3DERR_NOTAVAILABLE;
    *ppQuery = nullptr;
    return Query::Create(this, type, ppQuery);
}

} // namespace platform::device
