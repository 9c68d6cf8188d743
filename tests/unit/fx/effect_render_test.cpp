// Effects drawing through the device, checked pixel by pixel: a shader-drawn mesh against the
// fixed-function pipeline with the same matrices, pixel-shader-only passes over pre-transformed
// quads (a negative that is exactly 255 - c, a symmetric 3x3 box blur), sampler addressing, alpha
// blending set by a pass and restored by End, a user clip plane cutting a shader-drawn mesh, the
// alpha test under a pixel shader and null shaders returning to the fixed-function pipeline.
#include "render_fixture.h"

#include <d3dx9.h>

#include <string>

namespace {

using render_test::Bgra;
using render_test::Frame;

struct MeshVertex { // D3DFVF_XYZ | D3DFVF_DIFFUSE
    float x, y, z;
    D3DCOLOR color;
};
constexpr DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

constexpr unsigned kSize = 32;

class EffectRender : public render_test::RenderTest {
  protected:
    void SetUp() override { CreateDevice(kSize, kSize); }
    void TearDown() override {
        if (effect_) {
            EXPECT_EQ(effect_->Release(), 0u);
        }
        if (texture_) {
            EXPECT_EQ(texture_->Release(), 0u);
        }
        RenderTest::TearDown();
    }

    void Make(const std::string& text) {
        ID3DXBuffer* messages = nullptr;
        ASSERT_EQ(D3DXCreateEffect(device_, text.data(), static_cast<UINT>(text.size()), nullptr, nullptr, 0,
                                   nullptr, &effect_, &messages),
                  D3D_OK)
            << (messages ? static_cast<const char*>(messages->GetBufferPointer()) : "");
        if (messages)
            messages->Release();
    }

    // A kSize x kSize texture filled by the function (x, y) -> A8R8G8B8.
    template <typename F> void MakeTexture(F texel) {
        ASSERT_EQ(
            device_->CreateTexture(kSize, kSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture_, nullptr),
            D3D_OK);
        render_test::Fill(texture_, 0, texel);
    }

    // Draws every pass of the current technique with the draw given.
    template <typename Draw> void DrawEffect(Draw draw, DWORD flags = 0) {
        UINT passes = 0;
        ASSERT_EQ(effect_->Begin(&passes, flags), D3D_OK);
        for (UINT p = 0; p < passes; ++p) {
            ASSERT_EQ(effect_->BeginPass(p), D3D_OK);
            draw();
            ASSERT_EQ(effect_->EndPass(), D3D_OK);
        }
        ASSERT_EQ(effect_->End(), D3D_OK);
    }

    // A screen quad whose texel centres fall on pixel centres (Direct3D 9's half-pixel offset).
    void DrawQuad(float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
        DrawTexturedRect(-0.5f, -0.5f, kSize - 0.5f, kSize - 0.5f, u0, v0, u1, v1);
    }

    // Lighting and culling off and the mesh vertex format, for a mesh drawn by DrawMesh.
    void UseMeshVertices() {
        SetStates({{D3DRS_LIGHTING, FALSE}, {D3DRS_CULLMODE, D3DCULL_NONE}});
        ASSERT_EQ(device_->SetFVF(kMeshFvf), D3D_OK);
    }
    void DrawMesh(const MeshVertex (&mesh)[6]) {
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, mesh, sizeof(MeshVertex)), D3D_OK);
    }

    // Every pass of the current technique over DrawQuad's quad.
    Frame DrawEffectQuad(float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
        return DrawFrame([&] { DrawEffect([&] { DrawQuad(u0, v0, u1, v1); }); });
    }

    ID3DXEffect* effect_ = nullptr;
    IDirect3DTexture9* texture_ = nullptr;
};

const char* const kMeshEffect = R"(
float4x4 matWorldViewProjection;
struct VsOut { float4 pos : POSITION; float4 color : COLOR0; };
VsOut VS(float4 pos : POSITION, float4 color : COLOR0) {
    VsOut o;
    o.pos = mul(pos, matWorldViewProjection);
    o.color = color;
    return o;
}
float4 PS(float4 color : COLOR0) : COLOR0 { return color; }
technique T { pass P { CullMode = None; VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }
)";

const MeshVertex kMesh[6] = {{-1.0f, -0.8f, 0.2f, 0xFFFF0000}, {0.1f, 0.9f, 0.5f, 0xFF00FF00},
                             {0.9f, -0.3f, 0.8f, 0xFF0000FF},  {-0.6f, 0.2f, 0.4f, 0xFFFFFF00},
                             {0.7f, 0.7f, 0.3f, 0xFF00FFFF},   {0.3f, -0.9f, 0.6f, 0xFFFF00FF}};

