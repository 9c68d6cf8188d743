// The effect syntax: what the parser reads out of an effect and what it leaves for glslang.
#include "fx_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using platform::fx::StateValue;

const char* const kEffect = R"(// a comment with technique in it
float4x4 matWorldViewProjection : WORLDVIEWPROJECTION;
row_major float4x3 bones[2];
float4 vecSkill1 < string UIName = "Skill"; float UIMin = -1; > = {1, -2.5, 3, 4};
float scale = 0.5;
bool flip = true;
static float hidden = 2;
texture entTex0;
sampler2D samp0 : register(s3) = sampler_state {
    Texture = <entTex0>;
    MinFilter = Linear; MagFilter = POINT;
    AddressU = Clamp; AddressV = Border;
    BorderColor = 0xFF00FF00;
};
string description = "text";
float4 PS(float2 uv : TEXCOORD0, uniform bool invert) : COLOR0 { return tex2D(samp0, uv); }
technique Main < string group = "a"; > {
    pass P0 {
        AlphaBlendEnable = true; SrcBlend = SrcAlpha; DestBlend = INVSRCALPHA;
        ColorWriteEnable = Red | Green | Blue;
        Texture[1] = <entTex0>;
        MinFilter[1] = Linear;
        PixelShader = compile ps_2_0 PS(true);
        VertexShader = null;
    }
}
)";

TEST(EffectParser, ReadsParametersWithTypesSemanticsAnnotationsAndDefaults) {
    const ParsedEffect e = ParseText(kEffect);
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    const auto& p = e.model.parameters;
    ASSERT_EQ(p.size(), 8u); // the static global is no parameter
    EXPECT_EQ(p[0].name, "matWorldViewProjection");
    EXPECT_EQ(p[0].semantic, "WORLDVIEWPROJECTION");
    EXPECT_EQ(p[0].cls, D3DXPC_MATRIX_COLUMNS);
    EXPECT_EQ(p[0].rows, 4u);
    EXPECT_EQ(p[1].cls, D3DXPC_MATRIX_ROWS);
    EXPECT_EQ(p[1].columns, 3u);
    EXPECT_EQ(p[1].elements, 2u);
    ASSERT_EQ(p[2].annotations.size(), 2u);
    EXPECT_EQ(p[2].annotations[0].text, "Skill");
    EXPECT_EQ(p[2].annotations[1].values, std::vector<float>{-1.0f});
    EXPECT_EQ(p[2].defaults, (std::vector<float>{1.0f, -2.5f, 3.0f, 4.0f}));
    EXPECT_EQ(p[3].defaults, std::vector<float>{0.5f});
    EXPECT_EQ(p[4].type, D3DXPT_BOOL);
    EXPECT_EQ(p[4].defaults, std::vector<float>{1.0f});
    EXPECT_EQ(p[5].type, D3DXPT_TEXTURE);
    EXPECT_EQ(p[6].type, D3DXPT_SAMPLER2D);
    EXPECT_EQ(p[6].samplerRegister, 3);
    ASSERT_EQ(p[6].samplerStates.size(), 6u);
    EXPECT_EQ(p[6].samplerStates[0].value.kind, StateValue::Kind::Reference);
    EXPECT_EQ(p[6].samplerStates[0].value.name, "entTex0");
    EXPECT_EQ(p[6].samplerStates[5].value.numbers, std::vector<double>{4278255360.0});
    EXPECT_EQ(p[7].stringValue, "text");
}

TEST(EffectParser, ReadsTechniquesPassesAndStateAssignments) {
    const ParsedEffect e = ParseText(kEffect);
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    ASSERT_EQ(e.model.techniques.size(), 1u);
    const auto& t = e.model.techniques[0];
    EXPECT_EQ(t.name, "Main");
    EXPECT_EQ(t.where.line, 17);
    ASSERT_EQ(t.passes.size(), 1u);
    const auto& s = t.passes[0].states;
    ASSERT_EQ(s.size(), 8u);
    EXPECT_EQ(s[3].value.name, "Red|Green|Blue");
    EXPECT_EQ(s[4].index, 1);
    EXPECT_EQ(s[6].value.kind, StateValue::Kind::Compile);
    EXPECT_EQ(s[6].value.profile, "ps_2_0");
    EXPECT_EQ(s[6].value.entry, "PS");
    ASSERT_EQ(s[6].value.arguments.size(), 1u);
    EXPECT_EQ(s[6].value.arguments[0], std::vector<float>{1.0f});
    EXPECT_EQ(s[7].value.kind, StateValue::Kind::Null);
    ASSERT_EQ(e.model.functions.size(), 1u);
    EXPECT_EQ(e.model.functions[0].uniformParameters, std::vector<std::string>{"invert"});
}

TEST(EffectParser, BlanksEffectOnlySyntaxAndKeepsEveryLineAndColumn) {
    const ParsedEffect e = ParseText(kEffect);
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    const std::string& hlsl = e.model.hlsl;
    ASSERT_EQ(hlsl.size(), e.source.text.size());
    EXPECT_EQ(e.source.text, kEffect);
    for (std::size_t i = 0; i < hlsl.size(); ++i)
        ASSERT_EQ(hlsl[i] == '\n', e.source.text[i] == '\n') << "at offset " << i;
    EXPECT_EQ(hlsl.find("technique Main"), std::string::npos);
    EXPECT_EQ(hlsl.find("sampler_state"), std::string::npos);
    EXPECT_EQ(hlsl.find("texture entTex0"), std::string::npos);
    EXPECT_EQ(hlsl.find("UIName"), std::string::npos);
    EXPECT_EQ(hlsl.find("string description"), std::string::npos);
    // What glslang needs stays where it was.
    EXPECT_EQ(hlsl.find("float4 PS("), e.source.text.find("float4 PS("));
    EXPECT_NE(hlsl.find("sampler2D samp0 : register(s3)"), std::string::npos);
    EXPECT_NE(hlsl.find("= {1, -2.5, 3, 4};"), std::string::npos);
}

