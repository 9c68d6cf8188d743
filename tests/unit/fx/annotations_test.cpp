// Annotations of parameters, techniques and passes: counts in the descriptions, handles by index and
// by name, and their values through the Get family.
#include "effect_fixture.h"

#include <gtest/gtest.h>

namespace {

const char* const kAnnotated = R"(
float Scale <string UIName = "Scale"; float UIMin = 0.5; int Steps = 4; float2 Range = {1, 2};> = 1;
float4 PS() : COLOR0 { return Scale; }
technique T <string Tag = "main";> { pass P <float Weight = 0.25;> { PixelShader = compile ps_2_0 PS(); } }
)";

using EffectAnnotations = EffectFixture;

TEST_F(EffectAnnotations, CountsHandlesAndValues) {
    ASSERT_EQ(Make(kAnnotated), D3D_OK) << errors_;
    const D3DXHANDLE scale = effect_->GetParameterByName(nullptr, "Scale");
    const D3DXHANDLE technique = effect_->GetTechniqueByName("T");
    const D3DXHANDLE pass = effect_->GetPass(technique, 0);
    D3DXPARAMETER_DESC parameter{};
    D3DXTECHNIQUE_DESC techniqueDesc{};
    D3DXPASS_DESC passDesc{};
    D3DXEFFECT_DESC effectDesc{};
    ASSERT_EQ(effect_->GetParameterDesc(scale, &parameter), D3D_OK);
    ASSERT_EQ(effect_->GetTechniqueDesc(technique, &techniqueDesc), D3D_OK);
    ASSERT_EQ(effect_->GetPassDesc(pass, &passDesc), D3D_OK);
    ASSERT_EQ(effect_->GetDesc(&effectDesc), D3D_OK);
    EXPECT_EQ(parameter.Annotations, 4u);
    EXPECT_EQ(techniqueDesc.Annotations, 1u);
    EXPECT_EQ(passDesc.Annotations, 1u);
    EXPECT_EQ(effectDesc.Parameters, 1u) << "annotations are no parameters";
    EXPECT_EQ(effect_->GetParameter(nullptr, 1), nullptr);
    EXPECT_EQ(effect_->GetParameterByName(nullptr, "UIName"), nullptr);

    LPCSTR text = nullptr;
    ASSERT_EQ(effect_->GetString(effect_->GetAnnotation(scale, 0), &text), D3D_OK);
    EXPECT_STREQ(text, "Scale");
    ASSERT_EQ(effect_->GetString(effect_->GetAnnotationByName(technique, "Tag"), &text), D3D_OK);
    EXPECT_STREQ(text, "main");
    float f = 0;
    EXPECT_EQ(effect_->GetFloat(effect_->GetAnnotationByName("Scale", "UIMin"), &f), D3D_OK);
    EXPECT_EQ(f, 0.5f);
    EXPECT_EQ(effect_->GetFloat(effect_->GetAnnotation(pass, 0), &f), D3D_OK);
    EXPECT_EQ(f, 0.25f);
    INT steps = 0;
    EXPECT_EQ(effect_->GetInt(effect_->GetAnnotation(scale, 2), &steps), D3D_OK);
    EXPECT_EQ(steps, 4);
    const D3DXHANDLE range = effect_->GetAnnotation(scale, 3);
    float pair[2] = {};
    ASSERT_EQ(effect_->GetFloatArray(range, pair, 2), D3D_OK);
    EXPECT_TRUE(pair[0] == 1 && pair[1] == 2);
    ASSERT_EQ(effect_->GetParameterDesc(range, &parameter), D3D_OK);
    EXPECT_TRUE(parameter.Class == D3DXPC_VECTOR && parameter.Columns == 2 &&
                parameter.Name == std::string("Range"));

    // Out of range, unknown names and null handles give null handles.
    EXPECT_EQ(effect_->GetAnnotation(scale, 4), nullptr);
    EXPECT_EQ(effect_->GetAnnotation(pass, 1), nullptr);
    EXPECT_EQ(effect_->GetAnnotation(nullptr, 0), nullptr);
    EXPECT_EQ(effect_->GetAnnotationByName(scale, "Missing"), nullptr);
    EXPECT_EQ(effect_->GetAnnotationByName(scale, nullptr), nullptr);
    EXPECT_EQ(effect_->GetString(effect_->GetAnnotation(scale, 1), &text), D3DERR_INVALIDCALL);
    EXPECT_EQ(text, nullptr);
}

} // namespace
