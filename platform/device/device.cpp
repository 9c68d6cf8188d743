#include "device/device.h"

#include "device/adapter.h"
#include "device/device_caps.h"
#include "device/device_draw_path.h"
#include "device/device_state.h"
#include "device/gl_limits.h"
#include "device/presentation.h"
#include "device/surface.h"
#include "device/vertex_declaration.h"
#include "egl/gl_context.h"

#include <cstdio>
#include <new>
#include <string>

namespace platform::device {
namespace {

D3DGAMMARAMP IdentityRamp() {
    D3DGAMMARAMP ramp;
    for (int i = 0; i < 256; ++i) {
        const WORD value = static_cast<WORD>(i * 257);
        ramp.red[i] = value;
        ramp.green[i] = value;
        ramp.blue[i] = value;
    }
    return ramp;
}

} // namespace

HRESULT Device::Create(IDirect3D9* direct3d, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* presentationParameters, IDirect3DDevice9** device) {
    *device = nullptr;
    if (!presentationParameters || (!focusWindow && !presentationParameters->hDeviceWindow))
        return D3DERR_INVALIDCALL;
    HRESULT result = CheckBehaviorFlags(behaviorFlags);
    if (FAILED(result))
        return result;
    GlLimits limits;
    if (!GetGlLimits(&limits))
        return D3DERR_NOTAVAILABLE;
    D3DPRESENT_PARAMETERS completed;
    result =
        CompletePresentation(focusWindow, *presentationParameters, limits.maxRenderbufferSize, &completed);
    if (FAILED(result))
        return result;

    const D3DDEVICE_CREATION_PARAMETERS creation{0, type, focusWindow, behaviorFlags};
    Device* created = new (std::nothrow) Device(direct3d, creation, completed);
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    result = created->Initialize();
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    FillDeviceCaps(limits, &created->caps_);
    // Any thread may be the next to use a multithreaded device: leave its context free.
    if (created->multithreaded_)
        created->context_->Release();
    *presentationParameters = completed;
    *device = created;
    return D3D_OK;
}

Device::Device(IDirect3D9* direct3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
               const D3DPRESENT_PARAMETERS& presentation)
    : multithreaded_((creation.BehaviorFlags & D3DCREATE_MULTITHREADED) != 0), direct3d_(direct3d),
      creation_(creation), presentation_(presentation), gammaRamp_(IdentityRamp()) {}

Device::~Device() {
    // Children and GL objects go while the context still exists; partial initialisation leaves some
    // of them unset.
    // Held across the children's releases, which would otherwise each hand the context back.
    const DeviceLock lock(this);
    if (context_ && context_->MakeCurrent()) {
        ReleaseDrawing();
        ReleaseBindings();
        renderTarget_.Reset();
        depthStencil_.Reset();
        backBuffer_.Reset();
        autoDepthStencil_.Reset();
        const GLuint framebuffers[4] = {drawFramebuffer_, readFramebuffer_, copyReadFramebuffer_,
                                        copyDrawFramebuffer_};
        glDeleteFramebuffers(4, framebuffers);
    }
}

HRESULT Device::Initialize() {
    std::string error;
    context_ = egl::GlContext::Create(&error);
    if (!context_) {
        std::fprintf(stderr, "Direct3D 9 device: %s\n", error.c_str());
        return D3DERR_NOTAVAILABLE;
    }
    gl_.Invalidate();
    glCreateFramebuffers(1, &drawFramebuffer_);
    glCreateFramebuffers(1, &readFramebuffer_);
    const HRESULT result = CreateImplicitSurfaces();
    if (FAILED(result))
        return result;
    renderTarget_ = backBuffer_;
    depthStencil_ = autoDepthStencil_;
    AttachTargets();
    // The back buffer is also what platform::ReadBackBuffer reads, whatever target is bound.
    backBuffer_->AttachTo(readFramebuffer_);
    glNamedFramebufferReadBuffer(readFramebuffer_, GL_COLOR_ATTACHMENT0);
    viewport_ = D3DVIEWPORT9{0, 0, presentation_.BackBufferWidth, presentation_.BackBufferHeight, 0.0f, 1.0f};
    const HRESULT drawing = InitializeDrawing();
    if (FAILED(drawing))
        return drawing;
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Device::CreateImplicitSurfaces() {
    D3DSURFACE_DESC desc{presentation_.BackBufferFormat,
                         D3DRTYPE_SURFACE,
                         D3DUSAGE_RENDERTARGET,
                         D3DPOOL_DEFAULT,
                         D3DMULTISAMPLE_NONE,
                         0,
                         presentation_.BackBufferWidth,
                         presentation_.BackBufferHeight};
    backBuffer_ = com::PrivateRef<Surface>(Surface::CreateImplicit(this, desc));
    if (!backBuffer_)
        return D3DERR_OUTOFVIDEOMEMORY;
    if (!presentation_.EnableAutoDepthStencil)
        return D3D_OK;
    desc.Format = presentation_.AutoDepthStencilFormat;
    desc.Usage = D3DUSAGE_DEPTHSTENCIL;
    autoDepthStencil_ = com::PrivateRef<Surface>(Surface::CreateImplicit(this, desc));
    return autoDepthStencil_ ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
}

bool Device::MakeCurrent() {
    return context_ && context_->MakeCurrent();
}

bool Device::MakeCurrentForDraw() {
    return context_ && context_->MakeCurrentTrusted();
}

void Device::Lock() {
    mutex_.lock();
    ++lockDepth_;
}

void Device::Unlock() {
    if (--lockDepth_ == 0 && context_)
        context_->Release();
    mutex_.unlock();
}

HRESULT Device::TestCooperativeLevel() {
    // A headless device is never lost: no other application can take the display.
    return D3D_OK;
}

UINT Device::GetAvailableTextureMem() {
    // Textures live in system memory behind llvmpipe; report a round figure as drivers do.
    return 512u * 1024u * 1024u;
}

HRESULT Device::EvictManagedResources() {
    return D3D_OK;
}

HRESULT Device::GetDirect3D(IDirect3D9** direct3d) {
    if (!direct3d)
        return D3DERR_INVALIDCALL;
    direct3d_->AddRef();
    *direct3d = direct3d_.Get();
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* caps) {
    if (!caps)
        return D3DERR_INVALIDCALL;
    *caps = caps_;
    return D3D_OK;
}

HRESULT Device::GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) {
    const DeviceLock lock(this);
    if (!mode || swapChain != 0)
        return D3DERR_INVALIDCALL;
    if (presentation_.Windowed) {
        *mode = DesktopMode();
    } else {
        const UINT rate = presentation_.FullScreen_RefreshRateInHz ? presentation_.FullScreen_RefreshRateInHz
                                                                   : DesktopMode().RefreshRate;
        *mode = D3DDISPLAYMODE{presentation_.BackBufferWidth, presentation_.BackBufferHeight, rate,
                               kDisplayFormat};
    }
    return D3D_OK;
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    if (!parameters)
        return D3DERR_INVALIDCALL;
    *parameters = creation_;
    return D3D_OK;
}

// Cursor and gamma: a headless display shows neither, but the calls keep Direct3D's contract.
void Device::SetCursorPosition(int /*x*/, int /*y*/, DWORD /*flags*/) {}

BOOL Device::ShowCursor(BOOL /*show*/) {
    return FALSE;
}

UINT Device::GetNumberOfSwapChains() {
    return 1;
}

void Device::SetGammaRamp(UINT swapChain, DWORD /*flags*/, const D3DGAMMARAMP* ramp) {
    const DeviceLock lock(this);
    if (swapChain == 0 && ramp)
        gammaRamp_ = *ramp;
}

void Device::GetGammaRamp(UINT swapChain, D3DGAMMARAMP* ramp) {
    const DeviceLock lock(this);
    if (swapChain == 0 && ramp)
        *ramp = gammaRamp_;
}

BOOL Device::GetSoftwareVertexProcessing() {
    return (creation_.BehaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) ? TRUE : FALSE;
}

float Device::GetNPatchMode() {
    return 0.0f;
}

} // namespace platform::device
