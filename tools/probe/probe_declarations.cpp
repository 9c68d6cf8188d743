// Vertex declarations: how SetFVF and SetVertexDeclaration replace each other, the FVF a declaration
// answers, references held, which element arrays CreateVertexDeclaration refuses, and a draw through
// a declaration.
#include "probe_checks.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using Elements = D3DVERTEXELEMENT9;
constexpr Elements kEnd = D3DDECL_END();

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%#lx", static_cast<unsigned long>(value));
    return text;
}

std::string Count(IDirect3DVertexDeclaration9* declaration) {
    if (!declaration)
        return "null";
    UINT count = 0;
    const HRESULT hr = declaration->GetDeclaration(nullptr, &count);
    return Result(hr) + " elements=" + std::to_string(count);
}

// The FVF GetFVF answers after SetVertexDeclaration with these elements.
std::string FvfOf(IDirect3DDevice9* d, const Elements* elements) {
    IDirect3DVertexDeclaration9* declaration = nullptr;
    const HRESULT hr = d->CreateVertexDeclaration(elements, &declaration);
    if (FAILED(hr))
        return "create " + Result(hr);
    d->SetVertexDeclaration(declaration);
    DWORD fvf = 0xdeadbeef;
    d->GetFVF(&fvf);
    d->SetVertexDeclaration(nullptr);
    declaration->Release();
    return Hex(fvf);
}

std::string Create(IDirect3DDevice9* d, const Elements* elements) {
    IDirect3DVertexDeclaration9* declaration = nullptr;
    const HRESULT hr = d->CreateVertexDeclaration(elements, &declaration);
    if (declaration)
        declaration->Release();
    return Result(hr);
}

} // namespace

