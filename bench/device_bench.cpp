// The device's drawing path: a 1024 x 768 full-screen textured quad (llvmpipe's fill rate plus the
// path's overhead), and 1000 small draws with state changes between them (the path's overhead:
// state mirror, dirty groups, program cache, uniform uploads). Frames are flushed by EndScene; every
// tenth frame reads the back buffer back so the GL's queue cannot run ahead of the measurement.
#include "stand_in_device.h"

#include <benchmark/benchmark.h>
#include <d3d9.h>
#include <d3dx9math.h>

#include <cstring>
#include <vector>

namespace {

class BenchDevice : StandInDevice {
  public:
    BenchDevice(int width, int height) { OpenDevice(width, height, "device bench"); }
    IDirect3DDevice9* operator->() const { return device_; }
    explicit operator bool() const { return device_ != nullptr; }

    void Sync() { platform::ReadBackBuffer(device_, &pixels_, &width_, &height_); }

  private:
    std::vector<std::uint8_t> pixels_;
    UINT width_ = 0, height_ = 0;
};

IDirect3DTexture9* CreateChecker(BenchDevice& device, UINT width, UINT height) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(
            device->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr)))
        return nullptr;
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (UINT y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<std::uint8_t*>(locked.pBits) + y * locked.Pitch);
        for (UINT x = 0; x < width; ++x)
            row[x] = ((x ^ y) & 8) ? 0xFFFFFFFF : 0xFF404040;
    }
    texture->UnlockRect(0);
    return texture;
}

void BM_FullScreenTexturedQuad(benchmark::State& state) {
    BenchDevice device(1024, 768);
    if (!device) {
        state.SkipWithError("no device");
        return;
    }
    IDirect3DTexture9* texture = CreateChecker(device, 1024, 768);
    struct Vertex {
        float x, y, z, rhw, u, v;
    };
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {1023.5f, -0.5f, 0, 1, 1, 0},
                            {-0.5f, 767.5f, 0, 1, 0, 1},
                            {1023.5f, 767.5f, 0, 1, 1, 1}};
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(sizeof quad, 0, D3DFVF_XYZRHW | D3DFVF_TEX1, D3DPOOL_MANAGED, &buffer,
                               nullptr);
    void* data = nullptr;
    buffer->Lock(0, 0, &data, 0);
    std::memcpy(data, quad, sizeof quad);
    buffer->Unlock();
    device->SetTexture(0, texture);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
    device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
    int frame = 0;
    for (auto _ : state) {
        device->BeginScene();
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        device->EndScene();
        if (++frame % 10 == 0)
            device.Sync();
    }
    device.Sync();
    state.counters["pixels/s"] =
        benchmark::Counter(1024.0 * 768.0, benchmark::Counter::kIsIterationInvariantRate);
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetTexture(0, nullptr);
    buffer->Release();
    texture->Release();
}
BENCHMARK(BM_FullScreenTexturedQuad)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThousandSmallDrawsWithStateChanges(benchmark::State& state) {
    BenchDevice device(1024, 768);
    if (!device) {
        state.SkipWithError("no device");
        return;
    }
    IDirect3DTexture9* texture = CreateChecker(device, 64, 64);
    struct Vertex {
        float x, y, z;
        D3DCOLOR color;
        float u, v;
    };
    const Vertex quad[4] = {{-0.02f, 0.02f, 0, 0xFFFFFFFF, 0, 0},
                            {0.02f, 0.02f, 0, 0xFFFF0000, 1, 0},
                            {-0.02f, -0.02f, 0, 0xFF00FF00, 0, 1},
                            {0.02f, -0.02f, 0, 0xFF0000FF, 1, 1}};
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    int frame = 0;
    for (auto _ : state) {
        device->BeginScene();
        for (int i = 0; i < 1000; ++i) {
            D3DXMATRIX world;
            D3DXMatrixTranslation(&world, static_cast<float>(i % 40) * 0.05f - 0.975f,
                                  static_cast<float>(i / 40) * 0.05f - 0.6f, 0.5f);
            device->SetTransform(D3DTS_WORLD, &world);
            device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF000000u | static_cast<DWORD>(i * 0x010203));
            device->SetRenderState(D3DRS_ALPHABLENDENABLE, i & 1);
            device->SetTexture(0, (i & 2) ? texture : nullptr);
            device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        }
        device->EndScene();
        if (++frame % 10 == 0)
            device.Sync();
    }
    device.Sync();
    state.counters["draws/s"] = benchmark::Counter(1000.0, benchmark::Counter::kIsIterationInvariantRate);
    device->SetTexture(0, nullptr);
    texture->Release();
}
// Process CPU, as its raw OpenGL yardstick in raw_gl_bench.cpp measures it.
BENCHMARK(BM_ThousandSmallDrawsWithStateChanges)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace
