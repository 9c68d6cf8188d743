// The resource rules: UpdateTexture and dirty regions, AddDirtyRect's bounds, StretchRect between
// depth surfaces named by rectangles, ColorFill on a DXT plain surface, blending into 32-bit float
// targets, CLIPTLVERTS, and ProcessVertices' output.
#include "probe_checks.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(value));
    return text;
}

// The texels (0, 0), (2, 2), (7, 7) of level 0 and (1, 1) of level 1 of an 8 x 8 texture.
std::string Texels(IDirect3DTexture9* texture) {
    std::string text;
    const int points[4][3] = {{0, 0, 0}, {0, 2, 2}, {0, 7, 7}, {1, 1, 1}};
    for (const auto& p : points) {
        D3DLOCKED_RECT locked{};
        if (FAILED(texture->LockRect(p[0], &locked, nullptr, D3DLOCK_READONLY)))
            return "lock failed";
        text += Hex(static_cast<const DWORD*>(locked.pBits)[p[2] * locked.Pitch / 4 + p[1]]) + " ";
        texture->UnlockRect(p[0]);
    }
    return text;
}

void ProbeDirtyRegions(IDirect3DDevice9* d) {
    IDirect3DTexture9 *staging = nullptr, *texture = nullptr;
    const HRESULT created[2] = {
        d->CreateTexture(8, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &staging, nullptr),
        d->CreateTexture(8, 8, 2, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr)};
    if (FAILED(created[0]) || FAILED(created[1])) {
        Print("dirty_regions", "textures not created: " + Result(created[0]) + " " + Result(created[1]));
        if (staging)
            staging->Release();
        if (texture)
            texture->Release();
        return;
    }
    const auto fill = [&](DWORD value) {
        for (UINT level = 0; level < 2; ++level) {
            D3DLOCKED_RECT locked{};
            staging->LockRect(level, &locked, nullptr, D3DLOCK_NO_DIRTY_UPDATE);
            for (UINT i = 0; i < (8u >> level) * locked.Pitch / 4; ++i)
                static_cast<DWORD*>(locked.pBits)[i] = value;
            staging->UnlockRect(level);
        }
    };
    const auto update = [&](const char* name) {
        const HRESULT hr = d->UpdateTexture(staging, texture);
        Print(name, Result(hr) + " " + Texels(texture));
    };
    fill(0x11);
    update("update_texture_new");
    fill(0x22);
    update("update_texture_clean");
    fill(0x33);
    const RECT small{2, 2, 3, 3};
    staging->AddDirtyRect(&small);
    update("update_texture_adddirtyrect_2_2_3_3");
    fill(0x44);
    const RECT corner{6, 6, 8, 8};
    D3DLOCKED_RECT locked{};
    staging->LockRect(0, &locked, &corner, 0);
    staging->UnlockRect(0);
    update("update_texture_lock_6_6_8_8");
    fill(0x55);
    staging->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
    staging->UnlockRect(0);
    update("update_texture_readonly_lock");
    const RECT outside{6, 0, 9, 2};
    Print("adddirtyrect_outside", Result(staging->AddDirtyRect(&outside)));
    staging->Release();
    texture->Release();
}

