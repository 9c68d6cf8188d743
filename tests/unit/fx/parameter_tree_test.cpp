// Handles below the top level: annotations of parameters, techniques and passes, struct members and
// array elements (by index, by name, by "s.member" path), their values and the uniforms they reach.
#include "effect_render_fixture.h"

#include <string>

namespace {

using render_test::Bgra;

// Pixel = light.colour * light.scale + pair[1].colour + gain[1]; the defaults give (0.2, 0.4, 0.6).
const char* const kEffect = R"(
struct Light { float3 colour; float scale; };
Light light < string UIName = "Lamp"; float UIMin = 0.5; int Steps = 4; float2 Range = {1, 2}; >
    = {0.4, 0.8, 1.2, 0.5};
Light pair[2];
float gain[2] = {1, 0};
float4 VS(float4 p : POSITION) : POSITION { return p; }
float4 PS() : COLOR0 { return float4(light.colour * light.scale + pair[1].colour + gain[1], 1); }
technique T < string Tag = "main"; > { pass P < float Weight = 0.25; > { CullMode = None;
    VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 PS(); } }
)";

class Parameters : public EffectRenderTest {
  protected:
    void SetUp() override {
        EffectRenderTest::SetUp();
        ASSERT_NE(effect_ = Make(kEffect), nullptr);
    }
    render_test::Bgra Draw() { return Pixel(effect_); }
    float Float(D3DXHANDLE h) {
        float f = -1;
        return SUCCEEDED(effect_->GetFloat(h, &f)) ? f : -1;
    }
};

TEST_F(Parameters, Annotations) {
    const D3DXHANDLE light = effect_->GetParameterByName(nullptr, "light"), t = effect_->GetTechnique(0),
                     p = effect_->GetPass(t, 0);
    D3DXPARAMETER_DESC pd{};
    D3DXTECHNIQUE_DESC td{};
    D3DXPASS_DESC passDesc{};
    D3DXEFFECT_DESC ed{};
    ASSERT_TRUE(SUCCEEDED(effect_->GetParameterDesc(light, &pd)) &&
                SUCCEEDED(effect_->GetTechniqueDesc(t, &td)) &&
                SUCCEEDED(effect_->GetPassDesc(p, &passDesc)) && SUCCEEDED(effect_->GetDesc(&ed)));
    EXPECT_EQ(pd.Annotations * 100 + td.Annotations * 10 + passDesc.Annotations, 411u);
    EXPECT_EQ(ed.Parameters, 3u) << "annotations and members are no top-level parameters";
    LPCSTR text = nullptr;
    EXPECT_EQ(effect_->GetString(effect_->GetAnnotation(light, 0), &text), D3D_OK);
    EXPECT_STREQ(text, "Lamp");
    EXPECT_EQ(effect_->GetString(effect_->GetAnnotationByName(t, "Tag"), &text), D3D_OK);
    EXPECT_STREQ(text, "main");
    EXPECT_EQ(Float(effect_->GetAnnotationByName("light", "UIMin")), 0.5f);
    EXPECT_EQ(Float(effect_->GetAnnotation(p, 0)), 0.25f);
    INT steps = 0;
    EXPECT_EQ(effect_->GetInt(effect_->GetAnnotation(light, 2), &steps), D3D_OK);
    EXPECT_EQ(steps, 4);
    float range[2] = {};
    ASSERT_EQ(effect_->GetFloatArray(effect_->GetAnnotation(light, 3), range, 2), D3D_OK);
    ASSERT_EQ(effect_->GetParameterDesc(effect_->GetAnnotation(light, 3), &pd), D3D_OK);
    EXPECT_TRUE(range[1] == 2 && pd.Class == D3DXPC_VECTOR && pd.Columns == 2 &&
                pd.Name == std::string("Range"));
    for (const D3DXHANDLE none :
         {effect_->GetAnnotation(light, 4), effect_->GetAnnotation(p, 1), effect_->GetAnnotation(nullptr, 0),
          effect_->GetAnnotationByName(light, "UIMax"), effect_->GetAnnotationByName(light, nullptr),
          effect_->GetParameterByName(nullptr, "UIName"), effect_->GetParameter(nullptr, 3)})
        EXPECT_EQ(none, nullptr);
    EXPECT_EQ(effect_->GetString(effect_->GetAnnotation(light, 1), &text), D3DERR_INVALIDCALL);
    EXPECT_EQ(text, nullptr);
}

TEST_F(Parameters, StructMembersAndElementsShareTheirValuesAndReachTheShader) {
    const D3DXHANDLE light = effect_->GetParameterByName(nullptr, "light"),
                     scale = effect_->GetParameter(light, 1);
    D3DXPARAMETER_DESC desc{};
    ASSERT_EQ(effect_->GetParameterDesc(light, &desc), D3D_OK);
    EXPECT_TRUE(desc.Class == D3DXPC_STRUCT && desc.StructMembers == 2 && desc.Bytes == 16);
    EXPECT_TRUE(effect_->GetParameterByName(light, "scale") == scale &&
                effect_->GetParameterByName(nullptr, "light.scale") == scale);
    const D3DXHANDLE second = effect_->GetParameterElement("pair", 1);
    EXPECT_EQ(effect_->GetParameterByName(second, "colour"),
              effect_->GetParameterByName(nullptr, "pair[1].colour"));
    for (const D3DXHANDLE none : {effect_->GetParameter(light, 2), effect_->GetParameterElement(light, 0),
                                  effect_->GetParameterElement("pair", 2)})
        EXPECT_EQ(none, nullptr);
    EXPECT_EQ(Float(scale), 0.5f);
    EXPECT_EQ(Draw(), (Bgra{153, 102, 51, 255}));

    // A member written alone changes the whole's value, and the other way round.
    ASSERT_EQ(effect_->SetFloat(scale, 0), D3D_OK);
    float whole[4] = {};
    ASSERT_EQ(effect_->GetValue(light, whole, sizeof(whole)), D3D_OK);
    EXPECT_TRUE(whole[0] == 0.4f && whole[3] == 0);
    const float colour[4] = {0.6f, 0.2f, 0.4f, 1};
    ASSERT_EQ(effect_->SetFloatArray(effect_->GetParameterByName(second, "colour"), colour, 3), D3D_OK);
    ASSERT_EQ(effect_->SetValue(effect_->GetParameterElement("pair", 0), colour, sizeof(colour)), D3D_OK);
    EXPECT_EQ(Draw(), (Bgra{102, 51, 153, 255})); // (0.6, 0.2, 0.4): pair[0] is not read
    ASSERT_EQ(effect_->SetFloat(effect_->GetParameterElement("gain", 1), 0.2f), D3D_OK);
    float gain[2] = {};
    ASSERT_EQ(effect_->GetFloatArray("gain", gain, 2), D3D_OK);
    EXPECT_TRUE(gain[0] == 1 && gain[1] == 0.2f);
    EXPECT_EQ(Draw(), (Bgra{153, 102, 204, 255})); // (0.8, 0.4, 0.6)
    const float restored[4] = {0.4f, 0.8f, 1.2f, 0.5f};
    ASSERT_EQ(effect_->SetValue(light, restored, sizeof(restored)), D3D_OK);
    EXPECT_EQ(Float(scale), 0.5f);
}

} // namespace
