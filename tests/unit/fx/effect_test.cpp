// ID3DXEffect: descriptions, handles, parameter values, matrices as uploaded, reference counts, and
// validation against the device's caps (on a device that reports a shader-model-2 card, and on a full one).
#include "allocation_counter.h"
#include "effect_fixture.h"
#include "fx/effect.h"
#include "reference_count.h"

#include "device/gl_api.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

const char* const kEffect = R"(
float4x4 matWorldViewProjection : WORLDVIEWPROJECTION;
float4x3 bones[2];
float4 vecSkill1 = {1, 2, 3, 4};
float scale = 0.5;
int count = 3;
bool flip;
texture entTex0;
sampler2D samp0 = sampler_state { Texture = <entTex0>; MinFilter = Linear; };
struct VsOut { float4 pos : POSITION; float2 uv : TEXCOORD0; };
VsOut VS(float4 pos : POSITION, float2 uv : TEXCOORD0) {
    VsOut o;
    o.pos = mul(pos, matWorldViewProjection) + float4(mul(pos, bones[1]), 0) * scale;
    o.uv = uv;
    return o;
}
float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(samp0, uv) * vecSkill1 * count + flip; }
technique Refract { pass P0 { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }
technique ReflectAndRefract { pass P0 { PixelShader = compile ps_2_0 PS(); } pass P1 { } }
)";

// The GL programs of the effect's first pass, 0 for a fixed-function stage.
std::pair<GLuint, GLuint> Programs(ID3DXEffect* effect) {
    GLuint vertex = 0, pixel = 0;
    EXPECT_TRUE(dynamic_cast<platform::fx::Effect&>(*effect).PassPrograms(0, 0, &vertex, &pixel));
    return {vertex, pixel};
}

using EffectDescription = EffectFixture;

TEST_F(EffectDescription, NamesParametersTechniquesAndPasses) {
    ASSERT_EQ(Make(kEffect), D3D_OK) << errors_;
    EXPECT_EQ(errors_, "");
    D3DXEFFECT_DESC desc;
    ASSERT_EQ(effect_->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Parameters * 10 + desc.Techniques, 82u);

    D3DXPARAMETER_DESC p;
    ASSERT_EQ(effect_->GetParameterDesc("matWorldViewProjection", &p), D3D_OK);
    EXPECT_STREQ(p.Semantic, "WORLDVIEWPROJECTION");
    EXPECT_EQ(p.Class, D3DXPC_MATRIX_COLUMNS);
    ASSERT_EQ(effect_->GetParameterDesc(effect_->GetParameterByName(nullptr, "bones"), &p), D3D_OK);
    EXPECT_EQ(std::make_tuple(p.Rows, p.Columns, p.Elements, p.Bytes), std::make_tuple(4u, 3u, 2u, 96u));
    ASSERT_EQ(effect_->GetParameterDesc("entTex0", &p), D3D_OK);
    EXPECT_EQ(p.Type, D3DXPT_TEXTURE);
    EXPECT_EQ(effect_->GetParameterDesc("nothing", &p), D3DERR_INVALIDCALL);
    EXPECT_EQ(p.Name, nullptr);

    const D3DXHANDLE refract = effect_->GetTechnique(0);
    const D3DXHANDLE both = effect_->GetTechniqueByName("ReflectAndRefract");
    EXPECT_EQ(effect_->GetTechniqueByName("Refract"), refract);
    EXPECT_EQ(effect_->GetTechnique(2), nullptr);
    EXPECT_EQ(effect_->GetCurrentTechnique(), refract);
    D3DXTECHNIQUE_DESC t;
    ASSERT_EQ(effect_->GetTechniqueDesc(both, &t), D3D_OK);
    EXPECT_EQ(t.Name + std::to_string(t.Passes), "ReflectAndRefract2");
    D3DXPASS_DESC pass;
    ASSERT_EQ(effect_->GetPassDesc(effect_->GetPass(both, 1), &pass), D3D_OK);
    EXPECT_STREQ(pass.Name, "P1");
    EXPECT_EQ(effect_->GetPassByName(both, "P0"), effect_->GetPass(both, 0));
    EXPECT_EQ(effect_->SetTechnique(both), D3D_OK);
    EXPECT_EQ(effect_->GetCurrentTechnique(), both);
    EXPECT_EQ(effect_->SetTechnique("NoSuchTechnique"), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect_->GetCurrentTechnique(), both);
}

