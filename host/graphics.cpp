#include "graphics.h"

#include <string>

#include "back_buffer.h"
#include "host_error.h"
#include "system.h"

namespace host {

Graphics::Graphics(int width, int height, const char* title) {
    if (width <= 0 || height <= 0) {
        throw Error("the engine window needs a positive size, not " + std::to_string(width) + "x" +
                    std::to_string(height));
    }
    window_ = system::CreateEngineWindow(width, height, title ? title : "");
    if (!window_) {
        throw Error("the engine window could not be created");
    }
    direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3d_) {
        Release();
        throw Error("Direct3DCreate9 failed");
    }
    D3DPRESENT_PARAMETERS& parameters = parameters_;
    parameters.BackBufferWidth = static_cast<UINT>(width);
    parameters.BackBufferHeight = static_cast<UINT>(height);
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    // A screenshot reads the back buffer after the frame was presented: only a copy swap keeps it.
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window_;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    D3DPRESENT_PARAMETERS used = parameters;
    const HRESULT result = direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &used, &device_);
    if (FAILED(result) || !device_) {
        device_ = nullptr;
        Release();
        throw Error("IDirect3D9::CreateDevice failed with " + ResultText(result));
    }
}

HRESULT Graphics::Reset() {
    D3DPRESENT_PARAMETERS used = parameters_; // Reset may write back what it completed
    return device_ ? device_->Reset(&used) : D3DERR_INVALIDCALL;
}

Graphics::~Graphics() {
    Release();
}

void Graphics::Release() {
    if (device_) {
        device_->Release();
        device_ = nullptr;
    }
    if (direct3d_) {
        direct3d_->Release();
        direct3d_ = nullptr;
    }
    if (window_) {
        system::DestroyEngineWindow(window_);
        window_ = nullptr;
    }
}

} // namespace host
