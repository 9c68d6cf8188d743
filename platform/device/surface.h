// IDirect3DSurface9. A surface is either one of its own (back buffer, automatic depth-stencil
// surface, CreateRenderTarget, CreateDepthStencilSurface, CreateOffscreenPlainSurface) with a
// one-level storage, or a level (cube face level) of a texture. A texture's surface lives as long as
// the texture and counts references on the texture, as Direct3D 9 does: AddRef and Release on the
// surface are AddRef and Release on its container.
#ifndef VTR3_PLATFORM_DEVICE_SURFACE_H
#define VTR3_PLATFORM_DEVICE_SURFACE_H

#include "device/gl_api.h"
#include "device/resource.h"
#include "device/texture_storage.h"

#include <memory>

namespace platform::device {

class BaseTexture;

class Surface final : public Resource<IDirect3DSurface9> {
  public:
    // A surface of its own, not yet referenced. An implicit surface (back buffer, automatic
    // depth-stencil surface) is the device's and does not count as the caller's default-pool resource.
    static HRESULT CreateStandalone(Device* device, const D3DSURFACE_DESC& desc, bool lockable, bool implicit,
                                    Surface** surface);
    static Surface* CreateImplicit(Device* device, const D3DSURFACE_DESC& desc);
    // A level of a texture's storage; the texture destroys it with DestroySubresource.
    static Surface* CreateSubresource(Device* device, BaseTexture* container, TextureStorage* storage,
                                      UINT face, UINT level);
    static void DestroySubresource(Surface* surface);

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // Private references of a texture's surface are the texture's too.
    void AddRefPrivate();
    void ReleasePrivate();

    // Attaches the storage to a framebuffer: colour attachment index, or the depth (and stencil)
    // attachment for a depth-stencil surface.
    // With srgb, a colour attachment is the storage's sRGB view, which GL_FRAMEBUFFER_SRGB encodes.
    void AttachTo(GLuint framebuffer, unsigned colorIndex = 0, bool srgb = false) const;
    static void DetachColor(GLuint framebuffer, unsigned colorIndex = 0);
    static void DetachDepthStencil(GLuint framebuffer);

    const D3DSURFACE_DESC& Desc() const { return desc_; }
    bool HasStencil() const;
    bool IsDepthStencil() const { return (desc_.Usage & D3DUSAGE_DEPTHSTENCIL) != 0; }
    bool IsRenderTarget() const { return (desc_.Usage & D3DUSAGE_RENDERTARGET) != 0; }
    TextureStorage& Storage() const { return *storage_; }
    UINT Face() const { return face_; }
    UINT Level() const { return level_; }
    BaseTexture* Container() const { return container_; }
    Device* Owner() const { return ParentDevice(); }
    // The platform's own surface behind an interface pointer; null for anything else.
    static Surface* From(IDirect3DSurface9* surface) { return dynamic_cast<Surface*>(surface); }

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
    Surface(Device* device, const D3DSURFACE_DESC& desc, BaseTexture* container, TextureStorage* storage,
            UINT face, UINT level, bool countsAsDefault);
    ~Surface() override;

    D3DSURFACE_DESC desc_;
    BaseTexture* container_;
    std::unique_ptr<TextureStorage> ownStorage_;
    TextureStorage* storage_;
    UINT face_;
    UINT level_;
    bool countsAsDefault_;
};

// The description of one level of a storage, as GetLevelDesc and GetDesc give it.
D3DSURFACE_DESC LevelDesc(const TextureStorage& storage, UINT level);

} // namespace platform::device

#endif
