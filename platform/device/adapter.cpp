#include "device/adapter.h"

#include <d3d9.h>

#include <iterator>

namespace platform::device {
namespace {

constexpr UINT kRefreshRate = 60;

struct Resolution {
    UINT width;
    UINT height;
};

// Sorted as Direct3D lists modes: by width, then height.
constexpr Resolution kResolutions[] = {{640, 480},   {800, 600},  {1024, 768}, {1280, 720},
                                       {1280, 1024}, {1600, 900}, {1920, 1080}};

} // namespace

HRESULT CheckAdapter(UINT adapter, D3DDEVTYPE type) {
    if (adapter != 0)
        return D3DERR_INVALIDCALL;
    switch (type) {
    case D3DDEVTYPE_HAL:
        return D3D_OK;
    case D3DDEVTYPE_REF:
    case D3DDEVTYPE_SW:
    case D3DDEVTYPE_NULLREF:
        return D3DERR_NOTAVAILABLE;
    default:
        return D3DERR_INVALIDCALL;
    }
}

UINT DisplayModeCount(D3DFORMAT format) {
    return format == kDisplayFormat ? static_cast<UINT>(std::size(kResolutions)) : 0;
}

bool DisplayModeAt(D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) {
    if (index >= DisplayModeCount(format))
        return false;
    *mode = D3DDISPLAYMODE{kResolutions[index].width, kResolutions[index].height, kRefreshRate, format};
    return true;
}

D3DDISPLAYMODE DesktopMode() {
    return D3DDISPLAYMODE{1920, 1080, kRefreshRate, kDisplayFormat};
}

bool IsBackBufferFormat(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
}

} // namespace platform::device
