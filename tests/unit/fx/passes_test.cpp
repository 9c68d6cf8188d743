// Begin, BeginPass, CommitChanges, EndPass and End: the states a pass sets go through the device's
// own setters, Begin saves what the passes change and End puts it back, unless D3DXFX_DONOTSAVESTATE.
// The device's getters show the states, so these tests do not depend on drawing.
#include "allocation_counter.h"
#include "effect_fixture.h"

#include <gtest/gtest.h>

namespace {

const char* const kBlend = R"(
float alphaRef = 128;
float4 tint = {1, 1, 1, 1};
float4x4 matWorldViewProjection;
texture entTex0;
sampler2D samp0 = sampler_state { Texture = <entTex0>; MinFilter = Point; AddressU = Border; };
float4 VS(float4 p : POSITION) : POSITION { return mul(p, matWorldViewProjection); }
float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(samp0, uv) * tint; }
technique Blend {
    pass P0 {
        AlphaBlendEnable = true; SrcBlend = SrcAlpha; DestBlend = InvSrcAlpha;
        AlphaRef = <alphaRef>;
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
    pass P1 { CullMode = None; ColorWriteEnable = Red | Green; MinFilter[1] = Linear; }
}
)";

class EffectPasses : public EffectFixture {
  protected:
    void SetUp() override {
        EffectFixture::SetUp();
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR), D3D_OK);
        ASSERT_EQ(Make(kBlend), D3D_OK) << errors_;
        ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture_, nullptr),
                  D3D_OK);
    }
    void TearDown() override {
        EXPECT_EQ(effect_->Release(), 0u);
        effect_ = nullptr;
        EXPECT_EQ(texture_->Release(), 0u);
        EffectFixture::TearDown();
    }

    IDirect3DBaseTexture9* Bound(DWORD stage) {
        IDirect3DBaseTexture9* texture = nullptr;
        EXPECT_EQ(device_->GetTexture(stage, &texture), D3D_OK);
        if (texture)
            texture->Release(); // the binding keeps it
        return texture;
    }

    IDirect3DTexture9* texture_ = nullptr;
};

TEST_F(EffectPasses, APassSetsItsStatesAndEndRestoresThemUnlessToldNotToSave) {
    ASSERT_EQ(effect_->SetTexture("entTex0", texture_), D3D_OK);
    UINT passes = 0;
    ASSERT_EQ(effect_->Begin(&passes, 0), D3D_OK);
    EXPECT_EQ(passes, 2u);
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), TRUE);
    EXPECT_EQ(Render(D3DRS_SRCBLEND) * 10 + Render(D3DRS_DESTBLEND),
              DWORD{D3DBLEND_SRCALPHA * 10 + D3DBLEND_INVSRCALPHA});
    EXPECT_EQ(Render(D3DRS_ALPHAREF), 128u); // from the parameter
    // The pixel shader's one sampler is register 0: its texture and states go to stage 0.
    EXPECT_EQ(Bound(0), texture_);
    EXPECT_EQ(Sampler(0, D3DSAMP_MINFILTER), DWORD{D3DTEXF_POINT});
    EXPECT_EQ(Sampler(0, D3DSAMP_ADDRESSU), DWORD{D3DTADDRESS_BORDER});
    EXPECT_EQ(effect_->BeginPass(1), D3DERR_INVALIDCALL); // EndPass first
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->BeginPass(1), D3D_OK);
    EXPECT_EQ(Render(D3DRS_CULLMODE), DWORD{D3DCULL_NONE});
    EXPECT_EQ(Render(D3DRS_COLORWRITEENABLE), DWORD{D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN});
    EXPECT_EQ(Sampler(1, D3DSAMP_MINFILTER), DWORD{D3DTEXF_LINEAR});
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->End(), D3D_OK);

    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), FALSE);
    EXPECT_EQ(Render(D3DRS_SRCBLEND), DWORD{D3DBLEND_ONE});
    EXPECT_EQ(Render(D3DRS_CULLMODE), DWORD{D3DCULL_CCW});
    EXPECT_EQ(Sampler(0, D3DSAMP_MINFILTER), DWORD{D3DTEXF_LINEAR});
    EXPECT_EQ(Bound(0), nullptr);

    // D3DXFX_DONOTSAVESTATE leaves the pass states in place.
    ASSERT_EQ(effect_->Begin(nullptr, D3DXFX_DONOTSAVESTATE), D3D_OK);
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
    ASSERT_EQ(effect_->EndPass(), D3D_OK);
    ASSERT_EQ(effect_->End(), D3D_OK);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), TRUE);
    EXPECT_EQ(Sampler(0, D3DSAMP_MINFILTER), DWORD{D3DTEXF_POINT});
}

TEST_F(EffectPasses, CallsOutOfOrderAreRefused) {
    EXPECT_EQ(effect_->BeginPass(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->CommitChanges(), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->EndPass(), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->End(), D3DERR_INVALIDCALL);
    ASSERT_EQ(effect_->Begin(nullptr, 0), D3D_OK);
    EXPECT_EQ(effect_->Begin(nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->SetTechnique(effect_->GetTechnique(0)), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->BeginPass(2), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->End(), D3D_OK);
}

TEST_F(EffectPasses, SettersPassesAndCommitAllocateNothing) {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    const D3DXVECTOR4 v(1, 2, 3, 4);
    UINT passes = 0;
    std::size_t before = 0;
    // One frame first: whatever the device sets up once is not the effect's cost per frame.
    for (int frame = 0; frame < 2; ++frame) {
        before = allocation_counter::Count();
        EXPECT_EQ(effect_->SetMatrix("matWorldViewProjection", &m) |
                      effect_->SetTexture("entTex0", texture_) | effect_->Begin(&passes, 0),
                  D3D_OK);
        for (UINT p = 0; p < passes; ++p) {
            EXPECT_EQ(effect_->BeginPass(p) | effect_->SetVector("tint", &v) | effect_->CommitChanges() |
                          effect_->EndPass(),
                      D3D_OK);
        }
        EXPECT_EQ(effect_->End(), D3D_OK);
    }
    EXPECT_EQ(allocation_counter::Count() - before, 0u);
}

} // namespace