void ProbeCopies(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    IDirect3DSurface9 *from = nullptr, *to = nullptr;
    d->CreateDepthStencilSurface(kSize, kSize, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &from, nullptr);
    d->CreateDepthStencilSurface(kSize, kSize, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &to, nullptr);
    if (!from || !to) {
        Print("stretchrect_depth_full_rects", "D24S8 surfaces not created");
        if (from)
            from->Release();
        if (to)
            to->Release();
        return;
    }
    const RECT whole{0, 0, kSize, kSize}, half{0, 0, kSize / 2, kSize / 2};
    Print("stretchrect_depth_full_rects", Result(d->StretchRect(from, &whole, to, &whole, D3DTEXF_NONE)) +
                                              " half " +
                                              Result(d->StretchRect(from, &half, to, &half, D3DTEXF_NONE)));
    from->Release();
    to->Release();

    const D3DFORMAT formats[] = {D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5};
    for (D3DFORMAT format : formats) {
        IDirect3DSurface9* plain = nullptr;
        HRESULT hr = d->CreateOffscreenPlainSurface(8, 8, format, D3DPOOL_DEFAULT, &plain, nullptr);
        std::string text = "create " + Result(hr);
        if (SUCCEEDED(hr)) {
            const RECT aligned{4, 0, 8, 4}, misaligned{2, 0, 8, 4};
            text += " null " + Result(d->ColorFill(plain, nullptr, 0x80FF0000));
            text += " aligned " + Result(d->ColorFill(plain, &aligned, 0x80FF0000));
            text += " misaligned " + Result(d->ColorFill(plain, &misaligned, 0x80FF0000));
            D3DLOCKED_RECT locked{};
            if (SUCCEEDED(plain->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
                text += " block";
                const unsigned bytes = format == D3DFMT_DXT1 ? 8 : 16;
                char byte[4];
                for (unsigned i = 0; i < bytes; ++i) {
                    std::snprintf(byte, sizeof byte, " %02x",
                                  static_cast<const unsigned char*>(locked.pBits)[i]);
                    text += byte;
                }
                plain->UnlockRect();
            }
            plain->Release();
        }
        Print(("colorfill_plain_" + std::to_string(format & 0xFF) + std::to_string((format >> 24) & 0xFF))
                  .c_str(),
              text);
    }
}

} // namespace

void ProbeResources(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    ProbeDirtyRegions(d);
    ProbeCopies(probe);
    const D3DFORMAT floats[] = {D3DFMT_R32F, D3DFMT_G32R32F, D3DFMT_A32B32G32R32F};
    std::string text;
    for (D3DFORMAT format : floats)
        text +=
            Result(probe.direct3d->CheckDeviceFormat(
                0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                D3DUSAGE_RENDERTARGET | D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE, format)) +
            " ";
    Print("postpixelshader_blending_r32f_g32r32f_a32b32g32r32f", text);
    D3DCAPS9 caps{};
    d->GetDeviceCaps(&caps);
    Print("cliptlverts", (caps.PrimitiveMiscCaps & D3DPMISCCAPS_CLIPTLVERTS) ? "1" : "0");

    // ProcessVertices: x moved by 0.5 under the world matrix, into a 64 x 64 viewport.
    struct In {
        float x, y, z;
        DWORD colour;
    };
    const In in[3] = {{0, 0, 0.5f, 0xFF112233}, {-0.5f, 0.5f, 0.25f, 0xFF445566}, {2, 0, 0.5f, 0xFF778899}};
    IDirect3DVertexBuffer9 *source = nullptr, *target = nullptr;
    d->CreateVertexBuffer(sizeof in, 0, 0, D3DPOOL_SYSTEMMEM, &source, nullptr);
    d->CreateVertexBuffer(3 * 20, 0, D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DPOOL_SYSTEMMEM, &target, nullptr);
    if (!source || !target) {
        Print("process_vertices", "buffers not created");
        if (source)
            source->Release();
        if (target)
            target->Release();
        return;
    }
    void* data = nullptr;
    source->Lock(0, 0, &data, 0);
    std::memcpy(data, in, sizeof in);
    source->Unlock();
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1;
    world._41 = 0.5f;
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    d->SetStreamSource(0, source, 0, sizeof(In));
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    const HRESULT lit = d->ProcessVertices(0, 0, 3, target, nullptr, 0);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    const HRESULT hr = d->ProcessVertices(0, 0, 3, target, nullptr, 0);
    text = "lit " + Result(lit) + " unlit " + Result(hr);
    if (SUCCEEDED(target->Lock(0, 0, &data, D3DLOCK_READONLY))) {
        const float* v = static_cast<const float*>(data);
        for (int i = 0; i < 3; ++i, v += 5) {
            char vertex[96];
            DWORD colour;
            std::memcpy(&colour, v + 4, 4);
            std::snprintf(vertex, sizeof vertex, " (%.3f %.3f %.3f %.3f %08lx)", v[0], v[1], v[2], v[3],
                          static_cast<unsigned long>(colour));
            text += vertex;
        }
        target->Unlock();
    }
    Print("process_vertices", text);
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetTransform(D3DTS_WORLD, &world);
    source->Release();
    target->Release();
    ResetState(probe);
}
