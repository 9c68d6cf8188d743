// The bloom chain (half copy, bright pass, horizontal and vertical bloom, combine) at 1024 x 768:
//   BloomChainThroughPlugin  render stages A and D of a post-processed view, with a clear between;
//   BloomChainDirect         the same targets, quads, effects and draws issued by this program;
//   PluginCostWithoutDrawing the plug-in's stages on a device wrapper that draws nothing.
// Each frame ends by reading one pixel back, so the device's work is inside the measured time.
// The ratio of the first two is the plug-in's overhead (aim: at most 1.10). Run from any directory:
// the effect files are reached through a VTR3Content link in a temporary directory.
#include "engine.h"
#include "forwarding_device.h"
#include "frame/vtr3_exports.h"
#include "frame/vtr3_globals.h"
#include "views/vtr3_views.h"

#include <benchmark/benchmark.h>
#include <d3dx9.h>

#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// A device wrapper that accepts every draw without drawing.
class NoDrawDevice : public ForwardingDevice {
  public:
    using ForwardingDevice::ForwardingDevice;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) override {
        return D3D_OK;
    }
};

// The stand-in engine at 1024 x 768 in a temporary directory that links the plug-in's effect files.
class Scene {
  public:
    Scene() : directory_(MakeDirectory()) {
        std::filesystem::current_path(directory_);
        std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
        engine_.CreateGraphics(1024, 768, "bench");
        IDirect3DDevice9* device = engine_.device();
        device->CreateRenderTarget(1, 1, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &pixel_, nullptr);
        device->CreateOffscreenPlainSurface(1, 1, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &readBack_, nullptr);
        device->GetRenderTarget(0, &backBuffer_);
    }
    ~Scene() {
        backBuffer_->Release();
        readBack_->Release();
        pixel_->Release();
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(directory_);
    }

    host::Engine& engine() { return engine_; }
    IDirect3DSurface9* backBuffer() { return backBuffer_; }

    // Waits for the device: one pixel of the back buffer read back.
    void Finish() {
        IDirect3DDevice9* device = engine_.device();
        const RECT one = {512, 384, 513, 385};
        device->StretchRect(backBuffer_, &one, pixel_, nullptr, D3DTEXF_NONE);
        device->GetRenderTargetData(pixel_, readBack_);
    }

  private:
    static std::filesystem::path MakeDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vtr3-bench-XXXXXX").string();
        return mkdtemp(pattern.data());
    }

    std::filesystem::path directory_;
    host::Engine engine_;
    IDirect3DSurface9* pixel_ = nullptr;
    IDirect3DSurface9* readBack_ = nullptr;
    IDirect3DSurface9* backBuffer_ = nullptr;
};

void StartPlugin(Scene& scene, IDirect3DDevice9* device) {
    scene.engine().SetDeviceField(device);
    A6_DLLAPI(scene.engine().block());
    VTR3Initialize(0, nullptr);
    g_viewManager.RegisterView(1, "camera");
    g_viewManager.SetPostProcessing(1, 1);
    const int chain[] = {30001, 30002, 30005, 30004, 30011};
    for (int i = 0; i < 5; ++i) {
        g_viewManager.SetPostProcessEffect(1, i, chain[i]);
    }
}

void PluginFrames(benchmark::State& state, Scene& scene, bool finish) {
    IDirect3DDevice9* device = scene.engine().device();
    for (auto _ : state) {
        device->BeginScene();
        VTR3RenderDrawA();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0);
        VTR3RenderDrawD();
        device->EndScene();
        if (finish) {
            scene.Finish();
        }
    }
}

void BloomChainThroughPlugin(benchmark::State& state) {
    Scene scene;
    StartPlugin(scene, scene.engine().device());
    PluginFrames(state, scene, true);
    VTR3DeInitialize();
}
BENCHMARK(BloomChainThroughPlugin)->Unit(benchmark::kMillisecond);

void PluginCostWithoutDrawing(benchmark::State& state) {
    Scene scene;
    NoDrawDevice* device = new NoDrawDevice(scene.engine().device());
    StartPlugin(scene, device);
    PluginFrames(state, scene, false);
    VTR3DeInitialize();
    device->Release();
}
BENCHMARK(PluginCostWithoutDrawing)->Unit(benchmark::kMicrosecond);

struct Vertex {
    float x, y, z, rhw, u, v;
};