void Matrices(D3DXMATRIX* world, D3DXMATRIX* view, D3DXMATRIX* projection) {
    D3DXMatrixRotationYawPitchRoll(world, 0.4f, -0.3f, 0.2f);
    const D3DXVECTOR3 eye(0.3f, 0.5f, -3.0f), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(projection, D3DX_PI / 3, 1.0f, 0.5f, 10.0f);
}

TEST_F(EffectRender, AShaderMeshCoversThePixelsOfTheFixedFunctionPipeline) {
    D3DXMATRIX world, view, projection;
    Matrices(&world, &view, &projection);
    ASSERT_EQ(device_->SetTransform(D3DTS_WORLD, &world), D3D_OK);
    ASSERT_EQ(device_->SetTransform(D3DTS_VIEW, &view), D3D_OK);
    ASSERT_EQ(device_->SetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    UseMeshVertices();
    const Frame fixed = DrawFrame([&] { DrawMesh(kMesh); });

    Make(kMeshEffect);
    const D3DXMATRIX wvp = world * view * projection;
    ASSERT_EQ(effect_->SetMatrix("matWorldViewProjection", &wvp), D3D_OK);
    const Frame shaded = DrawFrame([&] { DrawEffect([&] { DrawMesh(kMesh); }); });

    std::size_t covered = 0;
    for (unsigned y = 0; y < kSize; ++y) {
        for (unsigned x = 0; x < kSize; ++x) {
            const Bgra a = At(fixed, x, y);
            const Bgra b = At(shaded, x, y);
            covered += a != Bgra{0, 0, 0, 255};
            for (int c = 0; c < 3; ++c)
                ASSERT_LE(std::abs(a[c] - b[c]), 1) << x << "," << y;
        }
    }
    EXPECT_GT(covered, kSize * kSize / 16);
}

const char* const kPostEffect = R"(
texture postTex1;
float2 texel = {0.03125, 0.03125};
sampler2D src = sampler_state { Texture = <postTex1>; MinFilter = Point; MagFilter = Point; AddressU = Clamp; AddressV = Clamp; };
float4 Negative(float2 uv : TEXCOORD0) : COLOR0 { float4 c = tex2D(src, uv); return float4(1 - c.rgb, 1); }
float4 Blur(float2 uv : TEXCOORD0) : COLOR0 {
    float4 c = 0;
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x)
            c += tex2D(src, uv + float2(x, y) * texel);
    return c / 9;
}
technique NegativeStep { pass P { ZEnable = false; PixelShader = compile ps_2_0 Negative(); } }
technique BlurStep { pass P { ZEnable = false; PixelShader = compile ps_2_0 Blur(); } }
)";