TEST_F(EffectDescription, ModifiersDefaultsAndSamplerRegistersAsDeclared) {
    ASSERT_EQ(
        Make(
            "row_major float4x3 rows;\nstatic float hidden = 2;\nbool flip = true;\ntexture t;\n"
            "sampler2D s : register(s3) = sampler_state { Texture = <t>; };\n"
            "float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(s, uv) * rows[0].x * hidden * flip; }\n"
            "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n"),
        D3D_OK)
        << errors_;
    D3DXEFFECT_DESC desc;
    ASSERT_EQ(effect_->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Parameters, 4u); // the static global is no parameter
    D3DXPARAMETER_DESC p;
    ASSERT_EQ(effect_->GetParameterDesc("rows", &p), D3D_OK);
    EXPECT_EQ(p.Class, D3DXPC_MATRIX_ROWS);
    BOOL flip = FALSE;
    ASSERT_EQ(effect_->GetBool("flip", &flip), D3D_OK);
    EXPECT_EQ(flip, TRUE);
    const GLuint pixel = Programs(effect_).second;
    GLint unit = -1;
    glGetUniformiv(pixel, glGetUniformLocation(pixel, "s"), &unit);
    EXPECT_EQ(unit, 3);
}

using EffectValues = EffectFixture;

TEST_F(EffectValues, DefaultsComeFromTheFileSettersConvertAndWrongNamesOrKindsChangeNothing) {
    ASSERT_EQ(Make(kEffect), D3D_OK) << errors_;
    float f = 0;
    ASSERT_EQ(effect_->GetFloat("scale", &f), D3D_OK);
    EXPECT_EQ(f, 0.5f);
    // A float set into an int parameter is truncated, and so is a float read as an int; a bool keeps
    // TRUE as 1.
    INT n = 0, half = -1;
    BOOL b = FALSE;
    EXPECT_EQ(effect_->SetFloat("count", 7.9f), D3D_OK);
    EXPECT_EQ(effect_->SetBool("flip", 5), D3D_OK);
    ASSERT_EQ(effect_->GetInt("count", &n) | effect_->GetBool("flip", &b) | effect_->GetInt("scale", &half),
              D3D_OK);
    EXPECT_EQ(n * 10 + b, 71);
    EXPECT_EQ(half, 0);

    const D3DXVECTOR4 v(9, 9, 9, 9);
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    for (const HRESULT refused :
         {effect_->SetVector("vecSkill9", &v), effect_->SetMatrix("matWorld", &m),
          effect_->SetFloat(nullptr, 1.0f), effect_->SetMatrix("entTex0", &m),
          effect_->SetTexture("vecSkill1", nullptr), effect_->SetVector("vecSkill1", nullptr)})
        EXPECT_EQ(refused, D3DERR_INVALIDCALL);
    D3DXVECTOR4 read;
    ASSERT_EQ(effect_->GetVector("vecSkill1", &read), D3D_OK);
    EXPECT_EQ(read, D3DXVECTOR4(1, 2, 3, 4));
}

