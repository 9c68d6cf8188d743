#include "back_buffer.h"

#include <d3dx9.h>
#include <dxerr9.h>

#include <cstdio>

namespace host {

HRESULT SaveBackBufferPng(IDirect3DDevice9* device, const std::string& path) {
    IDirect3DSurface9* backBuffer = nullptr;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (SUCCEEDED(result)) {
        result = D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, backBuffer, nullptr, nullptr);
        backBuffer->Release();
    }
    return result;
}

std::string ResultText(HRESULT result) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(result));
    return std::string(DXGetErrorString9(result)) + " (" + code + ")";
}

} // namespace host
