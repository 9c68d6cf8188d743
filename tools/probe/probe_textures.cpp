// Auto-generated mip levels after drawing into level 0, and sRGB decoding and encoding.
#include "probe_checks.h"

#include <string>

namespace {

// Samples the texture onto a 2 x 2 quad, where only a small level fits, and reads the result.
DWORD SampleSmall(const Probe& probe, IDirect3DBaseTexture9* texture) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    d->SetTexture(0, texture);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 1);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    DrawScreenQuad(d, 0, 0, 2, 2, 0.0f, 0xFFFFFF);
    d->SetTexture(0, nullptr);
    return ReadPixel(d, probe.target, 0, 0);
}

// Samples a texture with one texel colour over the whole target, decoded as sRGB or not.
DWORD SampleWhole(const Probe& probe, IDirect3DBaseTexture9* texture, BOOL srgb) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    d->SetTexture(0, texture);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, srgb);
    DrawScreenQuad(d, 0, 0, kSize, kSize, 0.0f, 0xFFFFFF);
    ResetState(probe);
    return ReadPixel(d, probe.target, 32, 32);
}

} // namespace

void ProbeAutogenMips(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    HRESULT hr = probe.direct3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                   D3DUSAGE_AUTOGENMIPMAP | D3DUSAGE_RENDERTARGET,
                                                   D3DRTYPE_TEXTURE, D3DFMT_X8R8G8B8);
    IDirect3DTexture9* texture = nullptr;
    if (hr == D3D_OK)
        hr = d->CreateTexture(kSize, kSize, 0, D3DUSAGE_AUTOGENMIPMAP | D3DUSAGE_RENDERTARGET,
                              D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
    if (FAILED(hr)) {
        Print("autogen_mips", "unsupported " + Result(hr));
        return;
    }
    IDirect3DSurface9* level0 = nullptr;
    texture->GetSurfaceLevel(0, &level0);
    std::string result = "levels=" + std::to_string(texture->GetLevelCount());
    ResetState(probe);
    d->SetRenderTarget(0, level0);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000, 1.0f, 0);
    result += " cleared_red=" + Rgb(SampleSmall(probe, texture));
    d->SetRenderTarget(0, level0);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FF00, 1.0f, 0);
    result += " cleared_green=" + Rgb(SampleSmall(probe, texture));
    d->SetRenderTarget(0, level0);
    DrawScreenQuad(d, 0, 0, kSize, kSize, 0.0f, 0x0000FF);
    result += " drawn_blue=" + Rgb(SampleSmall(probe, texture));
    ResetState(probe);
    Print("autogen_mips", result);
    level0->Release();
    texture->Release();
}

void ProbeSrgb(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    IDirect3D9* d3d = probe.direct3d;
    const HRESULT read = d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                D3DUSAGE_QUERY_SRGBREAD, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8);
    const HRESULT write = d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                 D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET,
                                                 D3DRTYPE_SURFACE, D3DFMT_X8R8G8B8);
    Print("srgb_caps", "read A8R8G8B8 " + Result(read) + ", write X8R8G8B8 " + Result(write));

    // Texel 128: linear 0.216 decoded, 55 of 255.
    IDirect3DTexture9* texture = nullptr;
    if (SUCCEEDED(d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr))) {
        D3DLOCKED_RECT locked{};
        texture->LockRect(0, &locked, nullptr, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] = 0xFF808080;
        texture->UnlockRect(0);
        Print("srgb_read_2d", "texel 128: plain=" + Rgb(SampleWhole(probe, texture, FALSE)) +
                                  " srgb=" + Rgb(SampleWhole(probe, texture, TRUE)));
        texture->Release();
    }
    IDirect3DVolumeTexture9* volume = nullptr;
    if (SUCCEEDED(
            d->CreateVolumeTexture(2, 2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &volume, nullptr))) {
        D3DLOCKED_BOX box{};
        volume->LockBox(0, &box, nullptr, 0);
        for (int z = 0; z < 2; ++z)
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    reinterpret_cast<DWORD*>(static_cast<BYTE*>(box.pBits) + z * box.SlicePitch +
                                             y * box.RowPitch)[x] = 0xFF808080;
        volume->UnlockBox(0);
        // Every texel has the colour, so the missing third coordinate does not matter.
        Print("srgb_read_volume", "texel 128: plain=" + Rgb(SampleWhole(probe, volume, FALSE)) +
                                      " srgb=" + Rgb(SampleWhole(probe, volume, TRUE)));
        volume->Release();
    }

    // Linear 64 of 255 encodes to 137.
    ResetState(probe);
    d->SetRenderState(D3DRS_SRGBWRITEENABLE, TRUE);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    DrawScreenQuad(d, 0, 0, kSize, kSize, 0.0f, 0x404040);
    const DWORD drawn = ReadPixel(d, probe.target, 32, 32);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x404040, 1.0f, 0);
    const DWORD cleared = ReadPixel(d, probe.target, 32, 32);
    ResetState(probe);
    Print("srgb_write", "colour 64: drawn=" + Rgb(drawn) + " cleared=" + Rgb(cleared));
}
