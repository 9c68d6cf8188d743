// Fog: a red quad fogged towards blue under each mode, the factor read back as the pixel's colour.
#include "probe_checks.h"

#include <string>

namespace {

void SetFog(IDirect3DDevice9* d, DWORD table, DWORD vertex, BOOL range, float start, float end) {
    d->SetRenderState(D3DRS_FOGENABLE, TRUE);
    d->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    d->SetRenderState(D3DRS_FOGTABLEMODE, table);
    d->SetRenderState(D3DRS_FOGVERTEXMODE, vertex);
    d->SetRenderState(D3DRS_RANGEFOGENABLE, range);
    d->SetRenderState(D3DRS_FOGSTART, FloatBits(start));
    d->SetRenderState(D3DRS_FOGEND, FloatBits(end));
    d->SetRenderState(D3DRS_FOGDENSITY, FloatBits(1.0f));
}

// The centre pixel of a red quad over the view: pre-transformed at depth z, or in world space at
// depth z with corners at x, y = +-edge.
std::string FoggedQuad(const Probe& probe, bool pretransformed, float z, float edge = 1.0f) {
    IDirect3DDevice9* d = probe.device;
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    if (pretransformed)
        DrawScreenQuad(d, 0, 0, kSize, kSize, z, 0xFFFF0000);
    else
        DrawWorldQuad(d, z, 0xFFFF0000, edge);
    return Rgb(ReadPixel(d, probe.target, 32, 32));
}

} // namespace

void ProbeFog(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    SetFog(d, D3DFOG_LINEAR, D3DFOG_NONE, FALSE, 0.0f, 1.0f);
    Print("fog_table_linear_pretransformed_z_0.25", FoggedQuad(probe, true, 0.25f));
    Print("fog_table_linear_world_z_0.5", FoggedQuad(probe, false, 0.5f));
    SetFog(d, D3DFOG_NONE, D3DFOG_LINEAR, FALSE, 0.0f, 1.0f);
    Print("fog_vertex_linear_world_z_0.5", FoggedQuad(probe, false, 0.5f));
    Print("fog_vertex_linear_pretransformed_no_specular", FoggedQuad(probe, true, 0.25f));
    SetFog(d, D3DFOG_NONE, D3DFOG_LINEAR, TRUE, 0.0f, 3.0f);
    Print("fog_vertex_range_corners_1.5", FoggedQuad(probe, false, 0.5f));
    SetFog(d, D3DFOG_NONE, D3DFOG_NONE, FALSE, 0.0f, 1.0f);
    Print("fog_none_pretransformed_no_specular", FoggedQuad(probe, true, 0.25f));
    Print("fog_none_world_no_specular", FoggedQuad(probe, false, 0.5f));
    // A perspective projection (w = z): table fog reads the eye distance 5 rather than the depth.
    D3DMATRIX projection{};
    projection._11 = projection._22 = 1.0f;
    projection._33 = 100.0f / 99.0f;
    projection._34 = 1.0f;
    projection._43 = -100.0f / 99.0f;
    d->SetTransform(D3DTS_PROJECTION, &projection);
    SetFog(d, D3DFOG_LINEAR, D3DFOG_NONE, FALSE, 1.0f, 9.0f);
    Print("fog_table_linear_perspective_eye_5", FoggedQuad(probe, false, 5.0f, 6.0f));
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    ResetState(probe);
}
