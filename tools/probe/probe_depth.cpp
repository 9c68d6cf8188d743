// D3DRS_DEPTHBIAS per depth format: against depth cleared to 0.5, the largest depth at which a quad
// drawn with the bias still passes D3DCMP_LESS; 0.5 minus it is the offset the device applied. Then
// a bias past the far plane, and a viewport whose depth range is empty.
#include "probe_checks.h"

#include <cstdio>
#include <string>

namespace {

bool Passes(const Probe& probe, bool pretransformed, float z) {
    IDirect3DDevice9* d = probe.device;
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 0.5f, 0);
    if (pretransformed) {
        DrawScreenQuad(d, 0, 0, kSize, kSize, z, 0xFFFFFF);
    } else {
        DrawWorldQuad(d, z, 0xFFFFFF);
    }
    return ReadPixel(d, probe.target, 32, 32) == 0xFFFFFF;
}

// 0.5 minus the largest passing depth in [0.4, 0.6], found by bisection.
float Offset(const Probe& probe, bool pretransformed) {
    float pass = 0.4f, fail = 0.6f;
    if (!Passes(probe, pretransformed, pass) || Passes(probe, pretransformed, fail))
        return -1.0f;
    for (int i = 0; i < 20; ++i) {
        const float middle = 0.5f * (pass + fail);
        (Passes(probe, pretransformed, middle) ? pass : fail) = middle;
    }
    return 0.5f - pass;
}

} // namespace

void ProbeDepthBias(const Probe& probe) {
    const struct {
        D3DFORMAT format;
        const char* name;
    } formats[] = {{D3DFMT_D16, "depth_bias_D16"},
                   {D3DFMT_D24X8, "depth_bias_D24X8"},
                   {D3DFMT_D24S8, "depth_bias_D24S8"},
                   {D3DFMT_D32, "depth_bias_D32"}};
    IDirect3DDevice9* d = probe.device;
    for (const auto& f : formats) {
        ResetState(probe);
        HRESULT hr = probe.direct3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                       D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, f.format);
        if (SUCCEEDED(hr))
            hr = probe.direct3d->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                        D3DFMT_X8R8G8B8, f.format);
        IDirect3DSurface9* depth = nullptr;
        if (SUCCEEDED(hr))
            hr = d->CreateDepthStencilSurface(kSize, kSize, f.format, D3DMULTISAMPLE_NONE, 0, FALSE, &depth,
                                              nullptr);
        if (FAILED(hr)) {
            Print(f.name, "unsupported " + Result(hr));
            continue;
        }
        d->SetDepthStencilSurface(depth);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
        const float none = Offset(probe, true);
        d->SetRenderState(D3DRS_DEPTHBIAS, FloatBits(-0.01f));
        const float screen = Offset(probe, true);
        const float world = Offset(probe, false);
        d->SetRenderState(D3DRS_DEPTHBIAS, 0);
        char text[96];
        std::snprintf(text, sizeof text,
                      "bias -0.01 applied %.4f (pretransformed) %.4f (transformed), none %.4f", screen, world,
                      none);
        Print(f.name, text);
        ResetState(probe);
        depth->Release();
    }
}

void ProbeDepthRange(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    // Clamped, the quad is drawn at depth 1; clipped, it is not drawn.
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    d->SetRenderState(D3DRS_DEPTHBIAS, FloatBits(0.01f));
    DrawScreenQuad(d, 0, 0, kSize, kSize, 0.999f, 0xFFFFFF);
    d->SetRenderState(D3DRS_DEPTHBIAS, 0);
    Print("depth_bias_past_far_plane", "drawn=" + Rgb(ReadPixel(d, probe.target, 32, 32)));

    // MinZ = MaxZ = 0.5: against 0.5005, a quad at z 0.6 passes LESS only if the range stays empty
    // (widened to 0.001 it lies at 0.5006).
    const D3DVIEWPORT9 flat{0, 0, kSize, kSize, 0.5f, 0.5f};
    d->SetViewport(&flat);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    std::string result;
    for (const float z : {0.0f, 0.6f}) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 0.5005f, 0);
        DrawWorldQuad(d, z, 0xFFFFFF);
        result += (z == 0.0f ? "z0 " : " z0.6 ") +
                  std::string(ReadPixel(d, probe.target, 32, 32) ? "passes" : "fails");
    }
    ResetState(probe);
    Print("viewport_minz_equal_maxz_draw", result);

    // Pre-transformed z under a viewport depth range of 0.5..1, against depth cleared just above it:
    // used as it is, both quads pass LESS; mapped into the range (0.875, 0.625), neither does; used as
    // it is but clipped to the range, only the first.
    const D3DVIEWPORT9 upper{0, 0, kSize, kSize, 0.5f, 1.0f};
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    d->SetViewport(&upper);
    result.clear();
    for (const float z : {0.75f, 0.25f}) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, z + 0.05f, 0);
        DrawScreenQuad(d, 0, 0, kSize, kSize, z, 0xFFFFFF);
        result += (z == 0.75f ? "z0.75 " : " z0.25 ") +
                  std::string(ReadPixel(d, probe.target, 32, 32) ? "passes" : "fails");
    }
    ResetState(probe);
    Print("pretransformed_z_with_viewport_0.5_1", result);
}
