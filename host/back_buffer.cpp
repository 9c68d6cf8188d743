#include "back_buffer.h"

#include <d3dx9.h>
#include <dxerr9.h>

#include <cstdio>

namespace host {

// A back buffer is not lockable, so D3DX cannot read it where it lives: it is copied to system
// memory first, as an engine reads back any render target.
HRESULT SaveBackBufferPng(IDirect3DDevice9* device, const std::string& path) {
    IDirect3DSurface9* backBuffer = nullptr;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (FAILED(result)) {
        return result;
    }
    D3DSURFACE_DESC description{};
    IDirect3DSurface9* copy = nullptr;
    result = backBuffer->GetDesc(&description);
    if (SUCCEEDED(result)) {
        result = device->CreateOffscreenPlainSurface(description.Width, description.Height,
                                                     description.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr);
    }
    if (SUCCEEDED(result)) {
        result = device->GetRenderTargetData(backBuffer, copy);
    }
    if (SUCCEEDED(result)) {
        result = D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, copy, nullptr, nullptr);
    }
    if (copy) {
        copy->Release();
    }
    backBuffer->Release();
    return result;
}

std::string ResultText(HRESULT result) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(result));
    return std::string(DXGetErrorString9(result)) + " (" + code + ")";
}

} // namespace host
