// Validation against the device's caps, on a device that reports a shader-model-2 card.
#include "effect_fixture.h"

#include <gtest/gtest.h>

namespace {

const char* const kThreeTechniques = R"(
float4x4 matWorldViewProjection;
float4 table[40];
int index;
float4 VS(float4 p : POSITION) : POSITION { return mul(p, matWorldViewProjection); }
float4 PS() : COLOR0 { return 1; }
float4 PSTable() : COLOR0 { return table[index]; }
technique ShaderModel3 { pass P { VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 PS(); } }
technique ShaderModel2 { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }
technique TooManyConstants { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PSTable(); } }
)";

class ShaderModel2Device : public EffectFixture {
  protected:
    void SetUp() override {
        platform::SetShaderModel2Caps(true);
        EffectFixture::SetUp();
    }
    void TearDown() override {
        EffectFixture::TearDown();
        platform::SetShaderModel2Caps(false);
    }
};

TEST_F(ShaderModel2Device, OnlyTheSecondOfThreeTechniquesValidates) {
    D3DCAPS9 caps;
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.PixelShaderVersion, D3DPS_VERSION(2, 0));
    ASSERT_EQ(Make(kThreeTechniques), D3D_OK) << errors_;
    for (UINT t = 0; t < 3; ++t)
        EXPECT_EQ(SUCCEEDED(effect_->ValidateTechnique(effect_->GetTechnique(t))), t == 1) << t;
    EXPECT_EQ(effect_->ValidateTechnique("NoSuchTechnique"), D3DERR_INVALIDCALL);

    D3DXHANDLE next = nullptr;
    EXPECT_EQ(effect_->FindNextValidTechnique(nullptr, &next), D3D_OK);
    EXPECT_EQ(next, effect_->GetTechnique(1));
    EXPECT_EQ(effect_->FindNextValidTechnique(next, &next), S_FALSE);
    EXPECT_EQ(next, nullptr);
}

using FullDevice = EffectFixture;

TEST_F(FullDevice, ShaderModel3ValidatesAndAShaderModel2PixelShaderStillHasItsConstantLimit) {
    ASSERT_EQ(Make(kThreeTechniques), D3D_OK) << errors_;
    for (UINT t = 0; t < 3; ++t)
        EXPECT_EQ(SUCCEEDED(effect_->ValidateTechnique(effect_->GetTechnique(t))), t < 2) << t;
}

} // namespace
