// Constructs of the effect language that effect files of the Direct3D 9 era use, each drawn over a
// clip-space quad and checked against the colour worked out by hand: centroid semantics, varying
// arrays over consecutive registers, flat initialiser lists, constructors as assignment targets, a shader
// chosen from an array by a parameter, state values computed from parameters, light and
// material states, function-like macros in pass states.
#include "effect_render_fixture.h"

#include <string>

namespace {

using render_test::Bgra;

// The vertex stage every case shares: TEXCOORD0 = (0.2, 0.4, 0.6, 1); t[k] = 0.2 (k + 1) in all
// components, spread over TEXCOORD1 to TEXCOORD3.
const char* const kVertexStage = R"(
struct VsOut { float4 pos : POSITION; float4 c : TEXCOORD0; float4 t[3] : TEXCOORD1; };
VsOut VS(float4 pos : POSITION) {
    VsOut o;
    o.pos = pos;
    o.c = float4(0.2, 0.4, 0.6, 1);
    for (int k = 0; k < 3; ++k)
        o.t[k] = 0.2 * (k + 1);
    return o;
}
)";
// Pixel shaders chosen by Index from an array: PSn(k) writes red 0.2 k.
const char* const kShaderArray =
    "int Index = 2;\nfloat4 PSn(uniform float k) : COLOR0 { return float4(0.2 * k, 0.4, 0.6, 1); }\n"
    "pixelshader ps[3] = { compile ps_2_0 PSn(0), compile ps_2_0 PSn(1), compile ps_2_0 PSn(3) };\n";
// The alpha test set by expressions of Index: on when Index > 0.5, reference Index * 255 + 1 (153 passes
// "less" from Index 0.6).
// Fixed-function lighting set by the pass: ambient 1 x (0.2, 0, 0.4) plus diffuse (0.5, 0.8, 0.4) x
// (0.4, 0.5, 0.5) with the normal facing the light: (0.4, 0.4, 0.6).
const char* const kLit =
    "float4 lightColor = {0.4, 0.5, 0.5, 1};\nfloat4 PS(float4 c : COLOR0) : COLOR0 { return c; }\n";
const char* const kLightStates =
    "compile ps_3_0 PS(); VertexShader = NULL; Lighting = true; LightEnable[0] = true; LightType[0] = "
    "DIRECTIONAL; LightDirection[0] = {0, 0, 1}; LightDiffuse[0] = <lightColor>; LightAmbient[0] = "
    "float4(0.2, 0, 0.4, 0); MaterialAmbient = {1, 1, 1, 1}; MaterialDiffuse = {0.5, 0.8, 0.4, 1}";
const char* const kExpressions =
    "float Index;\nfloat4 PS() : COLOR0 { return float4(0.2, 0.4, 0.6, 0.6); }\n";
const char* const kExpressionStates =
    "compile ps_3_0 PS(); AlphaTestEnable = (Index > 0.5); AlphaFunc = Less; "
    "AlphaRef = (Index * 255 + 1)";

// Function-like macros in a compile statement and in pass states, expanded as glslang expands them in
// shader text: PS(0.2, 0.4) writes (0.2, 0.4, 0.6, 0.6); the alpha test passes 153 < 154, fails 153 < 153.
const char* const kMacros =
    "#define SHADE(f, r, g) compile ps_3_0 f(r, g)\n"
    "#define ALPHA_TEST(ref) AlphaTestEnable = true; AlphaFunc = Less; AlphaRef = ref\n"
    "#define RGB(r, g) float4(r, g, 0.6, 0.6)\n"
    "float4 PS(uniform float r, uniform float g) : COLOR0 { return RGB(r, g); }\n";

struct Case {
    const char* what;
    const char* effect; // globals and PS, between the vertex stage and the technique
    Bgra expected;      // the pixel at (4, 4)
    const char* pixelShader = "compile ps_3_0 PS()";
    float index = -1; // set into Index when not negative
};

