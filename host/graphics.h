// The engine's window and Direct3D 9 device, created as the engine creates them and released in the
// reverse order.
#ifndef VTR3_HOST_GRAPHICS_H
#define VTR3_HOST_GRAPHICS_H

#include <windows.h>
#include <d3d9.h>

namespace host {

class Graphics {
  public:
    // A stand-in window of that size and title, the IDirect3D9, and a windowed hardware device with
    // an X8R8G8B8 back buffer of the window's size and an automatic D24S8 depth-stencil buffer.
    // Throws host::Error naming the step that failed.
    Graphics(int width, int height, const char* title);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    HWND window() const { return window_; }
    IDirect3D9* direct3d() const { return direct3d_; }
    IDirect3DDevice9* device() const { return device_; }

    // Resets the device with the parameters it was created with, as the engine does after a device
    // loss; fails while default-pool resources are alive.
    HRESULT Reset();

  private:
    void Release();

    HWND window_ = nullptr;
    IDirect3D9* direct3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    D3DPRESENT_PARAMETERS parameters_{};
};

} // namespace host

#endif
