// Effects drawn through the render tests' device, every pass of the current technique around a draw,
// the frame read back and checked pixel by pixel against worked-out colours:
// - a pixel-shader-only negative that is exactly 255 - c before and after a device reset, a cube map
//   sampled by direction, null shaders returning to the fixed-function pipeline and a user clip plane
//   cutting a shader-drawn mesh;
// - constructs of the effect language that effect files of the Direct3D 9 era use: centroid
//   semantics, varying arrays over consecutive registers, flat initialiser lists, constructors as
//   assignment targets, casts between vectors and arrays, a shader chosen from an array by a
//   parameter, state values computed from parameters, light and material states, function-like
//   macros in pass states; the alpha test applies under the pixel shader;
// - effect pools, CloneEffect and state managers: shared parameters seen by two effects of one pool
//   and values carried by a clone; a state manager's calls in exact order;
// - handles below the top level: annotations of parameters, techniques and passes, struct members
//   and array elements (by index, by name, by "s.member" path), their values and the uniforms they
//   reach.
#include "fx_test_support.h"
#include "render_fixture.h"
#include "shader_tokens.h"

#include <d3dx9.h>

#include <string>
#include <vector>

namespace {

using render_test::Bgra;
using render_test::Frame;

struct MeshVertex { // D3DFVF_XYZ | D3DFVF_DIFFUSE
    float x, y, z;
    D3DCOLOR color;
};

class EffectRender : public render_test::RenderTest {
  protected:
    static constexpr unsigned kSize = 32;
    void SetUp() override { CreateDevice(kSize, kSize); }
    void TearDown() override {
        if (effect_) {
            EXPECT_EQ(effect_->Release(), 0u);
        }
        RenderTest::TearDown();
    }

    // The effect made from the text, or null with the compiler's messages reported unless the result
    // expected is a failure.
    ID3DXEffect* Make(const std::string& text, ID3DXEffectPool* pool = nullptr, DWORD flags = 0,
                      HRESULT expected = D3D_OK) {
        ID3DXEffect* effect = nullptr;
        std::string errors;
        EXPECT_EQ(CreateEffect(device_, text, &effect, &errors, pool, flags), expected) << text << errors;
        return effect;
    }

    // Every pass of the effect's current technique around the draw.
    template <typename Draw> void Passes(ID3DXEffect* effect, Draw draw, DWORD flags = 0) {
        UINT passes = 0;
        ASSERT_EQ(effect->Begin(&passes, flags), D3D_OK);
        for (UINT p = 0; p < passes; ++p) {
            ASSERT_EQ(effect->BeginPass(p), D3D_OK);
            draw();
            ASSERT_EQ(effect->EndPass(), D3D_OK);
        }
        ASSERT_EQ(effect->End(), D3D_OK);
    }

    // A clip-space quad over the whole target, D3DFVF_XYZ | D3DFVF_NORMAL with the normal towards -z.
    void DrawClipQuad() {
        const D3DXVECTOR3 n(0, 0, -1);
        const D3DXVECTOR3 quad[8] = {{-1, -1, 0.5f}, n, {-1, 1, 0.5f}, n, {1, -1, 0.5f}, n, {1, 1, 0.5f}, n};
        ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, 2 * sizeof(quad[0])), D3D_OK);
    }

    // The pixel at (4, 4) of the effect drawn over the clip-space quad.
    Bgra Pixel(ID3DXEffect* effect) {
        return At(DrawFrame([&] { Passes(effect, [&] { DrawClipQuad(); }); }), 4, 4);
    }

    // The whole target as two triangles in clip space, in one colour, drawn with the shaders set,
    // through D3DFVF_XYZ | D3DFVF_DIFFUSE or a declaration.
    Frame DrawColouredQuad(D3DCOLOR colour, IDirect3DVertexDeclaration9* declaration = nullptr) {
        const MeshVertex quad[6] = {{-1, -1, 0.5f, colour}, {-1, 1, 0.5f, colour}, {1, 1, 0.5f, colour},
                                    {-1, -1, 0.5f, colour}, {1, 1, 0.5f, colour},  {1, -1, 0.5f, colour}};
        SetStates({{D3DRS_LIGHTING, FALSE}, {D3DRS_CULLMODE, D3DCULL_NONE}});
        EXPECT_EQ(declaration ? device_->SetVertexDeclaration(declaration)
                              : device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE),
                  D3D_OK);
        return DrawFrame([&] { device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(MeshVertex)); });
    }
    // Sets the states and shaders of the effect's passes and leaves them set.
    void SetPassStates() {
        const auto nothing = [] {};
        DrawFrame([&] { Passes(effect_, nothing, D3DXFX_DONOTSAVESTATE); });
    }
    // A screen quad whose texel centres fall on pixel centres (Direct3D 9's half-pixel offset).
    Frame DrawEffectQuad() {
        return DrawFrame([&] {
            Passes(effect_, [&] { DrawTexturedRect(-0.5f, -0.5f, kSize - 0.5f, kSize - 0.5f, 0, 0, 1, 1); });
        });
    }

    ID3DXEffect* effect_ = nullptr; // the test's effect, released at the end
};
using EffectLanguage = EffectRender;

