// The state manager an effect uses when the caller set none: each call goes to the device's own setter.
// So that the effect has one path for its pass states, whoever receives them.
#ifndef VTR3_PLATFORM_FX_DEVICE_STATES_H
#define VTR3_PLATFORM_FX_DEVICE_STATES_H

#include <d3dx9.h>

namespace platform::fx {

class DeviceStates final : public ID3DXEffectStateManager {
  public:
    explicit DeviceStates(IDirect3DDevice9* device) : d_(device) {}

    // Owned by its effect, never handed out: no reference count.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        if (object)
            *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE s, CONST D3DMATRIX* m) override {
        return d_->SetTransform(s, m);
    }
    HRESULT SetMaterial(CONST D3DMATERIAL9* m) override { return d_->SetMaterial(m); }
    HRESULT SetLight(DWORD i, CONST D3DLIGHT9* l) override { return d_->SetLight(i, l); }
    HRESULT LightEnable(DWORD i, BOOL on) override { return d_->LightEnable(i, on); }
    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override { return d_->SetRenderState(s, v); }
    HRESULT SetTexture(DWORD i, LPDIRECT3DBASETEXTURE9 t) override { return d_->SetTexture(i, t); }
    HRESULT SetTextureStageState(DWORD i, D3DTEXTURESTAGESTATETYPE s, DWORD v) override {
        return d_->SetTextureStageState(i, s, v);
    }
    HRESULT SetSamplerState(DWORD i, D3DSAMPLERSTATETYPE s, DWORD v) override {
        return d_->SetSamplerState(i, s, v);
    }
    HRESULT SetNPatchMode(FLOAT n) override { return d_->SetNPatchMode(n); }
    HRESULT SetFVF(DWORD fvf) override { return d_->SetFVF(fvf); }
    HRESULT SetVertexShader(LPDIRECT3DVERTEXSHADER9 s) override { return d_->SetVertexShader(s); }
    HRESULT SetVertexShaderConstantF(UINT r, CONST FLOAT* c, UINT n) override {
        return d_->SetVertexShaderConstantF(r, c, n);
    }
    HRESULT SetVertexShaderConstantI(UINT r, CONST INT* c, UINT n) override {
        return d_->SetVertexShaderConstantI(r, c, n);
    }
    HRESULT SetVertexShaderConstantB(UINT r, CONST BOOL* c, UINT n) override {
        return d_->SetVertexShaderConstantB(r, c, n);
    }
    HRESULT SetPixelShader(LPDIRECT3DPIXELSHADER9 s) override { return d_->SetPixelShader(s); }
    HRESULT SetPixelShaderConstantF(UINT r, CONST FLOAT* c, UINT n) override {
        return d_->SetPixelShaderConstantF(r, c, n);
    }
    HRESULT SetPixelShaderConstantI(UINT r, CONST INT* c, UINT n) override {
        return d_->SetPixelShaderConstantI(r, c, n);
    }
    HRESULT SetPixelShaderConstantB(UINT r, CONST BOOL* c, UINT n) override {
        return d_->SetPixelShaderConstantB(r, c, n);
    }

  private:
    IDirect3DDevice9* d_; // the effect holds the device
};

} // namespace platform::fx

#endif
