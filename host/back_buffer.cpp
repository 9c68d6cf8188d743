#include "back_buffer.h"

#include <d3dx9.h>
#include <dxerr9.h>

#include <cstdio>

namespace host {

namespace {

// A render target is not lockable, so D3DX cannot read it where it lives: it is copied to system
// memory first, as an engine reads back any render target.
HRESULT SaveRenderTargetPng(IDirect3DDevice9* device, IDirect3DSurface9* target, const std::string& path) {
    D3DSURFACE_DESC description{};
    IDirect3DSurface9* copy = nullptr;
    HRESULT result = target->GetDesc(&description);
    if (SUCCEEDED(result)) {
        result = device->CreateOffscreenPlainSurface(description.Width, description.Height,
                                                     description.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr);
    }
    if (SUCCEEDED(result)) {
        result = device->GetRenderTargetData(target, copy);
    }
    if (SUCCEEDED(result)) {
        result = D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, copy, nullptr, nullptr);
    }
    if (copy) {
        copy->Release();
    }
    return result;
}

} // namespace

HRESULT SaveBackBufferPng(IDirect3DDevice9* device, const std::string& path) {
    IDirect3DSurface9* backBuffer = nullptr;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (FAILED(result)) {
        return result;
    }
    result = SaveRenderTargetPng(device, backBuffer, path);
    backBuffer->Release();
    return result;
}

HRESULT SaveSurfacePng(IDirect3DDevice9* device, IDirect3DSurface9* surface, const std::string& path) {
    D3DSURFACE_DESC description{};
    const HRESULT result = surface->GetDesc(&description);
    if (FAILED(result)) {
        return result;
    }
    return description.Usage & D3DUSAGE_RENDERTARGET
               ? SaveRenderTargetPng(device, surface, path)
               : D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, surface, nullptr, nullptr);
}

std::string ResultText(HRESULT result) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(result));
    return std::string(DXGetErrorString9(result)) + " (" + code + ")";
}

std::string FrameWriteFailure(int frame, const std::string& path, HRESULT result) {
    return "frame " + std::to_string(frame) + " could not be written to " + path + ": " + ResultText(result);
}

} // namespace host
