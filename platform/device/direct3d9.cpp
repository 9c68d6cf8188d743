#include "device/direct3d9.h"

#include "device/adapter.h"
#include "device/device.h"
#include "device/device_caps.h"
#include "device/format_table.h"
#include "device/gl_limits.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace platform::device {
namespace {

// The headless display has no monitor handle of its own; a fixed non-null value stands for it.
HMONITOR const kMonitor = reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x1000));

HRESULT CheckBufferFormat(D3DRESOURCETYPE type, D3DFORMAT format) {
    if (type == D3DRTYPE_VERTEXBUFFER)
        return format == D3DFMT_VERTEXDATA ? D3D_OK : D3DERR_NOTAVAILABLE;
    return format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32 ? D3D_OK : D3DERR_NOTAVAILABLE;
}

} // namespace

HRESULT Direct3D9::RegisterSoftwareDevice(void* /*initializeFunction*/) {
    // Software rasterisers are not plugged into this platform.
    return D3DERR_NOTAVAILABLE;
}

UINT Direct3D9::GetAdapterCount() {
    return 1;
}

HRESULT Direct3D9::GetAdapterIdentifier(UINT adapter, DWORD /*flags*/, D3DADAPTER_IDENTIFIER9* identifier) {
    if (adapter != 0 || !identifier)
        return D3DERR_INVALIDCALL;
    std::memset(identifier, 0, sizeof(*identifier));
    GlLimits limits;
    const bool available = GetGlLimits(&limits);
    std::snprintf(identifier->Driver, sizeof(identifier->Driver), "vtr3_platform");
    std::snprintf(identifier->Description, sizeof(identifier->Description), "Direct3D 9 over OpenGL 4.5 (%s)",
                  available ? limits.renderer.c_str() : "not available");
    std::snprintf(identifier->DeviceName, sizeof(identifier->DeviceName), "\\\\.\\DISPLAY1");
    identifier->DriverVersion.QuadPart = 0x0003000000000000LL; // 3.0.0.0
    // A fixed identifier: the adapter is the same on every run.
    identifier->DeviceIdentifier =
        GUID{0x5674b3a0, 0x7c1e, 0x4a2b, {0x9d, 0x30, 0x56, 0x54, 0x52, 0x33, 0x00, 0x01}};
    return D3D_OK;
}

UINT Direct3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    return adapter == 0 ? DisplayModeCount(format) : 0;
}

HRESULT Direct3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) {
    if (adapter != 0 || !displayMode)
        return D3DERR_INVALIDCALL;
    if (DisplayModeCount(format) == 0)
        return D3DERR_NOTAVAILABLE;
    return DisplayModeAt(format, mode, displayMode) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != 0 || !mode)
        return D3DERR_INVALIDCALL;
    *mode = DesktopMode();
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                   D3DFORMAT backBufferFormat, BOOL windowed) {
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    // A windowed device may leave the back buffer format to the display's.
    if (windowed && backBufferFormat == D3DFMT_UNKNOWN)
        backBufferFormat = displayFormat;
    if (displayFormat != kDisplayFormat || !IsBackBufferFormat(backBufferFormat))
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                     D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    if (adapterFormat != kDisplayFormat)
        return D3DERR_NOTAVAILABLE;
    if (resourceType == D3DRTYPE_VERTEXBUFFER || resourceType == D3DRTYPE_INDEXBUFFER)
        return CheckBufferFormat(resourceType, checkFormat);
    // One table answers here and in every resource creation.
    return CheckFormatUse(checkFormat, resourceType, usage);
}

HRESULT Direct3D9::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat,
                                              BOOL /*windowed*/, D3DMULTISAMPLE_TYPE multiSampleType,
                                              DWORD* qualityLevels) {
    if (qualityLevels)
        *qualityLevels = 0;
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    if (multiSampleType > D3DMULTISAMPLE_16_SAMPLES)
        return D3DERR_INVALIDCALL;
    const FormatInfo* info = FindFormat(surfaceFormat);
    if (!info || !(info->uses & (kUseRenderTarget | kUseDepthStencil)))
        return D3DERR_NOTAVAILABLE;
    // Multisampled surfaces are not offered (yet): only the single-sample case succeeds.
    if (multiSampleType != D3DMULTISAMPLE_NONE)
        return D3DERR_NOTAVAILABLE;
    if (qualityLevels)
        *qualityLevels = 1;
    return D3D_OK;
}

HRESULT Direct3D9::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                          D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) {
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    const FormatInfo* target = FindFormat(renderTargetFormat);
    const FormatInfo* depth = FindFormat(depthStencilFormat);
    if (adapterFormat != kDisplayFormat || !target || !depth)
        return D3DERR_NOTAVAILABLE;
    // A framebuffer object combines any colour format with any depth format.
    if (!(target->uses & kUseRenderTarget) || !IsDepthFormat(*depth))
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceFormatConversion(UINT adapter, D3DDEVTYPE type, D3DFORMAT sourceFormat,
                                               D3DFORMAT targetFormat) {
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    const FormatInfo* source = FindFormat(sourceFormat);
    const FormatInfo* target = FindFormat(targetFormat);
    // StretchRect blits between colour render target formats.
    if (!source || !target || !(source->uses & kUseRenderTarget) || !(target->uses & kUseRenderTarget))
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT Direct3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    if (!caps)
        return D3DERR_INVALIDCALL;
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    GlLimits limits;
    if (!GetGlLimits(&limits))
        return D3DERR_NOTAVAILABLE;
    FillDeviceCaps(limits, caps);
    return D3D_OK;
}

HMONITOR Direct3D9::GetAdapterMonitor(UINT adapter) {
    return adapter == 0 ? kMonitor : nullptr;
}

HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                D3DPRESENT_PARAMETERS* presentationParameters,
                                IDirect3DDevice9** returnedDevice) {
    if (!returnedDevice)
        return D3DERR_INVALIDCALL;
    *returnedDevice = nullptr;
    const HRESULT result = CheckAdapter(adapter, type);
    if (FAILED(result))
        return result;
    return Device::Create(this, type, focusWindow, behaviorFlags, presentationParameters, returnedDevice);
}

} // namespace platform::device

extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion) {
    if (SDKVersion != D3D_SDK_VERSION)
        return nullptr;
    auto* direct3d = new (std::nothrow) platform::device::Direct3D9();
    if (direct3d)
        direct3d->AddRef();
    return direct3d;
}
