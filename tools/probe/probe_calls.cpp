// Answers without drawing: ValidateDevice, blend and texture-op caps, shaders, viewports, locks,
// textures from the wrong pool and fills of compressed surfaces.
#include "probe_checks.h"

#include <cstdio>
#include <string>

namespace {

std::string Validate(IDirect3DDevice9* device) {
    DWORD passes = 99;
    const HRESULT hr = device->ValidateDevice(&passes);
    return Result(hr) + " passes=" + std::to_string(passes);
}

std::string Viewport(IDirect3DDevice9* device, DWORD width, DWORD height, float minZ, float maxZ) {
    const D3DVIEWPORT9 wanted{0, 0, width, height, minZ, maxZ};
    const HRESULT hr = device->SetViewport(&wanted);
    D3DVIEWPORT9 got{};
    device->GetViewport(&got);
    char text[96];
    std::snprintf(text, sizeof text, " got %lux%lu z %.3f..%.3f", static_cast<unsigned long>(got.Width),
                  static_cast<unsigned long>(got.Height), got.MinZ, got.MaxZ);
    return Result(hr) + text;
}

} // namespace

void ProbeValidate(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    Print("validate_default_state", Validate(d));
    IDirect3DTexture9* texture = nullptr;
    d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    d->SetTexture(0, texture);
    Print("validate_modulated_texture", Validate(d));
    d->SetTexture(0, nullptr);
    texture->Release();
}

void ProbeCalls(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    D3DCAPS9 caps{};
    d->GetDeviceCaps(&caps);
    auto bit = [](DWORD set, DWORD flag) { return std::string((set & flag) ? "1" : "0"); };
    Print("blend_caps_bothsrcalpha",
          "src=" + bit(caps.SrcBlendCaps, D3DPBLENDCAPS_BOTHSRCALPHA) +
              " dest=" + bit(caps.DestBlendCaps, D3DPBLENDCAPS_BOTHSRCALPHA) +
              " src_inv=" + bit(caps.SrcBlendCaps, D3DPBLENDCAPS_BOTHINVSRCALPHA) +
              " dest_inv=" + bit(caps.DestBlendCaps, D3DPBLENDCAPS_BOTHINVSRCALPHA));
    Print("textureop_caps_bumpenvmap",
          "bumpenvmap=" + bit(caps.TextureOpCaps, D3DTEXOPCAPS_BUMPENVMAP) +
              " luminance=" + bit(caps.TextureOpCaps, D3DTEXOPCAPS_BUMPENVMAPLUMINANCE));
    char versions[64];
    std::snprintf(versions, sizeof versions, "vs=%lu.%lu ps=%lu.%lu",
                  static_cast<unsigned long>(D3DSHADER_VERSION_MAJOR(caps.VertexShaderVersion)),
                  static_cast<unsigned long>(D3DSHADER_VERSION_MINOR(caps.VertexShaderVersion)),
                  static_cast<unsigned long>(D3DSHADER_VERSION_MAJOR(caps.PixelShaderVersion)),
                  static_cast<unsigned long>(D3DSHADER_VERSION_MINOR(caps.PixelShaderVersion)));
    Print("shader_caps", versions);
    Print("set_pixel_shader_null", Result(d->SetPixelShader(nullptr)));
    Print("set_vertex_shader_null", Result(d->SetVertexShader(nullptr)));

    // The smallest shaders: a version token and the end token.
    const DWORD vs11[] = {0xFFFE0101, 0x0000FFFF};
    const DWORD ps11[] = {0xFFFF0101, 0x0000FFFF};
    IDirect3DVertexShader9* vs = nullptr;
    IDirect3DPixelShader9* ps = nullptr;
    const HRESULT vsResult = d->CreateVertexShader(vs11, &vs);
    const HRESULT psResult = d->CreatePixelShader(ps11, &ps);
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    const HRESULT declResult = d->CreateVertexDeclaration(elements, &declaration);
    Print("create_shaders", "vs_1_1 " + Result(vsResult) + ", ps_1_1 " + Result(psResult) + ", declaration " +
                                Result(declResult));
    if (vs)
        vs->Release();
    if (ps)
        ps->Release();
    if (declaration)
        declaration->Release();

    Print("viewport_larger_than_target", Viewport(d, 2 * kSize, 2 * kSize, 0.0f, 1.0f));
    Print("viewport_maxz_above_1", Viewport(d, kSize, kSize, 0.0f, 2.0f));
    Print("viewport_maxz_equal_minz", Viewport(d, kSize, kSize, 0.5f, 0.5f));
    Print("viewport_maxz_below_minz", Viewport(d, kSize, kSize, 0.6f, 0.4f));
    ResetState(probe);

    IDirect3DSurface9* plain = nullptr;
    d->CreateOffscreenPlainSurface(kSize, kSize, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &plain, nullptr);
    const RECT outside{kSize - 8, kSize - 8, kSize + 8, kSize + 8};
    D3DLOCKED_RECT locked{};
    const HRESULT lock = plain->LockRect(&locked, &outside, 0);
    if (SUCCEEDED(lock))
        plain->UnlockRect();
    Print("lockrect_outside_surface", Result(lock));
    plain->Release();

    IDirect3DTexture9* system = nullptr;
    d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &system, nullptr);
    Print("settexture_systemmem", Result(d->SetTexture(0, system)));
    d->SetTexture(0, nullptr);
    system->Release();

    IDirect3DTexture9* dxt = nullptr;
    HRESULT hr = d->CreateTexture(16, 16, 1, 0, D3DFMT_DXT1, D3DPOOL_DEFAULT, &dxt, nullptr);
    if (SUCCEEDED(hr)) {
        IDirect3DSurface9* level = nullptr;
        dxt->GetSurfaceLevel(0, &level);
        hr = d->ColorFill(level, nullptr, 0xFF0000);
        level->Release();
        dxt->Release();
    }
    Print("colorfill_dxt1", Result(hr));
}
