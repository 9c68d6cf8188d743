// The back buffer, the bound render target and depth-stencil surface, scenes and Present.
#include "device/device.h"

#include "device/surface.h"
#include "platform_control.h"

namespace platform::device {

void Device::AttachTargets() {
    if (renderTarget_)
        renderTarget_->AttachTo(drawFramebuffer_);
    else
        Surface::DetachColor(drawFramebuffer_);
    if (depthStencil_)
        depthStencil_->AttachTo(drawFramebuffer_);
    else
        Surface::DetachDepthStencil(drawFramebuffer_);
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                              IDirect3DSurface9** surface) {
    if (!surface)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    // Stereo (left and right) buffers do not exist; Direct3D 9 ignores the type for mono devices.
    if (swapChain != 0 || backBuffer >= presentation_.BackBufferCount || type > D3DBACKBUFFER_TYPE_RIGHT)
        return D3DERR_INVALIDCALL;
    backBuffer_->AddRef();
    *surface = backBuffer_.Get();
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    if (!surface)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (index >= caps_.NumSimultaneousRTs)
        return D3DERR_INVALIDCALL;
    // Targets beyond 0 can only be bound once SetRenderTarget is offered.
    if (index != 0 || !renderTarget_)
        return D3DERR_NOTFOUND;
    renderTarget_->AddRef();
    *surface = renderTarget_.Get();
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    if (!surface)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (!depthStencil_)
        return D3DERR_NOTFOUND;
    depthStencil_->AddRef();
    *surface = depthStencil_.Get();
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = false;
    // Direct3D queues the scene here; submitting it now lets GL work while the caller goes on.
    if (MakeCurrent())
        glFlush();
    return D3D_OK;
}

HRESULT Device::Present(const RECT* /*sourceRect*/, const RECT* /*destRect*/, HWND destWindowOverride,
                        const RGNDATA* /*dirtyRegion*/) {
    // Direct3D 9 refuses to present inside a scene while the back buffer is the render target.
    if (inScene_ && renderTarget_.Get() == backBuffer_.Get())
        return D3DERR_INVALIDCALL;
    if (destWindowOverride && !GetStandInWindowSize(destWindowOverride, nullptr, nullptr))
        return D3DERR_INVALIDCALL;
    // Headless: there is no screen to show the back buffer on. Its pixels stay for read-back, as
    // D3DSWAPEFFECT_COPY would keep them.
    return D3D_OK;
}

} // namespace platform::device