TEST(EffectPreprocessor, IncludesRelativeToTheFileAndFollowsDefinesAndConditions) {
    const std::string dir = ::testing::TempDir() + "fx_include_test/";
    std::system(("mkdir -p " + dir + "inc").c_str());
    WriteFile(dir + "inc/common.fxh", "#define USE_BLOOM 2\nfloat bloom;\n");
    const ParsedEffect e = ParseText("#include \"inc/common.fxh\"\n"
                                     "#if USE_BLOOM > 1 && defined(USE_BLOOM)\n"
                                     "float strong;\n"
                                     "#elif 1\n"
                                     "float weak;\n"
                                     "#endif\n"
                                     "#ifndef MISSING\n"
                                     "float always;\n"
                                     "#else\n"
                                     "float never;\n"
                                     "#endif\n",
                                     dir + "main.fx", dir);
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    std::vector<std::string> names;
    for (const auto& p : e.model.parameters)
        names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"bloom", "strong", "always"}));
    // The included line maps back to its own file and line.
    const auto& lines = e.source.lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(e.source.files[static_cast<std::size_t>(lines[2].file)], dir + "inc/common.fxh");
    EXPECT_EQ(lines[2].line, 2);
    EXPECT_EQ(lines[3].file, 0);
    EXPECT_EQ(lines[3].line, 2);
}

TEST(EffectPreprocessor, ObjectLikeMacrosReachTheEffectSyntax) {
    const ParsedEffect e = ParseText("#define PROFILE ps_2_0\n#define FILTER Linear\n"
                                     "float4 PS() : COLOR0 { return 0; }\n"
                                     "sampler s = sampler_state { MinFilter = FILTER; };\n"
                                     "technique T { pass { PixelShader = compile PROFILE PS(); } }\n");
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    EXPECT_EQ(e.model.techniques[0].passes[0].states[0].value.profile, "ps_2_0");
    EXPECT_EQ(e.model.parameters[0].samplerStates[0].value.name, "Linear");
}

struct ErrorCase {
    const char* text;
    const char* message;
};

class EffectSyntaxErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(EffectSyntaxErrors, NameFileLineAndColumn) {
    const ParsedEffect e = ParseText(GetParam().text, "bad.fx");
    EXPECT_FALSE(e.ok);
    ASSERT_FALSE(e.diagnostics.All().empty());
    EXPECT_EQ(platform::fx::FormatDiagnostic(e.diagnostics.All().front()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectSyntaxErrors,
    ::testing::Values(ErrorCase{"float4 PS() : COLOR0 { return 0; }\ntechnique T {\n  pass P {\n    CullMode "
                                "= Sideways;\n  }\n}\n",
                                "bad.fx(4,16): error X3081: invalid value 'Sideways' for state 'CullMode'"},
                      ErrorCase{"technique T { pass P {\n  Blending = true;\n} }\n",
                                "bad.fx(2,3): error X3080: unrecognized state 'Blending'"},
                      ErrorCase{"technique T { pass P { PixelShader = compile ps_2_0 Missing(); } }\n",
                                "bad.fx(1,38): error X3501: 'Missing': entrypoint not found"},
                      ErrorCase{"float4 PS() : COLOR0 { return 0; }\ntechnique T { pass P { PixelShader = "
                                "compile ps_9_9 PS(); } }\n",
                                "bad.fx(2,38): error X3502: invalid target 'ps_9_9' for a pixel shader"},
                      ErrorCase{"sampler s = sampler_state { Texture = <nothing>; };\n",
                                "bad.fx(1,39): error X3004: undeclared identifier 'nothing'"},
                      ErrorCase{"\n  #include \"not_there.fxh\"\n",
                                "bad.fx(2,13): error X1507: failed to open source file: 'not_there.fxh'"},
                      ErrorCase{"#if 1\nfloat a;\n",
                                "bad.fx(2,1): error X1000: unexpected end of file in #if block"},
                      ErrorCase{"technique T { pass P { ZEnable = ; } }\n",
                                "bad.fx(1,34): error X3081: invalid state value for 'ZEnable'"}));

TEST(EffectParser, HostileInputEndsWithAnErrorOrAModelNeverACrash) {
    const char* const inputs[] = {"technique",
                                  "technique {",
                                  "pass",
                                  "sampler s = sampler_state {",
                                  "float4 a = {{{{{{",
                                  "#if ((((((((((((((((((((((((((((((((((((1",
                                  "#define A A B\nA",
                                  "#define A B\n#define B A\nA",
                                  "float4x9 m;",
                                  "\"unterminated",
                                  "/* open",
                                  "technique T { pass P { VertexShader = compile vs_2_0",
                                  "float a[",
                                  "#include",
                                  "#include <",
                                  "texture t < string a = \"x\"; "};
    for (const char* input : inputs) {
        const ParsedEffect e = ParseText(input);
        (void)e;
    }
    std::string deep(100000, '(');
    ParseText("#if " + deep + "\n#endif\n");
    ParseText(std::string(100000, '{'));
}

} // namespace