TEST_F(EffectRender, APixelShaderOnlyNegativeIsExactly255MinusCBeforeAndAfterADeviceReset) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(kSize, kSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    render_test::Fill(texture, 0,
                      [](unsigned x, unsigned y) { return D3DCOLOR_ARGB(255, x * 8, y * 8, (x * y) & 255); });
    effect_ = Make(
        "texture postTex1;\nsampler2D src = sampler_state { Texture = <postTex1>; MinFilter = Point; };\n"
        "float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return float4(1 - tex2D(src, uv).rgb, 1); }\n"
        "technique T { pass P { ZEnable = false; PixelShader = compile ps_2_0 PS(); } }\n");
    ASSERT_EQ(effect_->SetTexture("postTex1", texture), D3D_OK);
    EXPECT_EQ(texture->Release(), 1u);
    const Frame frame = DrawEffectQuad();
    for (unsigned y = 0; y < kSize; ++y) {
        for (unsigned x = 0; x < kSize; ++x) {
            const Bgra expected{Bgra::value_type(255 - ((x * y) & 255)), Bgra::value_type(255 - y * 8),
                                Bgra::value_type(255 - x * 8), 255};
            ASSERT_EQ(At(frame, x, y), expected) << x << "," << y;
        }
    }
    const std::size_t alive = platform::LiveObjectCount();
    ASSERT_EQ(effect_->OnLostDevice(), D3D_OK);
    D3DPRESENT_PARAMETERS pp = Parameters();
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    ASSERT_EQ(effect_->OnResetDevice(), D3D_OK);
    EXPECT_EQ(platform::LiveObjectCount(), alive);
    EXPECT_EQ(DrawEffectQuad().bgra, frame.bgra);
}

