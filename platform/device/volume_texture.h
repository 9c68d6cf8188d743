// IDirect3DVolumeTexture9: a 3D texture with its mip levels, each level a volume of the texture.
#ifndef VTR3_PLATFORM_DEVICE_VOLUME_TEXTURE_H
#define VTR3_PLATFORM_DEVICE_VOLUME_TEXTURE_H

#include "device/base_texture.h"

#include <vector>

namespace platform::device {

class Volume;

class VolumeTexture final : public TextureBase<IDirect3DVolumeTexture9> {
  public:
    static HRESULT Create(Device* device, const StorageDesc& desc, IDirect3DVolumeTexture9** texture);

    // IDirect3DResource9
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VOLUMETEXTURE; }

    // IDirect3DVolumeTexture9
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DVOLUME_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetVolumeLevel(UINT level, IDirect3DVolume9** volume) override;
    HRESULT STDMETHODCALLTYPE LockBox(UINT level, D3DLOCKED_BOX* lockedBox, const D3DBOX* box,
                                      DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockBox(UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyBox(const D3DBOX* dirtyBox) override;

  private:
    VolumeTexture(Device* device, std::unique_ptr<TextureStorage> storage);
    ~VolumeTexture() override;

    std::vector<Volume*> volumes_;
};

} // namespace platform::device

#endif
