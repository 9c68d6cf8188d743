// Clears over targets of different sizes and under the scissor test, the scissor rectangle after
// SetRenderTarget, and StretchRect between off-screen plain surfaces.
#include "probe_checks.h"

#include <string>

namespace {

IDirect3DSurface9* Target(IDirect3DDevice9* device, UINT size) {
    IDirect3DSurface9* surface = nullptr;
    device->CreateRenderTarget(size, size, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &surface, nullptr);
    return surface;
}

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Clears targets 0 and 1 (sizes first and second) blue one at a time, then both red at once;
// prints the result and the pixels at each target's far corner and at (40, 40) where it exists.
void ClearTwo(const Probe& probe, const char* name, UINT first, UINT second) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    IDirect3DSurface9* targets[2] = {Target(d, first), Target(d, second)};
    for (IDirect3DSurface9* t : targets) {
        d->SetRenderTarget(0, t);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x0000FF, 1.0f, 0);
    }
    d->SetRenderTarget(0, targets[0]);
    const HRESULT set = d->SetRenderTarget(1, targets[1]);
    const HRESULT hr = d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000, 1.0f, 0);
    ResetState(probe);
    std::string result = "set " + Result(set) + " clear " + Result(hr);
    const UINT sizes[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        result += " rt" + std::to_string(i) + "(0,0)=" + Rgb(ReadPixel(d, targets[i], 0, 0));
        if (sizes[i] > 40)
            result += " rt" + std::to_string(i) + "(40,40)=" + Rgb(ReadPixel(d, targets[i], 40, 40));
        targets[i]->Release();
    }
    Print(name, result);
}

} // namespace

void ProbeClears(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    D3DCAPS9 caps{};
    d->GetDeviceCaps(&caps);
    Print("simultaneous_rts", std::to_string(caps.NumSimultaneousRTs));
    if (caps.NumSimultaneousRTs >= 2) {
        ClearTwo(probe, "clear_two_targets_second_smaller", kSize, kSize / 2);
        ClearTwo(probe, "clear_two_targets_second_larger", kSize / 2, kSize);
    }

    // A depth surface smaller than the target.
    ResetState(probe);
    IDirect3DSurface9* small = nullptr;
    d->CreateDepthStencilSurface(kSize / 2, kSize / 2, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &small,
                                 nullptr);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x0000FF, 1.0f, 0);
    const HRESULT set = d->SetDepthStencilSurface(small);
    const HRESULT hr = d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000, 1.0f, 0);
    ResetState(probe);
    Print("clear_depth_smaller_than_target", "set " + Result(set) + " clear " + Result(hr) +
                                                 " (0,0)=" + Rgb(ReadPixel(d, probe.target, 0, 0)) +
                                                 " (40,40)=" + Rgb(ReadPixel(d, probe.target, 40, 40)));
    small->Release();

    // The scissor rectangle after SetRenderTarget, and a clear under the scissor test.
    ResetState(probe);
    const RECT scissor{8, 8, 24, 24};
    d->SetScissorRect(&scissor);
    IDirect3DSurface9* other = Target(d, kSize / 2);
    d->SetRenderTarget(0, other);
    RECT after{};
    d->GetScissorRect(&after);
    D3DVIEWPORT9 viewport{};
    d->GetViewport(&viewport);
    Print("set_render_target_resets", "scissor=" + Rect(after) +
                                          " viewport=" + std::to_string(viewport.Width) + "x" +
                                          std::to_string(viewport.Height));
    other->Release();
    ResetState(probe);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x0000FF, 1.0f, 0);
    d->SetScissorRect(&scissor);
    d->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000, 1.0f, 0);
    ResetState(probe);
    Print("clear_with_scissor", "inside(16,16)=" + Rgb(ReadPixel(d, probe.target, 16, 16)) +
                                    " outside(0,0)=" + Rgb(ReadPixel(d, probe.target, 0, 0)));

    // Lenient clears: a count without rectangles, rectangles with a count of 0.
    const D3DRECT rect{8, 8, 24, 24};
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x0000FF, 1.0f, 0);
    HRESULT lenient = d->Clear(1, nullptr, D3DCLEAR_TARGET, 0xFF0000, 1.0f, 0);
    Print("clear_count_without_rects", Result(lenient) + " (0,0)=" + Rgb(ReadPixel(d, probe.target, 0, 0)));
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x0000FF, 1.0f, 0);
    lenient = d->Clear(0, &rect, D3DCLEAR_TARGET, 0xFF0000, 1.0f, 0);
    Print("clear_rects_with_count_0", Result(lenient) + " (0,0)=" + Rgb(ReadPixel(d, probe.target, 0, 0)) +
                                          " (16,16)=" + Rgb(ReadPixel(d, probe.target, 16, 16)));
}

void ProbeStretchRect(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    auto plain = [d](UINT size) {
        IDirect3DSurface9* surface = nullptr;
        d->CreateOffscreenPlainSurface(size, size, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &surface, nullptr);
        return surface;
    };
    IDirect3DSurface9* a = plain(kSize);
    IDirect3DSurface9* b = plain(kSize);
    IDirect3DSurface9* c = plain(kSize / 2);
    const RECT part{0, 0, kSize / 2, kSize / 2};
    Print("stretchrect_plain_same_size", Result(d->StretchRect(a, nullptr, b, nullptr, D3DTEXF_NONE)));
    Print("stretchrect_plain_same_size_rects", Result(d->StretchRect(a, &part, c, nullptr, D3DTEXF_NONE)));
    Print("stretchrect_plain_stretched", Result(d->StretchRect(a, nullptr, c, nullptr, D3DTEXF_NONE)));
    Print("stretchrect_target_to_plain",
          Result(d->StretchRect(probe.target, nullptr, b, nullptr, D3DTEXF_NONE)));
    Print("stretchrect_plain_to_target_stretched",
          Result(d->StretchRect(c, nullptr, probe.target, nullptr, D3DTEXF_NONE)));
    a->Release();
    b->Release();
    c->Release();

    IDirect3DSurface9* depth = nullptr;
    d->CreateDepthStencilSurface(kSize, kSize, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &depth, nullptr);
    Print("stretchrect_depth_point",
          Result(d->StretchRect(depth, nullptr, probe.depth, nullptr, D3DTEXF_NONE)));
    Print("stretchrect_depth_linear",
          Result(d->StretchRect(depth, nullptr, probe.depth, nullptr, D3DTEXF_LINEAR)));
    depth->Release();
}
