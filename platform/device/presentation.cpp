#include "device/presentation.h"

#include "device/adapter.h"
#include "device/format_table.h"
#include "platform_control.h"

namespace platform::device {

HRESULT CheckBehaviorFlags(DWORD behaviorFlags) {
    const DWORD processing =
        behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                         D3DCREATE_MIXED_VERTEXPROCESSING);
    // Exactly one kind of vertex processing must be named.
    const bool exactlyOne = processing == D3DCREATE_SOFTWARE_VERTEXPROCESSING ||
                            processing == D3DCREATE_HARDWARE_VERTEXPROCESSING ||
                            processing == D3DCREATE_MIXED_VERTEXPROCESSING;
    if (!exactlyOne)
        return D3DERR_INVALIDCALL;
    // Adapter groups need more than the one adapter there is.
    if (behaviorFlags & D3DCREATE_ADAPTERGROUP_DEVICE)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT CompletePresentation(HWND focusWindow, const D3DPRESENT_PARAMETERS& requested, int maxSize,
                             D3DPRESENT_PARAMETERS* completed) {
    D3DPRESENT_PARAMETERS pp = requested;
    if (!pp.hDeviceWindow)
        pp.hDeviceWindow = focusWindow;
    int windowWidth = 0;
    int windowHeight = 0;
    if (!GetStandInWindowSize(pp.hDeviceWindow, &windowWidth, &windowHeight))
        return D3DERR_INVALIDCALL;
    if (focusWindow && !GetStandInWindowSize(focusWindow, nullptr, nullptr))
        return D3DERR_INVALIDCALL;

    if (pp.Windowed) {
        if (pp.BackBufferWidth == 0)
            pp.BackBufferWidth = static_cast<UINT>(windowWidth > 0 ? windowWidth : 1);
        if (pp.BackBufferHeight == 0)
            pp.BackBufferHeight = static_cast<UINT>(windowHeight > 0 ? windowHeight : 1);
        if (pp.BackBufferFormat == D3DFMT_UNKNOWN)
            pp.BackBufferFormat = kDisplayFormat;
        if (pp.FullScreen_RefreshRateInHz != 0)
            return D3DERR_INVALIDCALL;
    } else if (pp.BackBufferWidth == 0 || pp.BackBufferHeight == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (pp.BackBufferWidth > static_cast<UINT>(maxSize) || pp.BackBufferHeight > static_cast<UINT>(maxSize))
        return D3DERR_INVALIDCALL;
    if (!IsBackBufferFormat(pp.BackBufferFormat))
        return D3DERR_INVALIDCALL;

    // One back buffer is what a headless swap chain needs; more would never be shown either.
    if (pp.BackBufferCount == 0)
        pp.BackBufferCount = 1;
    if (pp.BackBufferCount > 1)
        return D3DERR_INVALIDCALL;
    if (pp.MultiSampleType != D3DMULTISAMPLE_NONE || pp.MultiSampleQuality != 0)
        return D3DERR_INVALIDCALL;
    if (pp.SwapEffect < D3DSWAPEFFECT_DISCARD || pp.SwapEffect > D3DSWAPEFFECT_COPY)
        return D3DERR_INVALIDCALL;

    if (pp.EnableAutoDepthStencil) {
        const FormatInfo* depth = FindFormat(pp.AutoDepthStencilFormat);
        if (!depth || !IsDepthFormat(*depth))
            return D3DERR_INVALIDCALL;
    }
    *completed = pp;
    return D3D_OK;
}

} // namespace platform::device