TEST_F(EffectRender, APixelShaderOnlyNegativeIsExactly255MinusCBeforeAndAfterADeviceReset) {
    MakeTexture([](unsigned x, unsigned y) { return D3DCOLOR_ARGB(255, x * 8, y * 8, (x * y) & 255); });
    Make(kPostEffect);
    ASSERT_EQ(effect_->SetTechnique("NegativeStep"), D3D_OK);
    ASSERT_EQ(effect_->SetTexture("postTex1", texture_), D3D_OK);
    const Frame frame = DrawEffectQuad();
    for (unsigned y = 0; y < kSize; ++y) {
        for (unsigned x = 0; x < kSize; ++x) {
            const Bgra p = At(frame, x, y);
            ASSERT_EQ(p[2], 255 - x * 8) << x << "," << y;
            ASSERT_EQ(p[1], 255 - y * 8) << x << "," << y;
            ASSERT_EQ(p[0], 255 - ((x * y) & 255)) << x << "," << y;
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

TEST_F(EffectRender, AThreeByThreeBoxBlurIsSymmetric) {
    constexpr unsigned kCentre = 16;
    MakeTexture(
        [](unsigned x, unsigned y) { return x == kCentre && y == kCentre ? 0xFFFFFFFFu : 0xFF000000u; });
    Make(kPostEffect);
    ASSERT_EQ(effect_->SetTechnique("BlurStep"), D3D_OK);
    ASSERT_EQ(effect_->SetTexture("postTex1", texture_), D3D_OK);
    const Frame frame = DrawEffectQuad();
    const int spread = At(frame, kCentre, kCentre)[1];
    EXPECT_NEAR(spread, 255 / 9, 1);
    for (unsigned y = 0; y < kSize; ++y) {
        for (unsigned x = 0; x < kSize; ++x) {
            const bool inside = x + 1 >= kCentre && x <= kCentre + 1 && y + 1 >= kCentre && y <= kCentre + 1;
            EXPECT_EQ(At(frame, x, y)[1], inside ? spread : 0) << x << "," << y;
            if (x > 0 && y > 0) { // the mirror image through the centre
                EXPECT_EQ(At(frame, x, y), At(frame, 2 * kCentre - x, 2 * kCentre - y)) << x << "," << y;
            }
        }
    }
}

// Each mode and filter has its table in the render tests; here the effect's names reach the sampler.
TEST_F(EffectRender, SamplerStatesOfAnEffectReachItsPixelShader) {
    // Black and white columns; the quad samples u from -1 to 2, half a texel to the right.
    MakeTexture([](unsigned x, unsigned) { return x % 2 ? 0xFFFFFFFFu : 0xFF000000u; });
    const float half = 0.5f / kSize;
    for (const char* mode : {"Wrap", "Clamp", "Border"}) {
        Make(std::string("texture t;\nsampler2D s = sampler_state { Texture = <t>; MinFilter = Linear; "
                         "MagFilter = Linear; BorderColor = 0xFF0000FF; AddressU = ") +
             mode +
             "; };\nfloat4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(s, uv); }\n"
             "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
        ASSERT_EQ(effect_->SetTexture("t", texture_), D3D_OK);
        const Frame frame = DrawEffectQuad(half - 1, 0, 2 + half, 1);
        const std::string name = mode;
        // Pixel 2 samples u about -0.8: wrapped a grey between two columns, clamped the white edge.
        const Bgra left = At(frame, 2, 10);
        const Bgra expected = name == "Border"  ? Bgra{255, 0, 0, 255}
                              : name == "Clamp" ? Bgra{0, 0, 0, 255}
                                                : Bgra{left[0], left[0], left[0], 255};
        EXPECT_EQ(left, expected) << mode;
        if (name == "Wrap") {
            EXPECT_NEAR(left[0], 128, 2);
        }
        effect_->Release();
        effect_ = nullptr;
    }
}

TEST_F(EffectRender, ACubeMapIsSampledByDirection) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(device_->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
    const D3DCOLOR faces[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    for (int f = 0; f < 6; ++f)
        render_test::Fill(cube, static_cast<D3DCUBEMAP_FACES>(f), [&](UINT, UINT) { return faces[f]; });
    Make("textureCUBE sky;\nsamplerCUBE s = sampler_state { Texture = <sky>; };\nfloat3 direction;\n"
         "float4 PS() : COLOR0 { return texCUBE(s, direction); }\n"
         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    ASSERT_EQ(effect_->SetTexture("sky", cube), D3D_OK);
    const float directions[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int f = 0; f < 6; ++f) {
        ASSERT_EQ(effect_->SetFloatArray("direction", directions[f], 3), D3D_OK);
        const Bgra p = At(DrawEffectQuad(), 10, 10);
        EXPECT_EQ(p, ToBgra(faces[f])) << "face " << f;
    }
    effect_->Release();
    effect_ = nullptr;
    EXPECT_EQ(cube->Release(), 0u);
}

TEST_F(EffectRender, TheAlphaTestAppliesUnderAnEffectsPixelShader) {
    // Alpha 0.6 is written as 153 of 255. Every function has its table in the render tests.
    Make("float4 PS() : COLOR0 { return float4(0, 1, 0, 0.6); }\n"
         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    struct Case {
        BOOL enabled;
        D3DCMPFUNC func;
        DWORD reference;
        bool passes;
    };
    const Case cases[] = {
        {TRUE, D3DCMP_LESS, 154, true},     {TRUE, D3DCMP_LESS, 153, false}, {TRUE, D3DCMP_EQUAL, 153, true},
        {TRUE, D3DCMP_GREATER, 153, false}, {TRUE, D3DCMP_NEVER, 0, false},  {FALSE, D3DCMP_NEVER, 0, true},
    };
    for (const Case& c : cases) {
        SetStates(
            {{D3DRS_ALPHATESTENABLE, c.enabled}, {D3DRS_ALPHAFUNC, c.func}, {D3DRS_ALPHAREF, c.reference}});
        const Frame frame = DrawFrame([&] { DrawEffect([&] { DrawQuad(); }); }, 0xFF0000FF);
        const Bgra expected = c.passes ? Bgra{0, 255, 0, 255} : Bgra{255, 0, 0, 255};
        EXPECT_EQ(At(frame, 5, 5), expected) << c.enabled << " " << c.func << " " << c.reference;
    }
}

TEST_F(EffectRender, NullShadersReturnEachStageToTheFixedFunctionPipeline) {
    // The effect's vertex stage colours blue and its pixel stage writes green; the vertices are red.
    constexpr D3DCOLOR kRed = 0xFFFF0000;
    Make("struct VsOut { float4 pos : POSITION; float4 color : COLOR0; };\n"
         "VsOut VS(float4 pos : POSITION) { VsOut o; o.pos = pos; o.color = float4(0, 0, 1, 1); return o; }\n"
         "float4 PS() : COLOR0 { return float4(0, 1, 0, 1); }\n"
         "technique T { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } "
         "}\n");
    // Clip space with the default identity transforms, for both pipelines.
    const MeshVertex quad[6] = {{-1, -1, 0.5f, kRed}, {-1, 1, 0.5f, kRed}, {1, 1, 0.5f, kRed},
                                {-1, -1, 0.5f, kRed}, {1, 1, 0.5f, kRed},  {1, -1, 0.5f, kRed}};
    UseMeshVertices();
    // The pixel at (10, 10) of the quad drawn with whatever shaders are set.
    const auto draw = [&] { return At(DrawFrame([&] { DrawMesh(quad); }), 10, 10); };
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawEffect([] {}, D3DXFX_DONOTSAVESTATE); // leaves the effect's shaders set
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(draw(), (Bgra{0, 255, 0, 255}));

    IDirect3DPixelShader9* pixelShader = reinterpret_cast<IDirect3DPixelShader9*>(std::uintptr_t{1});
    EXPECT_EQ(device_->GetPixelShader(&pixelShader), D3DERR_INVALIDCALL); // no object to give
    EXPECT_EQ(pixelShader, nullptr);
    ASSERT_EQ(device_->SetPixelShader(nullptr), D3D_OK);
    EXPECT_EQ(device_->GetPixelShader(&pixelShader), D3D_OK);
    EXPECT_EQ(pixelShader, nullptr);
    EXPECT_EQ(draw(), (Bgra{255, 0, 0, 255})); // the effect's vertex colour, passed on

    ASSERT_EQ(device_->SetVertexShader(nullptr), D3D_OK);
    IDirect3DVertexShader9* vertexShader = reinterpret_cast<IDirect3DVertexShader9*>(std::uintptr_t{1});
    EXPECT_EQ(device_->GetVertexShader(&vertexShader), D3D_OK);
    EXPECT_EQ(vertexShader, nullptr);
    EXPECT_EQ(draw(), (Bgra{0, 0, 255, 255})); // the vertices' own colour
    EXPECT_EQ(device_->GetVertexShader(nullptr), D3DERR_INVALIDCALL);

    // Reset sets both shaders to null as well.
    DrawEffect([] {}, D3DXFX_DONOTSAVESTATE);
    D3DPRESENT_PARAMETERS pp = Parameters();
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    UseMeshVertices();
    EXPECT_EQ(draw(), (Bgra{0, 0, 255, 255}));
}

TEST_F(EffectRender, AUserClipPlaneCutsAShaderDrawnMesh) {
    Make(kMeshEffect);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    ASSERT_EQ(effect_->SetMatrix("matWorldViewProjection", &identity), D3D_OK);
    // A full-screen pair of triangles in clip space, cut by x >= 0 (clip space, as with shaders).
    constexpr D3DCOLOR kWhite = 0xFFFFFFFF;
    const MeshVertex quad[6] = {{-1, -1, 0.5f, kWhite}, {-1, 1, 0.5f, kWhite}, {1, 1, 0.5f, kWhite},
                                {-1, -1, 0.5f, kWhite}, {1, 1, 0.5f, kWhite},  {1, -1, 0.5f, kWhite}};
    const float plane[4] = {1, 0, 0, 0};
    ASSERT_EQ(device_->SetClipPlane(0, plane), D3D_OK);
    SetStates({{D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0}});
    ASSERT_EQ(device_->SetFVF(kMeshFvf), D3D_OK);
    const Frame frame = DrawFrame([&] { DrawEffect([&] { DrawMesh(quad); }); });
    for (unsigned y = 0; y < kSize; y += 5) {
        EXPECT_EQ(At(frame, 3, y), (Bgra{0, 0, 0, 255})) << y;
        EXPECT_EQ(At(frame, kSize - 3, y), (Bgra{255, 255, 255, 255})) << y;
    }
}

} // namespace