void ProbeDeclarations(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    IDirect3DVertexDeclaration9* got = nullptr;
    d->SetFVF(0);
    const HRESULT afterFvf0 = d->GetVertexDeclaration(&got);
    Print("decl_get_after_fvf0", Result(afterFvf0) + " " + Count(got));
    if (got)
        got->Release();
    d->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    got = nullptr;
    const HRESULT afterFvf = d->GetVertexDeclaration(&got);
    Print("decl_get_after_setfvf", Result(afterFvf) + " " + Count(got));
    IDirect3DVertexDeclaration9* again = nullptr;
    d->GetVertexDeclaration(&again);
    Print("decl_get_after_setfvf_same_object", got == again ? "yes" : "no");
    if (again)
        again->Release();
    if (got) {
        Elements elements[8] = {};
        UINT count = 0;
        got->GetDeclaration(elements, &count);
        std::string text;
        for (UINT i = 0; i + 1 < count; ++i)
            text += std::to_string(elements[i].Offset) + "/" + std::to_string(elements[i].Type) + "/" +
                    std::to_string(elements[i].Usage) + "/" + std::to_string(elements[i].UsageIndex) + " ";
        Print("decl_of_fvf_xyz_diffuse", text);
        got->Release();
        got = nullptr;
    }
    d->SetFVF(0);
    DWORD fvf = 0xdeadbeef;
    d->GetFVF(&fvf);
    Print("decl_fvf_after_setfvf0", Hex(fvf));

    const Elements xyzColour[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                  {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                  kEnd};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    d->CreateVertexDeclaration(xyzColour, &declaration);
    declaration->AddRef();
    const ULONG before = declaration->Release();
    d->SetVertexDeclaration(declaration);
    declaration->AddRef();
    const ULONG bound = declaration->Release();
    got = nullptr;
    d->GetVertexDeclaration(&got);
    declaration->AddRef();
    const ULONG gotten = declaration->Release();
    Print("decl_references", std::to_string(before) + " bound=" + std::to_string(bound) + " got=" +
                                 std::to_string(gotten) + " same=" + (got == declaration ? "1" : "0"));
    if (got)
        got->Release();
    UINT count = 0;
    const HRESULT counted = declaration->GetDeclaration(nullptr, &count);
    Print("decl_getdeclaration_count", Result(counted) + " " + std::to_string(count));
    d->SetFVF(D3DFVF_XYZRHW);
    got = nullptr;
    d->GetVertexDeclaration(&got);
    Print("decl_setfvf_replaces", got == declaration ? "no" : "yes");
    if (got)
        got->Release();
    d->SetVertexDeclaration(declaration);
    fvf = 0xdeadbeef;
    d->GetFVF(&fvf);
    Print("decl_fvf_of_xyz_colour", Hex(fvf));
    d->SetVertexDeclaration(nullptr);
    got = nullptr;
    const HRESULT afterNull = d->GetVertexDeclaration(&got);
    Print("decl_set_null_then_get", Result(afterNull) + " " + Count(got));
    fvf = 0xdeadbeef;
    d->GetFVF(&fvf);
    Print("decl_fvf_after_set_null", Hex(fvf));
    if (got)
        got->Release();
    declaration->Release();

    struct Named {
        const char* name;
        Elements elements[4];
    };
    const Named conversions[] = {
        {"xyzrhw_tex1",
         {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
          {0, 16, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
          kEnd}},
        {"xyzw", {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"xyz_normal_specular",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
          {0, 24, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 1},
          kEnd}},
        {"tex1_float3_at_1",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TEXCOORD, 1},
          kEnd}},
        {"position_short4", {{0, 0, D3DDECLTYPE_SHORT4, 0, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"colour_float4",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 12, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_COLOR, 0},
          kEnd}},
        {"two_streams",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {1, 0, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
          kEnd}},
        {"colour_first",
         {{0, 0, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
          {0, 4, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          kEnd}},
        {"blend2",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_BLENDWEIGHT, 0},
          kEnd}},
        {"psize",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 12, D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_PSIZE, 0},
          kEnd}},
    };
    for (const Named& c : conversions)
        Print((std::string("decl_fvf_of_") + c.name).c_str(), FvfOf(d, c.elements));

    const Named refusals[] = {
        {"overlap",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 8, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
          kEnd}},
        {"bad_type", {{0, 0, 17, 0, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"unused_type", {{0, 0, D3DDECLTYPE_UNUSED, 0, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"bad_usage", {{0, 0, D3DDECLTYPE_FLOAT3, 0, 14, 0}, kEnd}},
        {"bad_method", {{0, 0, D3DDECLTYPE_FLOAT3, 7, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"duplicate_usage",
         {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
          kEnd}},
        {"odd_offset", {{0, 1, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"stream_16", {{16, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, kEnd}},
        {"usage_index_16", {{0, 0, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 16}, kEnd}},
        {"empty", {kEnd}},
    };
    for (const Named& c : refusals)
        Print((std::string("decl_create_") + c.name).c_str(), Create(d, c.elements));

    // Green through a declaration of two streams: positions in stream 0, colours in stream 1.
    const float positions[4][4] = {{-0.5f, -0.5f, 0, 1},
                                   {kSize - 0.5f, -0.5f, 0, 1},
                                   {-0.5f, kSize - 0.5f, 0, 1},
                                   {kSize - 0.5f, kSize - 0.5f, 0, 1}};
    const DWORD colours[4] = {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00};
    const Elements split[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                              {1, 0, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                              kEnd};
    IDirect3DVertexBuffer9 *vb0 = nullptr, *vb1 = nullptr;
    d->CreateVertexBuffer(sizeof positions, 0, 0, D3DPOOL_MANAGED, &vb0, nullptr);
    d->CreateVertexBuffer(sizeof colours, 0, 0, D3DPOOL_MANAGED, &vb1, nullptr);
    void* data = nullptr;
    vb0->Lock(0, 0, &data, 0);
    std::memcpy(data, positions, sizeof positions);
    vb0->Unlock();
    vb1->Lock(0, 0, &data, 0);
    std::memcpy(data, colours, sizeof colours);
    vb1->Unlock();
    d->CreateVertexDeclaration(split, &declaration);
    d->SetVertexDeclaration(declaration);
    d->SetStreamSource(0, vb0, 0, 16);
    d->SetStreamSource(1, vb1, 0, 4);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    d->BeginScene();
    const HRESULT drawn = d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    d->EndScene();
    Print("decl_two_streams_draw", Result(drawn) + " " + Rgb(ReadPixel(d, probe.target, 8, 8)));
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetStreamSource(1, nullptr, 0, 0);
    d->SetVertexDeclaration(nullptr);
    declaration->Release();
    vb0->Release();
    vb1->Release();
}
