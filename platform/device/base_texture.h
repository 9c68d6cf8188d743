// IDirect3DBaseTexture9: what 2D, cube and volume textures share. BaseTexture is the view the device
// and its drawing code have of any texture (GL name and target, format, levels); TextureBase<I> adds
// the COM side and the IDirect3DBaseTexture9 methods for each texture interface.
#ifndef VTR3_PLATFORM_DEVICE_BASE_TEXTURE_H
#define VTR3_PLATFORM_DEVICE_BASE_TEXTURE_H

#include "device/resource.h"
#include "device/texture_storage.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace platform::device {

// Appends without throwing; false when memory ran out.
template <typename T> bool TryPush(std::vector<T>* items, T item) {
    try {
        items->push_back(item);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

class BaseTexture {
  public:
    GLuint GlName() const { return storage_->GlName(); }
    GLenum GlTarget() const { return storage_->GlTarget(); }
    const FormatInfo& Format() const { return storage_->Format(); }
    // The levels the caller sees (one for an autogen texture, whose chain GL holds).
    UINT LevelCount() const { return storage_->Desc().levels; }
    // Brings GL up to date before a draw samples the texture: pending uploads, autogen mip levels.
    void PrepareForSampling() { storage_->PrepareForSampling(); }

    TextureStorage& Storage() const { return *storage_; }
    D3DPOOL PoolOf() const { return storage_->Desc().pool; }
    virtual Device* Owner() const = 0;
    virtual IDirect3DBaseTexture9* ComInterface() = 0;
    virtual void AddRefPrivate() = 0;
    virtual void ReleasePrivate() = 0;

    // The platform's own texture behind an interface pointer; null for anything else.
    static BaseTexture* From(IDirect3DBaseTexture9* texture) { return dynamic_cast<BaseTexture*>(texture); }

  protected:
    explicit BaseTexture(std::unique_ptr<TextureStorage> storage) : storage_(std::move(storage)) {}
    virtual ~BaseTexture() = default;
    BaseTexture(const BaseTexture&) = delete;
    BaseTexture& operator=(const BaseTexture&) = delete;

    std::unique_ptr<TextureStorage> storage_;
};

template <typename Interface> class TextureBase : public Resource<Interface>, public BaseTexture {
  public:
    Device* Owner() const override { return this->ParentDevice(); }
    IDirect3DBaseTexture9* ComInterface() override { return this; }
    void AddRefPrivate() override { Resource<Interface>::AddRefPrivate(); }
    void ReleasePrivate() override { Resource<Interface>::ReleasePrivate(); }

    // IDirect3DResource9
    void STDMETHODCALLTYPE PreLoad() override {
        const DeviceLock lock(this->ParentDevice());
        if (this->ParentDevice()->MakeCurrent())
            PrepareForSampling();
    }

    // IDirect3DBaseTexture9. The level of detail only applies to managed textures, as in Direct3D.
    DWORD STDMETHODCALLTYPE SetLOD(DWORD lod) override {
        if (PoolOf() != D3DPOOL_MANAGED)
            return 0;
        const DeviceLock lock(this->ParentDevice());
        const DWORD previous = lod_;
        lod_ = std::min<DWORD>(lod, LevelCount() - 1);
        if (this->ParentDevice()->MakeCurrent())
            storage_->SetBaseLevel(lod_);
        return previous;
    }
    DWORD STDMETHODCALLTYPE GetLOD() override { return lod_; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return LevelCount(); }
    HRESULT STDMETHODCALLTYPE SetAutoGenFilterType(D3DTEXTUREFILTERTYPE filter) override {
        if (filter == D3DTEXF_NONE || filter > D3DTEXF_GAUSSIANQUAD)
            return D3DERR_INVALIDCALL;
        autoGenFilter_ = filter;
        return D3D_OK;
    }
    D3DTEXTUREFILTERTYPE STDMETHODCALLTYPE GetAutoGenFilterType() override { return autoGenFilter_; }
    void STDMETHODCALLTYPE GenerateMipSubLevels() override {
        const DeviceLock lock(this->ParentDevice());
        if (this->ParentDevice()->MakeCurrent())
            storage_->GenerateMips();
    }

  protected:
    TextureBase(Device* device, std::unique_ptr<TextureStorage> storage)
        : Resource<Interface>(device, storage->Desc().pool), BaseTexture(std::move(storage)) {
        if (PoolOf() == D3DPOOL_DEFAULT)
            device->CountDefaultResource(+1);
    }
    ~TextureBase() override {
        Device* device = this->ParentDevice();
        const DeviceLock lock(device);
        if (PoolOf() == D3DPOOL_DEFAULT)
            device->CountDefaultResource(-1);
        // GL names go while the device's context is current.
        device->MakeCurrent();
        storage_.reset();
    }

  private:
    DWORD lod_ = 0;
    D3DTEXTUREFILTERTYPE autoGenFilter_ = D3DTEXF_LINEAR;
};

} // namespace platform::device

#endif
