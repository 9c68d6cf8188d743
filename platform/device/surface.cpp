#include "device/surface.h"

#include "device/format_table.h"

#include <new>

namespace platform::device {

Surface* Surface::CreateRenderbuffer(Device* device, const D3DSURFACE_DESC& desc) {
    const FormatInfo* format = FindFormat(desc.Format);
    if (!format || !device->MakeCurrent())
        return nullptr;
    GLuint renderbuffer = 0;
    glCreateRenderbuffers(1, &renderbuffer);
    glNamedRenderbufferStorage(renderbuffer, format->internalFormat, static_cast<GLsizei>(desc.Width),
                               static_cast<GLsizei>(desc.Height));
    if (glGetError() != GL_NO_ERROR) {
        glDeleteRenderbuffers(1, &renderbuffer);
        return nullptr;
    }
    Surface* surface = new (std::nothrow) Surface(device, desc, renderbuffer);
    if (!surface)
        glDeleteRenderbuffers(1, &renderbuffer);
    return surface;
}

Surface::Surface(Device* device, const D3DSURFACE_DESC& desc, GLuint renderbuffer)
    : Resource<IDirect3DSurface9>(device, desc.Pool), desc_(desc), renderbuffer_(renderbuffer) {}

Surface::~Surface() {
    if (ParentDevice()->MakeCurrent())
        glDeleteRenderbuffers(1, &renderbuffer_);
}

bool Surface::HasStencil() const {
    return device::HasStencil(desc_.Format);
}

void Surface::AttachTo(GLuint framebuffer) const {
    GLenum attachment = GL_COLOR_ATTACHMENT0;
    if (IsDepthStencil())
        attachment = HasStencil() ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
    glNamedFramebufferRenderbuffer(framebuffer, attachment, GL_RENDERBUFFER, renderbuffer_);
}

void Surface::DetachColor(GLuint framebuffer) {
    glNamedFramebufferRenderbuffer(framebuffer, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
}

void Surface::DetachDepthStencil(GLuint framebuffer) {
    glNamedFramebufferRenderbuffer(framebuffer, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
}

HRESULT Surface::GetContainer(REFIID riid, void** container) {
    if (!container)
        return D3DERR_INVALIDCALL;
    *container = nullptr;
    // A surface that belongs to no texture has the device as its container.
    return ParentDevice()->QueryInterface(riid, container);
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* lockedRect, const RECT* /*rect*/, DWORD /*flags*/) {
    if (lockedRect)
        *lockedRect = D3DLOCKED_RECT{0, nullptr};
    // Neither a back buffer without D3DPRESENTFLAG_LOCKABLE_BACKBUFFER nor a depth-stencil surface of
    // these formats can be locked in Direct3D 9.
    return D3DERR_INVALIDCALL;
}

HRESULT Surface::UnlockRect() {
    return D3DERR_INVALIDCALL;
}

HRESULT Surface::GetDC(HDC* dc) {
    if (dc)
        *dc = nullptr;
    // There is no GDI to draw with.
    return D3DERR_INVALIDCALL;
}

HRESULT Surface::ReleaseDC(HDC /*dc*/) {
    return D3DERR_INVALIDCALL;
}

} // namespace platform::device
