#include "probe_support.h"

#include <cstdio>
#include <cstring>

void ResetState(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    d->SetRenderTarget(0, probe.target);
    for (DWORD i = 1; i < 4; ++i)
        d->SetRenderTarget(i, nullptr);
    d->SetDepthStencilSurface(probe.depth);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    d->SetRenderState(D3DRS_LOCALVIEWER, TRUE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    d->SetRenderState(D3DRS_DEPTHBIAS, 0);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    d->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
    d->SetTexture(0, nullptr);
    d->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, FALSE);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    d->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 0);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
    d->SetTransform(D3DTS_WORLD, &identity);
    d->SetTransform(D3DTS_VIEW, &identity);
    d->SetTransform(D3DTS_PROJECTION, &identity);
    d->SetPixelShader(nullptr);
    d->SetVertexShader(nullptr);
}

void DrawWorldQuad(IDirect3DDevice9* device, float z, DWORD colour, float edge) {
    struct WorldVertex {
        float x, y, z;
        DWORD colour;
    };
    const WorldVertex quad[4] = {{-edge, edge, z, colour},
                                 {edge, edge, z, colour},
                                 {-edge, -edge, z, colour},
                                 {edge, -edge, z, colour}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->BeginScene();
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
    device->EndScene();
}

DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void DrawScreenQuad(IDirect3DDevice9* device, float x0, float y0, float x1, float y1, float z, DWORD colour) {
    // Pixel centres lie on integer coordinates: the edges go half a pixel before them.
    const float l = x0 - 0.5f, t = y0 - 0.5f, r = x1 - 0.5f, b = y1 - 0.5f;
    const ScreenVertex quad[4] = {{l, t, z, 1.0f, colour, 0.0f, 0.0f},
                                  {r, t, z, 1.0f, colour, 1.0f, 0.0f},
                                  {l, b, z, 1.0f, colour, 0.0f, 1.0f},
                                  {r, b, z, 1.0f, colour, 1.0f, 1.0f}};
    device->SetFVF(kScreenFvf);
    device->BeginScene();
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
    device->EndScene();
}

DWORD ReadPixel(IDirect3DDevice9* device, IDirect3DSurface9* surface, int x, int y) {
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                   &copy, nullptr)))
        return 0xFFFFFFFF;
    DWORD pixel = 0xFFFFFFFF;
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(device->GetRenderTargetData(surface, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        const auto* row = static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch;
        pixel = reinterpret_cast<const DWORD*>(row)[x] & 0xFFFFFF;
        copy->UnlockRect();
    }
    copy->Release();
    return pixel;
}

std::string Rgb(DWORD pixel) {
    if (pixel == 0xFFFFFFFF)
        return "unreadable";
    char text[32];
    std::snprintf(text, sizeof text, "%lu,%lu,%lu", static_cast<unsigned long>((pixel >> 16) & 0xFF),
                  static_cast<unsigned long>((pixel >> 8) & 0xFF), static_cast<unsigned long>(pixel & 0xFF));
    return text;
}

std::string Result(HRESULT result) {
    switch (result) {
    case D3D_OK:
        return "D3D_OK";
    case D3DERR_INVALIDCALL:
        return "D3DERR_INVALIDCALL";
    case D3DERR_NOTAVAILABLE:
        return "D3DERR_NOTAVAILABLE";
    case D3DERR_UNSUPPORTEDCOLOROPERATION:
        return "D3DERR_UNSUPPORTEDCOLOROPERATION";
    case D3DERR_UNSUPPORTEDALPHAOPERATION:
        return "D3DERR_UNSUPPORTEDALPHAOPERATION";
    case D3DERR_CONFLICTINGRENDERSTATE:
        return "D3DERR_CONFLICTINGRENDERSTATE";
    case D3DERR_TOOMANYOPERATIONS:
        return "D3DERR_TOOMANYOPERATIONS";
    case E_FAIL:
        return "E_FAIL";
    default:
        break;
    }
    char text[24];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
    return text;
}

void Print(const char* name, const std::string& result) {
    std::printf("%s: %s\n", name, result.c_str());
    std::fflush(stdout);
}