IDirect3DVertexBuffer9* Quad(IDirect3DDevice9* device, float w, float h) {
    const Vertex vertices[4] = {
        {0, h, 0, 1, 0, 1}, {0, 0, 0, 1, 0, 0}, {w, h, 0, 1, 1, 1}, {w, 0, 0, 1, 1, 0}};
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(sizeof(vertices), 0, D3DFVF_XYZRHW | D3DFVF_TEX1, D3DPOOL_MANAGED, &buffer,
                               nullptr);
    void* memory = nullptr;
    buffer->Lock(0, sizeof(vertices), &memory, 0);
    std::memcpy(memory, vertices, sizeof(vertices));
    buffer->Unlock();
    return buffer;
}

void BloomChainDirect(benchmark::State& state) {
    Scene scene;
    IDirect3DDevice9* device = scene.engine().device();
    IDirect3DTexture9* textures[3] = {}; // scene, half pair
    IDirect3DSurface9* surfaces[3] = {};
    const UINT sizes[3][2] = {{1024, 768}, {512, 384}, {512, 384}};
    for (int i = 0; i < 3; ++i) {
        device->CreateTexture(sizes[i][0], sizes[i][1], 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                              D3DPOOL_DEFAULT, &textures[i], nullptr);
        textures[i]->GetSurfaceLevel(0, &surfaces[i]);
    }
    const char* const files[] = {"VTR3Content/vtr3_brightpass.fx", "VTR3Content/vtr3_hbloom.fx",
                                 "VTR3Content/vtr3_vbloom.fx", "VTR3Content/vtr3_combine.fx"};
    ID3DXEffect* effects[4] = {};
    for (int i = 0; i < 4; ++i) {
        D3DXCreateEffectFromFileA(device, files[i], nullptr, nullptr, 0, nullptr, &effects[i], nullptr);
        effects[i]->SetTechnique(effects[i]->GetTechnique(0));
    }
    IDirect3DVertexBuffer9* full = Quad(device, 1024, 768);
    IDirect3DVertexBuffer9* half = Quad(device, 512, 384);
    const WORD indices[6] = {0, 1, 2, 1, 3, 2};
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    device->CreateIndexBuffer(sizeof(indices), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indexBuffer, nullptr);
    void* memory = nullptr;
    indexBuffer->Lock(0, sizeof(indices), &memory, 0);
    std::memcpy(memory, indices, sizeof(indices));
    indexBuffer->Unlock();
    const D3DXVECTOR4 threshold(0.0f, 0.0f, 0.0f, 0.0f);

    auto effectStep = [&](ID3DXEffect* effect, IDirect3DTexture9* source, IDirect3DSurface9* target,
                          IDirect3DVertexBuffer9* quad) {
        device->SetRenderTarget(0, target);
        device->SetStreamSource(0, quad, 0, sizeof(Vertex));
        effect->SetTexture("postTex1", source);
        effect->SetTexture("postTex2", textures[0]);
        effect->SetVector("vecValues1", &threshold);
        effect->SetVector("vecValues2", &threshold);
        UINT passes = 0;
        effect->Begin(&passes, 0);
        for (UINT pass = 0; pass < passes; ++pass) {
            effect->BeginPass(pass);
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
            effect->EndPass();
        }
        effect->End();
    };
    for (auto _ : state) {
        device->BeginScene();
        device->SetRenderTarget(0, surfaces[0]);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        device->SetIndices(indexBuffer);
        device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
        device->SetRenderTarget(0, surfaces[1]);
        device->SetTexture(0, textures[0]);
        device->SetStreamSource(0, half, 0, sizeof(Vertex));
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
        effectStep(effects[0], textures[1], surfaces[2], half);
        effectStep(effects[1], textures[2], surfaces[1], half);
        effectStep(effects[2], textures[1], surfaces[2], half);
        effectStep(effects[3], textures[2], scene.backBuffer(), full);
        device->SetTexture(0, nullptr);
        device->EndScene();
        scene.Finish();
    }
    device->SetIndices(nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    indexBuffer->Release();
    full->Release();
    half->Release();
    for (ID3DXEffect* effect : effects) {
        effect->Release();
    }
    for (int i = 0; i < 3; ++i) {
        surfaces[i]->Release();
        textures[i]->Release();
    }
}
BENCHMARK(BloomChainDirect)->Unit(benchmark::kMillisecond);

} // namespace