const Case kCases[] = {
    {"centroid", "float4 PS(float4 c : TEXCOORD0_centroid) : COLOR0 { return c; }", {153, 102, 51, 255}},
    {"array input",
     "float4 PS(in float4 t[3] : TEXCOORD1) : COLOR0 { return float4(t[0].x, t[1].y, t[2].z, 1); }",
     {153, 102, 51, 255}},
    {"array element",
     "float4 PS(float4 b : TEXCOORD3) : COLOR0 { return float4(b.xyz, 1); }",
     {153, 153, 153, 255}},
    {"flat list, parameter default",
     "float4 k[2] = {0.2, 0, 0, 0, 0, 0.4, 0.6, 1};\n"
     "float4 PS() : COLOR0 { return float4(k[0].x, k[1].yzw); }",
     {153, 102, 51, 255}},
    {"flat list, static array",
     "static const float3 w[2] = {0.6, 0.4, 0.2, 1, 1, 1};\n"
     "float4 PS() : COLOR0 { return float4(w[0].zyx, w[1].x); }",
     {153, 102, 51, 255}},
    {"flat list, local struct",
     "struct S { float a; float2 b; float4 c[2]; };\n"
     "float4 PS() : COLOR0 { S s = {0.2, 0.4, 0.6, 0, 0, 0, 0, 0, 0, 0, 1}; return float4(s.a, s.b, "
     "s.c[1].w); }",
     {153, 102, 51, 255}},
    {"constructor target",
     "float4 PS(float4 c : TEXCOORD0) : COLOR0 {\n"
     "float2 a; float b, d; float4(a, b, d) = c.zyxw; return float4(b, a.yx, d); }",
     {153, 102, 51, 255}},
    {"shader array, default index", kShaderArray, {153, 102, 153, 255}, "(ps[Index])"},
    {"shader array, index set", kShaderArray, {153, 102, 51, 255}, "(ps[Index])", 1},
    {"shader array, index clamped", kShaderArray, {153, 102, 153, 255}, "(ps[Index])", 7},
    {"shader array, literal index", kShaderArray, {153, 102, 0, 255}, "(ps[0])"},
    {"state expressions, test passes", kExpressions, {153, 102, 51, 255}, kExpressionStates, 0.6f},
    {"state expressions, test fails", kExpressions, {0, 0, 0, 255}, kExpressionStates, 0.59f},
    {"state expressions, test off", kExpressions, {153, 102, 51, 255}, kExpressionStates, 0.4f},
    {"light and material states", kLit, {153, 102, 102, 255}, kLightStates},
    {"function-like macros, test passes",
     kMacros,
     {153, 102, 51, 255},
     "SHADE(PS, 0.2, 0.4); ALPHA_TEST(154)"},
    {"function-like macros, test fails", kMacros, {0, 0, 0, 255}, "SHADE(PS, 0.2, 0.4); ALPHA_TEST(153)"},
};

using EffectLanguage = EffectRenderTest;

TEST_F(EffectLanguage, EachConstructDrawsItsWorkedOutColour) {
    for (const Case& c : kCases) {
        ID3DXEffect* effect =
            Make(std::string(kVertexStage) + c.effect +
                 "\ntechnique T { pass P { CullMode = None; VertexShader = compile vs_3_0 VS(); "
                 "PixelShader = " +
                 c.pixelShader + "; } }\n");
        ASSERT_NE(effect, nullptr) << c.what;
        EXPECT_EQ(effect->ValidateTechnique(effect->GetTechniqueByName("T")), D3D_OK) << c.what;
        if (c.index >= 0) {
            ASSERT_EQ(effect->SetFloat("Index", c.index), D3D_OK);
        }
        EXPECT_EQ(Pixel(effect), c.expected) << c.what;
        D3DMATERIAL9 material{};
        BOOL lit = FALSE;
        ASSERT_EQ(device_->GetMaterial(&material), D3D_OK);
        device_->GetLightEnable(0, &lit);
        EXPECT_TRUE(material.Diffuse.r == 0 && !lit) << c.what << ": End restores the light and material";
        EXPECT_EQ(effect->Release(), 0u);
    }
}

} // namespace
