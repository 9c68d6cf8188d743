// The device the engine hands the plug-in: it forwards every call to the engine's device and, while
// the engine asks, notes the textures the plug-in creates, so that scripts can take screenshots of
// them (the plug-in hands none out), and tells its watchers where and when the plug-in draws.
//
// AddRef and Release reach the engine's device, so the plug-in sees its true reference count; the
// wrapper itself lives as long as the engine's graphics. Objects the device hands out answer
// GetDevice with the engine's device.
#ifndef VTR3_HOST_NOTING_DEVICE_H
#define VTR3_HOST_NOTING_DEVICE_H

#include <windows.h>
#include <d3d9.h>

#include <vector>

namespace host {

// What the engine's tools (step images, the profiler) see of the plug-in's drawing. Both calls come
// before the call is forwarded, so a watcher still finds the previous render target holding what was
// drawn into it.
class DeviceWatch {
  public:
    virtual void RenderTargetSetting(DWORD index, IDirect3DSurface9* surface) = 0;
    virtual void Drawing() = 0;

  protected:
    ~DeviceWatch() = default;
};

class NotingDevice final : public IDirect3DDevice9 {
  public:
    explicit NotingDevice(IDirect3DDevice9* inner) : inner_(inner) {}
    ~NotingDevice() { ReleaseNoted(); }
    NotingDevice(const NotingDevice&) = delete;
    NotingDevice& operator=(const NotingDevice&) = delete;

    // From now on each texture, cube texture and volume texture created is noted with a reference;
    // what an earlier start noted and nobody took is released.
    void StartNoting();
    // The textures noted since StartNoting, in the order of their creation, each with a reference
    // for the caller; noting stops.
    std::vector<IDirect3DBaseTexture9*> TakeNoted();
    // Adds a watcher, told of every render target change and draw call until RemoveWatch.
    void AddWatch(DeviceWatch* watch);
    void RemoveWatch(DeviceWatch* watch);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return inner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return inner_->Release(); }
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                            HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels,
                                                  DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                  IDirect3DVolumeTexture9** texture, HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DCubeTexture9** texture,
                                                HANDLE* shared) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minimum,
                                                   UINT vertices, UINT start, UINT count) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                              UINT stride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minimum, UINT vertices,
                                                     UINT count, const void* indices, D3DFORMAT format,
                                                     const void* data, UINT stride) override;

    // Every other method, generated from d3d9.h by cmake/forward_methods.awk.
#include "noting_device_methods.inc"

  private:
    void Note(HRESULT result, IDirect3DBaseTexture9* texture);
    void ReleaseNoted();
    void Drawing();

    IDirect3DDevice9* inner_;
    bool noting_ = false;
    std::vector<IDirect3DBaseTexture9*> noted_;
    std::vector<DeviceWatch*> watches_;
};

} // namespace host

#endif
