// Fixed-function specular with and without the local viewer, and a triangle strip through the
// 16-bit index 0xFFFF.
#include "probe_checks.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

struct LitVertex {
    float x, y, z, nx, ny, nz;
};

// A plane at z = 5 facing the camera and filling the view; a white directional light from the
// upper left so that the two viewer vectors give different highlights.
std::string LitQuad(const Probe& probe, BOOL localViewer) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    D3DMATRIX projection{}; // left-handed, 90 degrees, near 1, far 100
    projection._11 = projection._22 = 1.0f;
    projection._33 = 100.0f / 99.0f;
    projection._34 = 1.0f;
    projection._43 = -100.0f / 99.0f;
    d->SetTransform(D3DTS_PROJECTION, &projection);
    D3DMATERIAL9 material{};
    material.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Power = 10.0f;
    d->SetMaterial(&material);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
    const float s = 1.0f / std::sqrt(2.0f);
    light.Direction = {s, 0.0f, s};
    d->SetLight(0, &light);
    d->LightEnable(0, TRUE);
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    d->SetRenderState(D3DRS_AMBIENT, 0);
    d->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRS_LOCALVIEWER, localViewer);
    const LitVertex quad[4] = {
        {-6, 6, 5, 0, 0, -1}, {6, 6, 5, 0, 0, -1}, {-6, -6, 5, 0, 0, -1}, {6, -6, 5, 0, 0, -1}};
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    d->BeginScene();
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
    d->EndScene();
    d->LightEnable(0, FALSE);
    return "centre=" + Rgb(ReadPixel(d, probe.target, 32, 32)) +
           " corner=" + Rgb(ReadPixel(d, probe.target, 4, 4));
}

} // namespace

void ProbeSpecular(const Probe& probe) {
    Print("specular_localviewer_false", LitQuad(probe, FALSE));
    Print("specular_localviewer_true", LitQuad(probe, TRUE));
}

void ProbeStripIndex(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    D3DCAPS9 caps{};
    d->GetDeviceCaps(&caps);
    // Six strip vertices covering the target, the third one stored at vertex 0xFFFF: a restart
    // there would leave only the last triangle.
    const DWORD count = 0x10000;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    HRESULT hr = d->CreateVertexBuffer(count * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY, kScreenFvf,
                                       D3DPOOL_MANAGED, &vertices, nullptr);
    if (SUCCEEDED(hr))
        hr = d->CreateIndexBuffer(6 * sizeof(WORD), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                  &indices, nullptr);
    if (FAILED(hr)) {
        Print("strip_index_ffff", "buffers " + Result(hr));
        return;
    }
    const float e = kSize - 0.5f, m = kSize / 2 - 0.5f;
    const ScreenVertex corners[6] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFF, 0, 0}, {-0.5f, e, 0, 1, 0xFFFFFF, 0, 0},
                                     {m, -0.5f, 0, 1, 0xFFFFFF, 0, 0},     {m, e, 0, 1, 0xFFFFFF, 0, 0},
                                     {e, -0.5f, 0, 1, 0xFFFFFF, 0, 0},     {e, e, 0, 1, 0xFFFFFF, 0, 0}};
    ScreenVertex* v = nullptr;
    vertices->Lock(0, 0, reinterpret_cast<void**>(&v), 0);
    for (DWORD i = 0; i < count; ++i)
        v[i] = corners[0];
    for (DWORD i = 0; i < 6; ++i)
        v[i == 2 ? 0xFFFF : i] = corners[i];
    vertices->Unlock();
    WORD* index = nullptr;
    indices->Lock(0, 0, reinterpret_cast<void**>(&index), 0);
    const WORD strip[6] = {0, 1, 0xFFFF, 3, 4, 5};
    for (int i = 0; i < 6; ++i)
        index[i] = strip[i];
    indices->Unlock();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    d->SetFVF(kScreenFvf);
    d->SetStreamSource(0, vertices, 0, sizeof(ScreenVertex));
    d->SetIndices(indices);
    d->BeginScene();
    hr = d->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, 0, count, 0, 4);
    d->EndScene();
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetIndices(nullptr);
    // The first triangle (0, 1, 0xFFFF) covers the upper left; the last one the lower right.
    Print("strip_index_ffff", Result(hr) + " first_triangle=" + Rgb(ReadPixel(d, probe.target, 4, 8)) +
                                  " last_triangle=" + Rgb(ReadPixel(d, probe.target, 60, 56)) +
                                  " max_vertex_index=" + std::to_string(caps.MaxVertexIndex));
    indices->Release();
    vertices->Release();
}
