// IDirect3DSurface9. In this slice a surface owns a renderbuffer: the implicit back buffer and the
// automatic depth-stencil surface. Surfaces of textures will refer to a texture level instead.
#ifndef VTR3_PLATFORM_DEVICE_SURFACE_H
#define VTR3_PLATFORM_DEVICE_SURFACE_H

#include "device/gl_api.h"
#include "device/resource.h"

namespace platform::device {

struct FormatInfo;

class Surface final : public Resource<IDirect3DSurface9> {
  public:
    // A surface with renderbuffer storage, not yet referenced; null when the format has no GL
    // storage or GL fails.
    static Surface* CreateRenderbuffer(Device* device, const D3DSURFACE_DESC& desc);

    // Attaches the storage to a framebuffer at the attachment point its format calls for (colour 0,
    // depth, or depth-stencil).
    void AttachTo(GLuint framebuffer) const;
    static void DetachColor(GLuint framebuffer);
    static void DetachDepthStencil(GLuint framebuffer);

    const D3DSURFACE_DESC& Desc() const { return desc_; }
    bool HasStencil() const;
    bool IsDepthStencil() const { return (desc_.Usage & D3DUSAGE_DEPTHSTENCIL) != 0; }

    // IDirect3DResource9
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }

    // IDirect3DSurface9
    HRESULT STDMETHODCALLTYPE GetContainer(REFIID riid, void** container) override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;

  private:
    Surface(Device* device, const D3DSURFACE_DESC& desc, GLuint renderbuffer);
    ~Surface() override;

    D3DSURFACE_DESC desc_;
    GLuint renderbuffer_;
};

} // namespace platform::device

#endif
