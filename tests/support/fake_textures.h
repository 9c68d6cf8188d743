// Stand-in textures and surfaces for tests that need a device object to come back from a creation
// call without a real device behind it. They count references as COM does, write the calls made on
// them into a shared call list, and count how many of them are alive.
#ifndef VTR3_TESTS_SUPPORT_FAKE_TEXTURES_H
#define VTR3_TESTS_SUPPORT_FAKE_TEXTURES_H

#include <d3d9.h>

#include <string>
#include <vector>

namespace fake {

// Fakes alive now, of every kind.
inline int& LiveCount() {
    static int live = 0;
    return live;
}

// IUnknown and IDirect3DResource9 for any resource interface.
template <typename Interface> class Resource : public Interface {
  public:
    Resource(D3DRESOURCETYPE type, std::vector<std::string>* calls) : type_(type), calls_(calls) {
        ++LiveCount();
    }
    virtual ~Resource() { --LiveCount(); }
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

    ULONG references() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        if (object) {
            *object = nullptr;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --references_;
        if (count == 0) {
            delete this;
        }
        return count;
    }
    HRESULT GetDevice(IDirect3DDevice9** device) override {
        *device = nullptr;
        return D3DERR_INVALIDCALL;
    }
    HRESULT SetPrivateData(REFGUID, CONST void*, DWORD, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT GetPrivateData(REFGUID, void*, DWORD*) override { return D3DERR_NOTFOUND; }
    HRESULT FreePrivateData(REFGUID) override { return D3DERR_NOTFOUND; }
    DWORD SetPriority(DWORD) override { return 0; }
    DWORD GetPriority() override { return 0; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return type_; }

  protected:
    void Record(const std::string& call) {
        if (calls_) {
            calls_->push_back(call);
        }
    }
    std::vector<std::string>* calls() const { return calls_; }

  private:
    ULONG references_ = 1;
    D3DRESOURCETYPE type_;
    std::vector<std::string>* calls_;
};

class Surface : public Resource<IDirect3DSurface9> {
  public:
    explicit Surface(std::vector<std::string>* calls) : Resource(D3DRTYPE_SURFACE, calls) {}
    HRESULT GetContainer(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC*) override { return D3DERR_INVALIDCALL; }
    HRESULT LockRect(D3DLOCKED_RECT*, CONST RECT*, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockRect() override { return D3DERR_INVALIDCALL; }
    HRESULT GetDC(HDC*) override { return D3DERR_INVALIDCALL; }
    HRESULT ReleaseDC(HDC) override { return D3DERR_INVALIDCALL; }
};

template <typename Interface> class BaseTexture : public Resource<Interface> {
  public:
    using Resource<Interface>::Resource;
    DWORD SetLOD(DWORD) override { return 0; }
    DWORD GetLOD() override { return 0; }
    DWORD GetLevelCount() override { return 1; }
    HRESULT SetAutoGenFilterType(D3DTEXTUREFILTERTYPE) override { return D3D_OK; }
    D3DTEXTUREFILTERTYPE GetAutoGenFilterType() override { return D3DTEXF_LINEAR; }
    void GenerateMipSubLevels() override {}
};

class Texture : public BaseTexture<IDirect3DTexture9> {
  public:
    explicit Texture(std::vector<std::string>* calls) : BaseTexture(D3DRTYPE_TEXTURE, calls) {}
    HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override {
        Record("GetSurfaceLevel(" + std::to_string(level) + ")");
        *surface = new Surface(calls());
        return D3D_OK;
    }
    HRESULT LockRect(UINT, D3DLOCKED_RECT*, CONST RECT*, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockRect(UINT) override { return D3DERR_INVALIDCALL; }
    HRESULT AddDirtyRect(CONST RECT*) override { return D3D_OK; }
};

class CubeTexture : public BaseTexture<IDirect3DCubeTexture9> {
  public:
    explicit CubeTexture(std::vector<std::string>* calls) : BaseTexture(D3DRTYPE_CUBETEXTURE, calls) {}
    HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** surface) override {
        Record("GetCubeMapSurface(" + std::to_string(face) + ", " + std::to_string(level) + ")");
        *surface = new Surface(calls());
        return D3D_OK;
    }
    HRESULT LockRect(D3DCUBEMAP_FACES, UINT, D3DLOCKED_RECT*, CONST RECT*, DWORD) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT UnlockRect(D3DCUBEMAP_FACES, UINT) override { return D3DERR_INVALIDCALL; }
    HRESULT AddDirtyRect(D3DCUBEMAP_FACES, CONST RECT*) override { return D3D_OK; }
};

class VolumeTexture : public BaseTexture<IDirect3DVolumeTexture9> {
  public:
    explicit VolumeTexture(std::vector<std::string>* calls) : BaseTexture(D3DRTYPE_VOLUMETEXTURE, calls) {}
    HRESULT GetLevelDesc(UINT, D3DVOLUME_DESC*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetVolumeLevel(UINT, IDirect3DVolume9** volume) override {
        *volume = nullptr;
        return D3DERR_INVALIDCALL;
    }
    HRESULT LockBox(UINT, D3DLOCKED_BOX*, CONST D3DBOX*, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockBox(UINT) override { return D3DERR_INVALIDCALL; }
    HRESULT AddDirtyBox(CONST D3DBOX*) override { return D3D_OK; }
};

} // namespace fake

#endif
