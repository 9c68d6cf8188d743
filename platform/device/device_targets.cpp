// The back buffer, the bound render targets and depth-stencil surface, Reset, scenes and Present.
#include "device/device.h"

#include "device/base_texture.h"
#include "device/device_state.h"
#include "device/gl_limits.h"
#include "device/presentation.h"
#include "device/surface.h"
#include "platform_control.h"

namespace platform::device {

void Device::AttachTargets() {
    GLenum drawBuffers[kRenderTargets] = {};
    for (unsigned index = 0; index < kRenderTargets; ++index) {
        const Surface* target = index == 0 ? renderTarget_.Get() : extraRenderTargets_[index - 1].Get();
        if (target)
            target->AttachTo(drawFramebuffer_, index, srgbWrite_);
        else
            Surface::DetachColor(drawFramebuffer_, index);
        drawBuffers[index] = target ? GL_COLOR_ATTACHMENT0 + index : GL_NONE;
    }
    glNamedFramebufferDrawBuffers(drawFramebuffer_, kRenderTargets, drawBuffers);
    // A depth-only surface would leave an earlier stencil attachment behind: detach both first.
    Surface::DetachDepthStencil(drawFramebuffer_);
    if (depthStencil_)
        depthStencil_->AttachTo(drawFramebuffer_);
}

void Device::ApplySrgbWrite() {
    const bool wanted = state_->renderStates[D3DRS_SRGBWRITEENABLE] != 0;
    if (wanted == srgbWrite_)
        return;
    srgbWrite_ = wanted;
    AttachTargets();
    // Only sRGB attachments are encoded, so this stays harmless for copies between plain storages.
    if (wanted)
        glEnable(GL_FRAMEBUFFER_SRGB);
    else
        glDisable(GL_FRAMEBUFFER_SRGB);
}

void Device::BindRenderFramebuffer() {
    ApplySrgbWrite();
    gl_.BindDrawFramebuffer(drawFramebuffer_);
    // What is drawn changes level 0 of a texture target; its autogen levels follow at next sampling.
    for (unsigned index = 0; index < kRenderTargets; ++index) {
        const Surface* target = index == 0 ? renderTarget_.Get() : extraRenderTargets_[index - 1].Get();
        if (target && target->Container())
            target->Storage().MarkMipsStale();
    }
}

HRESULT Device::CheckOwnSurface(IDirect3DSurface9* surface, Surface** own) const {
    *own = Surface::From(surface);
    return *own && (*own)->Owner() == this ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    const DeviceLock lock(this);
    // Render target 0 always exists.
    if (index >= caps_.NumSimultaneousRTs || index >= kRenderTargets || (index == 0 && !surface))
        return D3DERR_INVALIDCALL;
    Surface* own = nullptr;
    if (surface && (FAILED(CheckOwnSurface(surface, &own)) || !own->IsRenderTarget()))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    com::PrivateRef<Surface>& slot = index == 0 ? renderTarget_ : extraRenderTargets_[index - 1];
    if (slot.Get() != own) {
        slot = com::PrivateRef<Surface>(own);
        AttachTargets();
        bindingDirty_ |= kDirtyTargets;
    }
    // Setting render target 0 brings a viewport and a scissor rectangle that cover it, as in
    // Direct3D 9.
    if (index == 0) {
        const D3DSURFACE_DESC& desc = own->Desc();
        viewport_ = D3DVIEWPORT9{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
        state_->scissorRect = RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
        state_->dirty |= kStateOutputMasks;
    }
    return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    const DeviceLock lock(this);
    Surface* own = nullptr;
    if (surface && (FAILED(CheckOwnSurface(surface, &own)) || !own->IsDepthStencil()))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    if (depthStencil_.Get() != own) {
        depthStencil_ = com::PrivateRef<Surface>(own);
        AttachTargets();
        bindingDirty_ |= kDirtyTargets;
    }
    return D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters) {
    const DeviceLock lock(this);
    if (!parameters)
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    // Reset returns the device to its default state, which unbinds everything.
    ReleaseBindings();
    AttachTargets();
    // Direct3D 9 refuses while the caller still holds a video-memory resource or a swap-chain surface.
    if (defaultResources_ > 0 || backBuffer_->PublicRefCount() > 0 ||
        (autoDepthStencil_ && autoDepthStencil_->PublicRefCount() > 0))
        return D3DERR_INVALIDCALL;
    GlLimits limits;
    D3DPRESENT_PARAMETERS completed;
    if (!GetGlLimits(&limits) || FAILED(CompletePresentation(creation_.hFocusWindow, *parameters,
                                                             limits.maxRenderbufferSize, &completed)))
        return D3DERR_INVALIDCALL;
    const D3DPRESENT_PARAMETERS previous = presentation_;
    renderTarget_.Reset();
    depthStencil_.Reset();
    backBuffer_.Reset();
    autoDepthStencil_.Reset();
    presentation_ = completed;
    HRESULT result = CreateImplicitSurfaces();
    if (FAILED(result)) {
        // Keep a usable device on the old parameters; the caller may try again.
        presentation_ = previous;
        autoDepthStencil_.Reset();
        if (FAILED(CreateImplicitSurfaces()))
            return D3DERR_DEVICELOST;
    }
    renderTarget_ = backBuffer_;
    depthStencil_ = autoDepthStencil_;
    AttachTargets();
    backBuffer_->AttachTo(readFramebuffer_);
    viewport_ = D3DVIEWPORT9{0, 0, presentation_.BackBufferWidth, presentation_.BackBufferHeight, 0.0f, 1.0f};
    inScene_ = false;
    // Reset puts every render, stage and sampler state, transform, light and clip plane back to its
    // default, for the new back buffer's size.
    ResetDrawingState();
    if (SUCCEEDED(result))
        *parameters = completed;
    return result;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                              IDirect3DSurface9** surface) {
    const DeviceLock lock(this);
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
    const DeviceLock lock(this);
    if (!surface)
        return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (index >= caps_.NumSimultaneousRTs || index >= kRenderTargets)
        return D3DERR_INVALIDCALL;
    Surface* target = index == 0 ? renderTarget_.Get() : extraRenderTargets_[index - 1].Get();
    if (!target)
        return D3DERR_NOTFOUND;
    target->AddRef();
    *surface = target;
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    const DeviceLock lock(this);
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
    const DeviceLock lock(this);
    if (inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = true;
    // Once a frame, EGL is asked whether other code on the thread changed the current context; the
    // scene's draws trust that answer.
    MakeCurrent();
    return D3D_OK;
}

HRESULT Device::EndScene() {
    const DeviceLock lock(this);
    if (!inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = false;
    // Direct3D queues the scene here; submitting it now lets GL work while the caller goes on.
    if (MakeCurrentForDraw())
        glFlush();
    return D3D_OK;
}

HRESULT Device::Present(const RECT* /*sourceRect*/, const RECT* /*destRect*/, HWND destWindowOverride,
                        const RGNDATA* /*dirtyRegion*/) {
    const DeviceLock lock(this);
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
