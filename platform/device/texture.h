// IDirect3DTexture9: a 2D texture with its mip levels, each level a surface of the texture.
#ifndef VTR3_PLATFORM_DEVICE_TEXTURE_H
#define VTR3_PLATFORM_DEVICE_TEXTURE_H

#include "device/base_texture.h"

#include <vector>

namespace platform::device {

class Surface;

class Texture final : public TextureBase<IDirect3DTexture9> {
  public:
    // A texture with one public reference; the storage description is validated by the caller.
    static HRESULT Create(Device* device, const StorageDesc& desc, IDirect3DTexture9** texture);

    // IDirect3DResource9
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }

    // IDirect3DTexture9
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(const RECT* dirtyRect) override;

  private:
    Texture(Device* device, std::unique_ptr<TextureStorage> storage);
    ~Texture() override;

    std::vector<Surface*> surfaces_;
};

} // namespace platform::device

#endif
