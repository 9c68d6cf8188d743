// Measures how a Direct3D 9 device behaves where implementations have been seen to differ and
// prints one line "name: result" each. Built for Linux against the platform library and for Windows;
// the two outputs, one run under Wine's Direct3D 9, are compared line by line (docs/device.md).
#include "probe_checks.h"
#include "probe_window.h"

#include <cstdio>

int main() {
    HWND window = OpenProbeWindow(kSize, kSize);
    Probe probe;
    probe.direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!window || !probe.direct3d) {
        std::fprintf(stderr, "device probe: no window or no Direct3D 9\n");
        return 1;
    }
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.BackBufferWidth = kSize;
    pp.BackBufferHeight = kSize;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.SwapEffect = D3DSWAPEFFECT_COPY;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.hDeviceWindow = window;
    const HRESULT hr = probe.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                    D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &probe.device);
    if (FAILED(hr)) {
        std::fprintf(stderr, "device probe: CreateDevice failed (%s)\n", Result(hr).c_str());
        return 1;
    }
    probe.device->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                     &probe.target, nullptr);
    probe.device->GetDepthStencilSurface(&probe.depth);

    ProbeValidate(probe);
    ProbeSpecular(probe);
    ProbeStripIndex(probe);
    ProbeDepthBias(probe);
    ProbeDepthRange(probe);
    ProbeAutogenMips(probe);
    ProbeSrgb(probe);
    ProbeClears(probe);
    ProbeStretchRect(probe);
    ProbeCalls(probe);
    ProbeQueries(probe);
    ProbeFog(probe);
    ProbeDeclarations(probe);
    ProbeResources(probe);

    ResetState(probe);
    probe.depth->Release();
    probe.target->Release();
    probe.device->Release();
    probe.direct3d->Release();
    CloseProbeWindow(window);
    return 0;
}
