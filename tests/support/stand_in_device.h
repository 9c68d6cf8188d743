// The set-up that device tests and benchmarks share: a stand-in window, an IDirect3D9 and a device on
// them, with the presentation the engine asks for. Derive from it to use the members directly.
#ifndef VTR3_TESTS_SUPPORT_STAND_IN_DEVICE_H
#define VTR3_TESTS_SUPPORT_STAND_IN_DEVICE_H

#include "platform_control.h"

#include <d3d9.h>

#include <utility>

class StandInDevice {
  public:
    StandInDevice() = default;
    StandInDevice(const StandInDevice&) = delete;
    StandInDevice& operator=(const StandInDevice&) = delete;
    ~StandInDevice() { Close(); }

    // Windowed, the window's size, X8R8G8B8 with a D24S8 depth-stencil surface.
    static D3DPRESENT_PARAMETERS Parameters() {
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        return pp;
    }

    // Opens the window and the IDirect3D9; false when there is no IDirect3D9.
    bool Open(int width, int height, const char* title) {
        window_ = platform::CreateStandInWindow(width, height, title);
        direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        return direct3d_ != nullptr;
    }

    HRESULT Create(D3DPRESENT_PARAMETERS* pp, IDirect3DDevice9** device,
                   DWORD flags = D3DCREATE_HARDWARE_VERTEXPROCESSING) const {
        return direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, flags, pp, device);
    }

    // Open, then device_ with Parameters().
    HRESULT OpenDevice(int width, int height, const char* title) {
        if (!Open(width, height, title))
            return D3DERR_NOTAVAILABLE;
        D3DPRESENT_PARAMETERS pp = Parameters();
        return Create(&pp, &device_);
    }

    // Releases the device and the IDirect3D9 and destroys the window. Returns the references that
    // others still hold on the two: 0 unless something leaked.
    ULONG Close() {
        ULONG left = 0;
        if (IDirect3DDevice9* device = std::exchange(device_, nullptr))
            left += device->Release();
        if (IDirect3D9* direct3d = std::exchange(direct3d_, nullptr))
            left += direct3d->Release();
        if (HWND window = std::exchange(window_, nullptr))
            platform::DestroyStandInWindow(window);
        return left;
    }

  protected:
    HWND window_ = nullptr;
    IDirect3D9* direct3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

#endif
