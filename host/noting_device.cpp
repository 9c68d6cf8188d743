#include "noting_device.h"

#include <algorithm>

namespace host {

void NotingDevice::StartNoting() {
    ReleaseNoted();
    noting_ = true;
}

void NotingDevice::ReleaseNoted() {
    for (IDirect3DBaseTexture9* texture : noted_) {
        texture->Release();
    }
    noted_.clear();
}

std::vector<IDirect3DBaseTexture9*> NotingDevice::TakeNoted() {
    noting_ = false;
    std::vector<IDirect3DBaseTexture9*> noted;
    noted.swap(noted_);
    return noted;
}

// The wrapper answers for the device, so that a QueryInterface round trip does not escape it.
HRESULT NotingDevice::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, IID_IDirect3DDevice9)) {
        return inner_->QueryInterface(riid, object);
    }
    AddRef();
    *object = static_cast<IDirect3DDevice9*>(this);
    return S_OK;
}

void NotingDevice::Note(HRESULT result, IDirect3DBaseTexture9* texture) {
    if (noting_ && SUCCEEDED(result) && texture) {
        texture->AddRef();
        noted_.push_back(texture);
    }
}

HRESULT NotingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                    D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) {
    const HRESULT result = inner_->CreateTexture(width, height, levels, usage, format, pool, texture, shared);
    Note(result, texture ? *texture : nullptr);
    return result;
}

HRESULT NotingDevice::CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                          D3DFORMAT format, D3DPOOL pool, IDirect3DVolumeTexture9** texture,
                                          HANDLE* shared) {
    const HRESULT result =
        inner_->CreateVolumeTexture(width, height, depth, levels, usage, format, pool, texture, shared);
    Note(result, texture ? *texture : nullptr);
    return result;
}

HRESULT NotingDevice::CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DCubeTexture9** texture, HANDLE* shared) {
    const HRESULT result = inner_->CreateCubeTexture(edge, levels, usage, format, pool, texture, shared);
    Note(result, texture ? *texture : nullptr);
    return result;
}

void NotingDevice::AddWatch(DeviceWatch* watch) {
    watches_.push_back(watch);
}

void NotingDevice::RemoveWatch(DeviceWatch* watch) {
    watches_.erase(std::remove(watches_.begin(), watches_.end(), watch), watches_.end());
}

void NotingDevice::Drawing() {
    for (DeviceWatch* watch : watches_) {
        watch->Drawing();
    }
}

HRESULT NotingDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    for (DeviceWatch* watch : watches_) {
        watch->RenderTargetSetting(index, surface);
    }
    return inner_->SetRenderTarget(index, surface);
}

HRESULT NotingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) {
    Drawing();
    return inner_->DrawPrimitive(type, start, count);
}

HRESULT NotingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minimum, UINT vertices,
                                           UINT start, UINT count) {
    Drawing();
    return inner_->DrawIndexedPrimitive(type, base, minimum, vertices, start, count);
}

HRESULT NotingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data, UINT stride) {
    Drawing();
    return inner_->DrawPrimitiveUP(type, count, data, stride);
}

HRESULT NotingDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minimum, UINT vertices, UINT count,
                                             const void* indices, D3DFORMAT format, const void* data,
                                             UINT stride) {
    Drawing();
    return inner_->DrawIndexedPrimitiveUP(type, minimum, vertices, count, indices, format, data, stride);
}

} // namespace host
