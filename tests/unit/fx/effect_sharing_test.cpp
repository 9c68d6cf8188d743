// Effect pools, CloneEffect and state managers: shared parameters seen by two effects of one pool and
// values carried by a clone, drawn and checked against worked-out pixels; a state manager's calls in
// exact order.
#include "effect_render_fixture.h"

#include <string>
#include <vector>

namespace {

using render_test::Bgra;

// A draws tint, B its components reversed: tint (0.2, 0.4, 0.6, 1) is BGRA (153, 102, 51) from A and
// (51, 102, 153) from B.
const std::string kA = "shared float4 tint = {0.2, 0.4, 0.6, 1};\nshared float4x4 view;\n"
                       "float4 PS() : COLOR0 { return tint; }\n"
                       "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
const std::string kB = "shared float4 tint;\nfloat4 PS() : COLOR0 { return tint.zyxw; }\n"
                       "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";

// Records each call as a line; counts its references.
struct Recorder final : ID3DXEffectStateManager {
    std::vector<std::string> calls;
    ULONG refs = 1;
    void Add(const char* what, long a, long b = -1, long c = -1) {
        calls.push_back(what + (" " + std::to_string(a)) + (b < 0 ? "" : " " + std::to_string(b)) +
                        (c < 0 ? "" : " " + std::to_string(c)));
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE s, CONST D3DMATRIX* m) override {
        return Add("T", s, long(m->_41)), 0;
    }
    HRESULT SetMaterial(CONST D3DMATERIAL9* m) override { return Add("M", long(m->Power)), 0; }
    HRESULT SetLight(DWORD i, CONST D3DLIGHT9* l) override { return Add("L", i, long(l->Range)), 0; }
    HRESULT LightEnable(DWORD i, BOOL on) override { return Add("LE", i, on), 0; }
    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override { return Add("RS", s, v), 0; }
    HRESULT SetTexture(DWORD i, LPDIRECT3DBASETEXTURE9 t) override { return Add("TX", i, t != nullptr), 0; }
    HRESULT SetTextureStageState(DWORD i, D3DTEXTURESTAGESTATETYPE s, DWORD v) override {
        return Add("TSS", i, s, v), 0;
    }
    HRESULT SetSamplerState(DWORD i, D3DSAMPLERSTATETYPE s, DWORD v) override {
        return Add("SS", i, s, v), 0;
    }
    HRESULT SetNPatchMode(FLOAT) override { return Add("NPATCH", 0), 0; }
    HRESULT SetFVF(DWORD f) override { return Add("FVF", f), 0; }
    HRESULT SetVertexShader(LPDIRECT3DVERTEXSHADER9 v) override { return Add("VS", v != nullptr), 0; }
    HRESULT SetVertexShaderConstantF(UINT r, CONST FLOAT*, UINT) override { return Add("VSF", r), 0; }
    HRESULT SetVertexShaderConstantI(UINT r, CONST INT*, UINT) override { return Add("VSI", r), 0; }
    HRESULT SetVertexShaderConstantB(UINT r, CONST BOOL*, UINT) override { return Add("VSB", r), 0; }
    HRESULT SetPixelShader(LPDIRECT3DPIXELSHADER9 p) override { return Add("PS", p != nullptr), 0; }
    HRESULT SetPixelShaderConstantF(UINT r, CONST FLOAT*, UINT) override { return Add("PSF", r), 0; }
    HRESULT SetPixelShaderConstantI(UINT r, CONST INT*, UINT) override { return Add("PSI", r), 0; }
    HRESULT SetPixelShaderConstantB(UINT r, CONST BOOL*, UINT) override { return Add("PSB", r), 0; }
};

class EffectSharing : public EffectRenderTest {
  protected:
    ID3DXEffect* Refused(const std::string& text, ID3DXEffectPool* pool) {
        ID3DXEffect* effect = nullptr;
        std::string errors;
        EXPECT_EQ(CreateEffect(device_, text, &effect, &errors, pool), D3DERR_INVALIDCALL) << text;
        return effect;
    }
};

TEST_F(EffectSharing, PoolSharesOneValueWhileAnyHolderLives) {
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(D3DXCreateEffectPool(&pool), D3D_OK);
    ID3DXEffect* a = Make(kA, pool);
    ID3DXEffect* b = Make(kB, pool); // joins A's value; its own default (none) is not applied
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Pixel(b), (Bgra{51, 102, 153, 255}));
    const D3DXVECTOR4 red(1, 0.2f, 0, 1);
    ASSERT_EQ(a->SetVector("tint", &red), D3D_OK);
    EXPECT_EQ(Pixel(b), (Bgra{255, 51, 0, 255}));
    D3DXPARAMETER_DESC desc{};
    ASSERT_EQ(b->GetParameterDesc("tint", &desc), D3D_OK);
    EXPECT_EQ(desc.Flags, DWORD{D3DX_PARAMETER_SHARED});
    for (const char* other : {"shared float3 tint;", "shared float3x4 view;", "shared float4 tint[2];",
                              "shared int4 tint;", "shared texture tint;"})
        EXPECT_EQ(Refused(other, pool), nullptr);
    ID3DXEffect* alone = Make(kB, nullptr); // no pool: its own tint, zero
    EXPECT_EQ(Pixel(alone), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(alone->Release(), 0u);
    EXPECT_EQ(pool->Release(), 2u); // each effect of the pool holds it
    EXPECT_EQ(a->Release(), 0u);
    ID3DXEffectPool* held = nullptr;
    ASSERT_EQ(b->GetPool(&held), D3D_OK);
    EXPECT_EQ(held, pool);
    ID3DXEffect* c = Make(kA, held); // the value outlives A and the caller's pool reference
    EXPECT_EQ(held->Release(), 2u);
    EXPECT_EQ(Pixel(c), (Bgra{0, 51, 255, 255}));
    EXPECT_EQ(b->Release(), 0u);
    EXPECT_EQ(c->Release(), 0u);
}

// A member written through one effect of the pool is what the other effect's shader reads.
TEST_F(EffectSharing, ASharedStructsMemberReachesEveryEffectOfThePool) {
    const std::string text = "struct S { float4 c; };\nshared S s;\nfloat4 PS() : COLOR0 { return s.c; }\n"
                             "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(&pool), D3D_OK);
    ID3DXEffect* a = Make(text, pool);
    ID3DXEffect* b = Make(text, pool);
    ASSERT_TRUE(a && b);
    const D3DXVECTOR4 colour(0.2f, 0.4f, 0.6f, 1);
    ASSERT_EQ(a->SetVector("s.c", &colour), D3D_OK);
    EXPECT_EQ(Pixel(b), (Bgra{153, 102, 51, 255}));
    EXPECT_EQ(Refused("struct S { float4 d; };\nshared S s;\n", pool), nullptr);
    EXPECT_EQ(a->Release() + b->Release() + pool->Release(), 0u);
}

TEST_F(EffectSharing, CloneCarriesValuesAndIsIndependentAfterwards) {
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(&pool), D3D_OK);
    const std::string text = "float4 own = {0, 0, 0, 1};\n" + kA;
    ID3DXEffect* original = Make(text, pool);
    const D3DXVECTOR4 v(0.4f, 0.2f, 0, 1);
    ASSERT_EQ(original->SetVector("own", &v), D3D_OK);
    ID3DXEffect* clone = nullptr;
    EXPECT_EQ(original->CloneEffect(nullptr, &clone), D3DERR_INVALIDCALL);
    EXPECT_EQ(clone, nullptr);
    ASSERT_EQ(original->CloneEffect(device_, &clone), D3D_OK);
    const D3DXVECTOR4 zero(0, 0, 0, 0);
    ASSERT_EQ(original->SetVector("own", &zero), D3D_OK); // the clone keeps the value it was given
    D3DXVECTOR4 got;
    ASSERT_EQ(clone->GetVector("own", &got), D3D_OK);
    EXPECT_EQ(got, v);
    const D3DXVECTOR4 blue(0, 0, 1, 1);
    ASSERT_EQ(clone->SetVector("tint", &blue), D3D_OK); // shared: the clone is in the pool too
    EXPECT_EQ(Pixel(original), (Bgra{255, 0, 0, 255}));
    ID3DXEffect* fixed = Make(kA, nullptr, D3DXFX_NOT_CLONEABLE);
    ID3DXEffect* none = original;
    EXPECT_EQ(fixed->CloneEffect(device_, &none), D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(fixed->Release(), 0u);
    EXPECT_EQ(original->Release(), 0u);
    EXPECT_EQ(pool->Release(), 1u);
    EXPECT_EQ(clone->Release(), 0u);
}

// Pass states in their order, then lights and material, samplers, shaders; End puts back what Begin
// read from the device (light 1 was never set, so it has nothing to put back).
TEST_F(EffectSharing, StateManagerReceivesThePassStatesInsteadOfTheDevice) {
    ID3DXEffect* effect = Make("float4x4 world = {1,0,0,0, 0,1,0,0, 0,0,1,0, 7,0,0,1};\ntexture tex;\n"
                               "sampler s = sampler_state { Texture = <tex>; MinFilter = Linear; };\n"
                               "float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(s, uv); }\n"
                               "technique T { pass P { AlphaBlendEnable = true; ColorOp[0] = SelectArg1; "
                               "LightEnable[1] = true; WorldTransform[0] = <world>; LightRange[1] = 5; "
                               "MaterialPower = 8; PixelShader = compile ps_2_0 PS(); } }");
    Recorder manager;
    ID3DXEffectStateManager* got = &manager;
    ASSERT_EQ(effect->GetStateManager(&got), D3D_OK);
    EXPECT_EQ(got, nullptr);
    ASSERT_EQ(effect->SetStateManager(&manager), D3D_OK);
    ASSERT_EQ(effect->GetStateManager(&got), D3D_OK);
    EXPECT_EQ(got, &manager);
    EXPECT_EQ(manager.refs, 3u);
    got->Release();
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"RS 27 1", "TSS 0 1 2", "LE 1 1", "T 256 7", "L 1 5",
                                                       "M 8", "TX 0 0", "SS 0 6 2", "PS 0"}));
    DWORD blend = 1;
    ASSERT_EQ(device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend), D3D_OK);
    EXPECT_EQ(blend, 0u); // the device saw none of it
    manager.calls.clear();
    ASSERT_EQ(effect->EndPass(), D3D_OK);
    ASSERT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"RS 27 0", "TSS 0 1 4", "LE 1 0", "T 256 0", "M 0",
                                                       "TX 0 0", "SS 0 6 1", "PS 0"}));
    ASSERT_EQ(effect->SetStateManager(nullptr), D3D_OK);
    EXPECT_EQ(manager.refs, 1u);
    ASSERT_EQ(effect->SetStateManager(&manager), D3D_OK);
    EXPECT_EQ(effect->Release(), 0u);
    EXPECT_EQ(manager.refs, 1u); // the effect's reference went with it
}

} // namespace