TEST_F(EffectValues, MatricesUploadSoThatMulOfARowVectorMeansWhatItMeansInHlsl) {
    ASSERT_EQ(Make(kEffect), D3D_OK) << errors_;
    D3DXMATRIX wvp;
    D3DXMATRIX bone;
    for (int i = 0; i < 16; ++i) {
        wvp.m[i / 4][i % 4] = static_cast<float>(i + 1);
        bone.m[i / 4][i % 4] = static_cast<float>(100 + i);
    }
    const D3DXMATRIX bones[2] = {wvp, bone};
    ASSERT_EQ(effect_->SetMatrix("matWorldViewProjection", &wvp), D3D_OK);
    ASSERT_EQ(effect_->SetMatrixArray("bones", bones, 2), D3D_OK);
    UINT passes = 0;
    ASSERT_EQ(effect_->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect_->BeginPass(0), D3D_OK);

    const auto [vertex, pixel] = Programs(effect_);
    ASSERT_NE(vertex, 0u);
    ASSERT_NE(pixel, 0u);
    // GLSL's mat4 is M's transpose (mul(v, M) became M' * v): its columns are D3DX's rows, so the
    // uniform read back column after column is the D3DX matrix row after row.
    float uploaded[16] = {};
    glGetUniformfv(vertex, glGetUniformLocation(vertex, "fx_vs.matWorldViewProjection"), uploaded);
    EXPECT_EQ(std::memcmp(uploaded, &wvp, sizeof(uploaded)), 0);
    // float4x3 is GLSL's mat4x3: four columns of three, the first three columns of each D3DX row.
    float bone1[12] = {};
    glGetUniformfv(vertex, glGetUniformLocation(vertex, "fx_vs.bones[1]"), bone1);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(bone1[r * 3 + c], bone.m[r][c]) << r << "," << c;

    // A change is uploaded by CommitChanges.
    const D3DXVECTOR4 skill(5, 6, 7, 8);
    ASSERT_EQ(effect_->SetVector(effect_->GetParameterByName(nullptr, "vecSkill1"), &skill), D3D_OK);
    ASSERT_EQ(effect_->CommitChanges(), D3D_OK);
    float inPixel[4] = {};
    glGetUniformfv(pixel, glGetUniformLocation(pixel, "fx_ps.vecSkill1"), inPixel);
    EXPECT_EQ(D3DXVECTOR4(inPixel), skill);
    GLint samplerUnit = -1;
    glGetUniformiv(pixel, glGetUniformLocation(pixel, "samp0"), &samplerUnit);
    EXPECT_EQ(samplerUnit, 0);
    EXPECT_EQ(effect_->EndPass(), D3D_OK);
    EXPECT_EQ(effect_->End(), D3D_OK);
}

TEST_F(EffectValues, LiteralArgumentsOfACompileStatementSetTheEntrysUniformParameters) {
    ASSERT_EQ(
        Make("float4 PS(uniform bool invert, uniform float scale) : COLOR0 { return invert ? scale : 0; }\n"
             "technique T { pass P { PixelShader = compile ps_2_0 PS(true, 0.25); } }\n"),
        D3D_OK)
        << errors_;
    const auto [vertex, pixel] = Programs(effect_);
    EXPECT_EQ(vertex, 0u); // the fixed-function vertex stage
    ASSERT_NE(pixel, 0u);
    GLuint invert = 0;
    glGetUniformuiv(pixel, glGetUniformLocation(pixel, "fx_ps.invert"), &invert);
    EXPECT_EQ(invert, 1u);
    float scale = 0;
    glGetUniformfv(pixel, glGetUniformLocation(pixel, "fx_ps.scale"), &scale);
    EXPECT_EQ(scale, 0.25f);
}

TEST_F(EffectValues, TheEffectHoldsItsDeviceAndATextureWhileItIsSet) {
    ASSERT_EQ(Make(kEffect), D3D_OK) << errors_;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(effect_->GetDevice(&device), D3D_OK);
    EXPECT_EQ(device, device_);
    EXPECT_EQ(device->Release(), 2u); // the test's and the effect's
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    ASSERT_EQ(effect_->SetTexture("entTex0", texture), D3D_OK);
    ASSERT_EQ(effect_->SetTexture("entTex0", texture), D3D_OK);
    EXPECT_EQ(CountOf(texture), 2u);
    IDirect3DBaseTexture9* got = nullptr;
    ASSERT_EQ(effect_->GetTexture("entTex0", &got), D3D_OK);
    EXPECT_EQ(got, texture);
    EXPECT_EQ(got->Release(), 2u);
    ASSERT_EQ(effect_->SetTexture("entTex0", nullptr), D3D_OK);
    EXPECT_EQ(CountOf(texture), 1u);
    ASSERT_EQ(effect_->SetTexture("entTex0", texture), D3D_OK);
    EXPECT_EQ(effect_->Release(), 0u);
    effect_ = nullptr;
    EXPECT_EQ(texture->Release(), 0u);
}

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

// Begin, BeginPass, CommitChanges, EndPass and End: the states a pass sets go through the device's
// own setters, Begin saves what the passes change and End puts it back, unless D3DXFX_DONOTSAVESTATE.
// The device's getters show the states, so these tests do not depend on drawing.
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
