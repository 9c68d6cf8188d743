// The viewport and Clear.
#include "device/device.h"

#include "device/device_state.h"
#include "device/surface.h"

#include <algorithm>
#include <cstdint>

namespace platform::device {
namespace {

constexpr DWORD kClearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;

bool InUnitRange(float value) {
    return value >= 0.0f && value <= 1.0f;
} // false for NaN too

D3DRECT Intersect(const D3DRECT& a, const D3DRECT& b) {
    return D3DRECT{std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

bool IsEmpty(const D3DRECT& rect) {
    return rect.x1 >= rect.x2 || rect.y1 >= rect.y2;
}

} // namespace

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    const DeviceLock lock(this);
    if (!viewport || !renderTarget_)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC& target = renderTarget_->Desc();
    // Direct3D 9 refuses a viewport that reaches past the render target.
    if (std::uint64_t{viewport->X} + viewport->Width > target.Width ||
        std::uint64_t{viewport->Y} + viewport->Height > target.Height)
        return D3DERR_INVALIDCALL;
    if (!InUnitRange(viewport->MinZ) || !InUnitRange(viewport->MaxZ))
        return D3DERR_INVALIDCALL;
    viewport_ = *viewport;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    const DeviceLock lock(this);
    if (!viewport)
        return D3DERR_INVALIDCALL;
    *viewport = viewport_;
    return D3D_OK;
}

bool Device::ViewportRect(D3DRECT* rect) const {
    const D3DSURFACE_DESC& target = renderTarget_->Desc();
    const D3DRECT whole{0, 0, static_cast<LONG>(target.Width), static_cast<LONG>(target.Height)};
    const D3DRECT viewport{static_cast<LONG>(viewport_.X), static_cast<LONG>(viewport_.Y),
                           static_cast<LONG>(viewport_.X + viewport_.Width),
                           static_cast<LONG>(viewport_.Y + viewport_.Height)};
    *rect = Intersect(whole, viewport);
    return !IsEmpty(*rect);
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD stencil) {
    const DeviceLock lock(this);
    if ((flags & ~kClearFlags) != 0 || !renderTarget_)
        return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_ZBUFFER) && !depthStencil_)
        return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_STENCIL) && (!depthStencil_ || !depthStencil_->HasStencil()))
        return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_ZBUFFER) && !InUnitRange(z))
        return D3DERR_INVALIDCALL;
    // The documentation forbids a count without rectangles and rectangles with a count of 0. Wine's
    // Direct3D 9 answers D3D_OK to both, clearing the whole viewport for the first and nothing for the
    // second; programs that get away with either on Windows get the same here.
    if (flags == 0 || (count == 0 && rects))
        return D3D_OK;
    if (!rects)
        count = 0;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    ApplySrgbWrite();

    D3DRECT limit;
    if (!ViewportRect(&limit))
        return D3D_OK;
    // With the scissor test on, the scissor rectangle limits Clear as it limits drawing.
    if (state_->renderStates[D3DRS_SCISSORTESTENABLE]) {
        const RECT& r = state_->scissorRect;
        limit = Intersect(limit, D3DRECT{r.left, r.top, r.right, r.bottom});
        if (IsEmpty(limit))
            return D3D_OK;
    }
    const float rgba[4] = {
        static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
        static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>((color >> 24) & 0xFF) / 255.0f};
    // Clear writes every channel and every depth and stencil bit, whatever the write masks are.
    gl_.SetColorMask(true, true, true, true);
    gl_.SetDepthMask(true);
    gl_.SetStencilWriteMask(0xFF);
    gl_.SetScissorTest(true);
    // GL limits a framebuffer's clears to the area all its attachments share; Direct3D 9 clears the
    // rectangle on each surface as far as that surface reaches. Surfaces of other sizes are cleared
    // one at a time.
    const bool shared = TargetsShareSize();
    if (!shared)
        CreateCopyFramebuffers();
    if (count == 0) {
        ClearRect(limit, shared, flags, rgba, z, stencil);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i) {
        const D3DRECT rect = Intersect(rects[i], limit);
        if (!IsEmpty(rect))
            ClearRect(rect, shared, flags, rgba, z, stencil);
    }
    return D3D_OK;
}

bool Device::TargetsShareSize() const {
    const D3DSURFACE_DESC& first = renderTarget_->Desc();
    const auto same = [&first](const Surface* surface) {
        return !surface || (surface->Desc().Width == first.Width && surface->Desc().Height == first.Height);
    };
    for (const auto& target : extraRenderTargets_)
        if (!same(target.Get()))
            return false;
    return same(depthStencil_.Get());
}

void Device::ClearRect(const D3DRECT& rect, bool shared, DWORD flags, const float color[4], float z,
                       DWORD stencil) {
    // Row 0 of the target is Direct3D's top row, so the rectangle is the scissor box as it stands.
    gl_.SetScissorBox(GlRect{rect.x1, rect.y1, rect.x2 - rect.x1, rect.y2 - rect.y1});
    const GLuint single = copyDrawFramebuffer_;
    const auto attachAlone = [this, single](const Surface& surface) {
        Surface::DetachColor(single);
        Surface::DetachDepthStencil(single);
        surface.AttachTo(single, 0, srgbWrite_);
    };
    // Clear fills every bound render target, as in Direct3D 9.
    if (flags & D3DCLEAR_TARGET) {
        for (unsigned index = 0; index < kRenderTargets; ++index) {
            Surface* target = index == 0 ? renderTarget_.Get() : extraRenderTargets_[index - 1].Get();
            if (!target)
                continue;
            if (shared) {
                glClearNamedFramebufferfv(drawFramebuffer_, GL_COLOR, static_cast<GLint>(index), color);
            } else {
                attachAlone(*target);
                glClearNamedFramebufferfv(single, GL_COLOR, 0, color);
            }
            target->Storage().MarkMipsStale();
        }
    }
    const GLint stencilValue = static_cast<GLint>(stencil & 0xFF);
    const bool depth = (flags & D3DCLEAR_ZBUFFER) != 0;
    const bool stencilToo = (flags & D3DCLEAR_STENCIL) != 0;
    if (!depth && !stencilToo)
        return;
    GLuint framebuffer = drawFramebuffer_;
    if (!shared) {
        attachAlone(*depthStencil_.Get());
        framebuffer = single;
    }
    if (depth && stencilToo)
        glClearNamedFramebufferfi(framebuffer, GL_DEPTH_STENCIL, 0, z, stencilValue);
    else if (depth)
        glClearNamedFramebufferfv(framebuffer, GL_DEPTH, 0, &z);
    else
        glClearNamedFramebufferiv(framebuffer, GL_STENCIL, 0, &stencilValue);
}

} // namespace platform::device
