// IDirect3DCubeTexture9: six faces of square mip levels. Faces are in Direct3D's order (+X, -X, +Y,
// -Y, +Z, -Z), which is also OpenGL's layer order, and each face's row 0 is its first stored row.
#ifndef VTR3_PLATFORM_DEVICE_CUBE_TEXTURE_H
#define VTR3_PLATFORM_DEVICE_CUBE_TEXTURE_H

#include "device/base_texture.h"

#include <vector>

namespace platform::device {

class Surface;

class CubeTexture final : public TextureBase<IDirect3DCubeTexture9> {
  public:
    static HRESULT Create(Device* device, const StorageDesc& desc, IDirect3DCubeTexture9** texture);

    // IDirect3DResource9
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }

    // IDirect3DCubeTexture9
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level,
                                                IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* lockedRect,
                                       const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(D3DCUBEMAP_FACES face, UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(D3DCUBEMAP_FACES face, const RECT* dirtyRect) override;

  private:
    CubeTexture(Device* device, std::unique_ptr<TextureStorage> storage);
    ~CubeTexture() override;
    // Null for a face or level out of range.
    Surface* At(D3DCUBEMAP_FACES face, UINT level) const;

    std::vector<Surface*> surfaces_; // face by face, levels within a face
};

} // namespace platform::device

#endif