TEST_F(EffectRender, ACubeMapIsSampledByDirection) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(device_->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
    const D3DCOLOR faces[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    for (int f = 0; f < 6; ++f)
        render_test::Fill(cube, static_cast<D3DCUBEMAP_FACES>(f), [&](UINT, UINT) { return faces[f]; });
    effect_ =
        Make("textureCUBE sky;\nsamplerCUBE s = sampler_state { Texture = <sky>; };\nfloat3 direction;\n"
             "float4 PS() : COLOR0 { return texCUBE(s, direction); }\n"
             "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    ASSERT_EQ(effect_->SetTexture("sky", cube), D3D_OK);
    EXPECT_EQ(cube->Release(), 1u);
    const float directions[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int f = 0; f < 6; ++f) {
        ASSERT_EQ(effect_->SetFloatArray("direction", directions[f], 3), D3D_OK);
        EXPECT_EQ(At(DrawEffectQuad(), 10, 10), ToBgra(faces[f])) << "face " << f;
    }
}

TEST_F(EffectRender, NullShadersReturnEachStageToTheFixedFunctionPipeline) {
    // The effect's vertex stage colours blue and its pixel stage writes green; the vertices are red.
    effect_ = Make(
        "struct VsOut { float4 pos : POSITION; float4 color : COLOR0; };\n"
        "VsOut VS(float4 pos : POSITION) { VsOut o; o.pos = pos; o.color = float4(0, 0, 1, 1); return o; }\n"
        "float4 PS() : COLOR0 { return float4(0, 1, 0, 1); }\n"
        "technique T { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } "
        "}\n");
    const auto draw = [&] { return At(DrawColouredQuad(0xFFFF0000), 10, 10); };
    SetPassStates();
    EXPECT_EQ(draw(), (Bgra{0, 255, 0, 255}));

    IDirect3DPixelShader9* pixelShader = reinterpret_cast<IDirect3DPixelShader9*>(std::uintptr_t{1});
    EXPECT_EQ(device_->GetPixelShader(&pixelShader), D3DERR_INVALIDCALL); // no object to give
    EXPECT_EQ(pixelShader, nullptr);
    ASSERT_EQ(device_->SetPixelShader(nullptr), D3D_OK);
    EXPECT_EQ(device_->GetPixelShader(&pixelShader), D3D_OK);
    EXPECT_EQ(pixelShader, nullptr);
    EXPECT_EQ(draw(), (Bgra{255, 0, 0, 255})); // the effect's vertex colour, passed on
    ASSERT_EQ(device_->SetVertexShader(nullptr), D3D_OK);
    EXPECT_EQ(draw(), (Bgra{0, 0, 255, 255})); // the vertices' own colour
    EXPECT_EQ(device_->GetVertexShader(nullptr), D3DERR_INVALIDCALL);

    // Reset sets both shaders to null as well.
    SetPassStates();
    D3DPRESENT_PARAMETERS pp = Parameters();
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    EXPECT_EQ(draw(), (Bgra{0, 0, 255, 255}));
}

// End gives the pixel stage back to the bytecode shader the application had set (blue); the pass
// draws green, the vertices are red.
TEST_F(EffectRender, EndRestoresTheApplicationsBytecodeShader) {
    using namespace shader_tokens;
    effect_ = Make("float4 PS() : COLOR0 { return float4(0, 1, 0, 1); }\n"
                   "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    const std::vector<DWORD> tokens =
        Code(D3DPS_VERSION(2, 0)).Def(0, 0, 0, 1, 1).Op(D3DSIO_MOV, {Dst(D3DSPR_COLOROUT, 0), C(0)}).End();
    IDirect3DPixelShader9* shader = nullptr;
    ASSERT_EQ(device_->CreatePixelShader(tokens.data(), &shader), D3D_OK);
    ASSERT_EQ(device_->SetPixelShader(shader), D3D_OK);
    UINT passes = 0;
    ASSERT_EQ(effect_->Begin(&passes, 0) | effect_->BeginPass(0), D3D_OK);
    EXPECT_EQ(At(DrawColouredQuad(0xFFFF0000), 10, 10), (Bgra{0, 255, 0, 255}));
    ASSERT_EQ(effect_->EndPass() | effect_->End(), D3D_OK);
    EXPECT_EQ(At(DrawColouredQuad(0xFFFF0000), 10, 10), (Bgra{255, 0, 0, 255}));
    IDirect3DPixelShader9* bound = nullptr;
    EXPECT_EQ(device_->GetPixelShader(&bound), D3D_OK);
    EXPECT_EQ(bound, shader);
    EXPECT_EQ(device_->SetPixelShader(nullptr), D3D_OK);
    EXPECT_EQ(bound->Release(), 1u);
    EXPECT_EQ(shader->Release(), 0u);
}

TEST_F(EffectRender, AUserClipPlaneCutsAShaderDrawnMeshInClipSpace) {
    effect_ = Make("struct VsOut { float4 pos : POSITION; float4 color : COLOR0; };\n"
                   "VsOut VS(float4 pos : POSITION, float4 color : COLOR0) { VsOut o; o.pos = pos; o.color = "
                   "color; return o; }\n"
                   "float4 PS(float4 color : COLOR0) : COLOR0 { return color; }\n"
                   "technique T { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 "
                   "PS(); } }\n");
    const float plane[4] = {1, 0, 0, 0}; // x >= 0
    ASSERT_EQ(device_->SetClipPlane(0, plane), D3D_OK);
    SetStates({{D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0}});
    SetPassStates();
    const Frame frame = DrawColouredQuad(0xFFFFFFFF);
    for (unsigned y = 0; y < kSize; y += 5) {
        EXPECT_EQ(At(frame, 3, y), (Bgra{0, 0, 0, 255})) << y;
        EXPECT_EQ(At(frame, kSize - 3, y), (Bgra{255, 255, 255, 255})) << y;
    }
    // The shaders read the same mesh through the declaration its format stands for.
    D3DVERTEXELEMENT9 elements[MAX_FVF_DECL_SIZE];
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(D3DXDeclaratorFromFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE, elements), D3D_OK);
    ASSERT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    EXPECT_EQ(DrawColouredQuad(0xFF336699, declaration).bgra, DrawColouredQuad(0xFF336699).bgra);
    EXPECT_EQ(At(DrawColouredQuad(0xFF336699, declaration), kSize - 3, 0), (Bgra{0x99, 0x66, 0x33, 255}));
    declaration->Release();
}

TEST_F(EffectRender, PixelShadersBelowModel3AreFoggedByTheDevice) {
    // Linear table fog from depth 0 to 1: at the quad's depth 0.5, red and the blue fog half and half.
    SetStates({{D3DRS_FOGENABLE, TRUE},
               {D3DRS_FOGTABLEMODE, D3DFOG_LINEAR},
               {D3DRS_FOGCOLOR, 0xFF0000FF},
               {D3DRS_FOGSTART, render_test::FloatBits(0.0f)},
               {D3DRS_FOGEND, render_test::FloatBits(1.0f)}});
    for (const std::string profile : {"ps_1_1", "ps_2_0", "ps_3_0"}) {
        ID3DXEffect* effect = Make("float4 PS() : COLOR0 { return float4(1, 0, 0, 1); }\n"
                                   "technique T { pass P { PixelShader = compile " +
                                   profile + " PS(); } }\n");
        ASSERT_NE(effect, nullptr);
        const int fog = profile == "ps_3_0" ? 0 : 128;
        const Bgra p = Pixel(effect);
        EXPECT_NEAR(p[0], fog, 1) << profile;
        EXPECT_NEAR(p[2], 255 - fog, 1) << profile;
        EXPECT_EQ(effect->Release(), 0u);
    }
    // Without table fog the factor is what the vertex shader writes to FOG: a quarter clear; all
    // clear from a shader that writes none.
    for (const char* fog : {"o.fog = 0.25;", ""}) {
        ID3DXEffect* effect =
            Make(std::string("struct VsOut { float4 pos : POSITION; float fog : FOG; };\n") +
                 (*fog ? "" : "struct VsPlain { float4 pos : POSITION; };\n#define VsOut VsPlain\n") +
                 "VsOut VS(float4 pos : POSITION) { VsOut o; o.pos = pos; " + fog +
                 " return o; }\n"
                 "float4 PS() : COLOR0 { return float4(1, 0, 0, 1); }\n"
                 "technique T { pass P { FogTableMode = None; FogVertexMode = Linear; "
                 "VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }\n");
        ASSERT_NE(effect, nullptr);
        const Bgra p = Pixel(effect);
        EXPECT_NEAR(p[2], *fog ? 64 : 255, 1) << fog;
        EXPECT_NEAR(p[0], *fog ? 191 : 0, 1) << fog;
        EXPECT_EQ(effect->Release(), 0u);
    }
}

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
    {"constructor targets as if and else bodies",
     "float4 PS(float4 c : TEXCOORD0) : COLOR0 {\n"
     "float4 a = 0, b = 0; if (c.x > 0.5) float4(b.xy, a.xy) = c; else float4(a.xy, b.xy) = c;\n"
     "return float4(a.xy, b.zw + c.zw); }",
     {153, 102, 51, 255}},
    {"vector to array casts",
     "float4 PS(float4 c : TEXCOORD0) : COLOR0 {\n"
     "float k[4] = (float[4])c.zyxw; int n[2] = (int[2])int2(1, 2);\n"
     "return float4(k[2], 0.2 * n[1], k[0], k[3]); }",
     {153, 102, 51, 255}},
    {"a cast of a name that is an array elsewhere",
     "static const float k[4] = {0, 0, 0, 0};\nstruct S { float c[4]; };\n"
     "float4 PS(float4 c : TEXCOORD0) : COLOR0 { float4 k = c; return (float4)c * 0.5 + (float4)k * 0.5; }",
     {153, 102, 51, 255}},
    {"array to vector cast",
     "float4 PS() : COLOR0 { float k[3] = {0.2, 0.4, 0.6}; return float4((float3)k, 1); }",
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

using EffectSharing = EffectRender;

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
        EXPECT_EQ(Make(other, pool, 0, D3DERR_INVALIDCALL), nullptr);
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
    EXPECT_EQ(Make("struct S { float4 d; };\nshared S s;\n", pool, 0, D3DERR_INVALIDCALL), nullptr);
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

// Pixel = light.colour * light.scale + pair[1].colour + gain[1]; the defaults give (0.2, 0.4, 0.6).
const char* const kTree = R"(
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

class Parameters : public EffectRender {
  protected:
    void SetUp() override {
        EffectRender::SetUp();
        ASSERT_NE(effect_ = Make(kTree), nullptr);
    }
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
    EXPECT_EQ(Pixel(effect_), (Bgra{153, 102, 51, 255}));

    // A member written alone changes the whole's value, and the other way round.
    ASSERT_EQ(effect_->SetFloat(scale, 0), D3D_OK);
    float whole[4] = {};
    ASSERT_EQ(effect_->GetValue(light, whole, sizeof(whole)), D3D_OK);
    EXPECT_TRUE(whole[0] == 0.4f && whole[3] == 0);
    const float colour[4] = {0.6f, 0.2f, 0.4f, 1};
    ASSERT_EQ(effect_->SetFloatArray(effect_->GetParameterByName(second, "colour"), colour, 3), D3D_OK);
    ASSERT_EQ(effect_->SetValue(effect_->GetParameterElement("pair", 0), colour, sizeof(colour)), D3D_OK);
    EXPECT_EQ(Pixel(effect_), (Bgra{102, 51, 153, 255})); // (0.6, 0.2, 0.4): pair[0] is not read
    ASSERT_EQ(effect_->SetFloat(effect_->GetParameterElement("gain", 1), 0.2f), D3D_OK);
    float gain[2] = {};
    ASSERT_EQ(effect_->GetFloatArray("gain", gain, 2), D3D_OK);
    EXPECT_TRUE(gain[0] == 1 && gain[1] == 0.2f);
    EXPECT_EQ(Pixel(effect_), (Bgra{153, 102, 204, 255})); // (0.8, 0.4, 0.6)
    const float restored[4] = {0.4f, 0.8f, 1.2f, 0.5f};
    ASSERT_EQ(effect_->SetValue(light, restored, sizeof(restored)), D3D_OK);
    EXPECT_EQ(Float(scale), 0.5f);
}

} // namespace

// The same shaders as HLSL and as asm blocks of each version, the vertex constants a transposed
// float4x4 that puts the quad in the left half (x' = x / 2 - 1 / 2), the pixel constant a tint:
// vertex colour (200, 100, 128) times (0.5, 1, 0.25) is (100, 100, 32). The 2.0 shaders come from a
// variable and an element of an array chosen by a constant index.
const char kAsmEffect[] = R"(float4x4 mvp = {0.5, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -0.5, 0, 0, 1};
float4 tint = {0.5, 1, 0.25, 1};
struct V { float4 p : POSITION; float4 c : COLOR0; };
V VS(float4 p : POSITION, float4 c : COLOR0) { V o; o.p = mul(p, mvp); o.c = c; return o; }
float4 PS(float4 c : COLOR0) : COLOR0 { return c * tint; }
#define HLSL(v, p) VertexShader = compile v VS(); PixelShader = compile p PS();
#define CONSTANTS VertexShaderConstant4[0] = <mvp>; PixelShaderConstantF[0] = <tint>;
VertexShader vs2 = asm { vs_2_0 ; comments may hold { braces
    dcl_position v0
    dcl_color v1
    m4x4 oPos, v0, c0
    mov oD0, v1 };
PixelShader ps2[2] = { asm { ps_2_0 def c1, 1, 0, 0, 1
    mov oC0, c1 }, asm { ps_2_0 dcl v0 mul r0, v0, c0
    mov oC0, r0 } };
technique hlsl1 { pass { HLSL(vs_1_1, ps_1_1) } }
technique hlsl2 { pass { HLSL(vs_2_0, ps_2_0) } }
technique hlsl3 { pass { HLSL(vs_3_0, ps_3_0) } }
technique asm1 { pass { CONSTANTS
    VertexShader = asm { vs_1_1 dcl_position v0 dcl_color v1 m4x4 oPos, v0, c0 mov oD0, v1 };
    PixelShader = asm { ps_1_1 mul r0, v0, c0 }; } }
technique asm2 { pass { CONSTANTS VertexShader = (vs2); PixelShader = (ps2[1]); } }
technique asm3 { pass { CONSTANTS
    VertexShader = asm { vs_3_0 dcl_position v0 dcl_color v1 dcl_position o0 dcl_color o1
        m4x4 o0, v0, c0 mov o1, v1 };
    PixelShader = asm { ps_3_0 dcl_color v0 mul oC0, v0, c0 }; } }
)";

TEST_F(EffectRender, AsmBlocksOfEachVersionDrawAsTheirHlsl) {
    effect_ = Make(kAsmEffect);
    ASSERT_NE(effect_, nullptr);
    const auto draw = [&](const char* technique) {
        EXPECT_EQ(effect_->SetTechnique(technique), D3D_OK) << technique;
        SetPassStates();
        return DrawColouredQuad(D3DCOLOR_XRGB(200, 100, 128));
    };
    for (const char* version : {"1", "2", "3"}) {
        const Frame hlsl = draw((std::string("hlsl") + version).c_str());
        const Frame assembly = draw((std::string("asm") + version).c_str());
        EXPECT_EQ(At(assembly, 4, 4), (Bgra{32, 100, 100, 255})) << version;
        EXPECT_NE(At(assembly, 28, 4), (Bgra{32, 100, 100, 255})) << version;
        EXPECT_EQ(assembly.bgra, hlsl.bgra) << version;
    }
}
