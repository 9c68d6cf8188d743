// Effects drawing through the device, checked pixel by pixel: a pixel-shader-only negative that is
// exactly 255 - c before and after a device reset, a cube map sampled by direction, the alpha test
// under a pixel shader, null shaders returning to the fixed-function pipeline and a user clip plane
// cutting a shader-drawn mesh.
#include "effect_render_fixture.h"

#include <string>

namespace {

using render_test::Bgra;
using render_test::Frame;

struct MeshVertex { // D3DFVF_XYZ | D3DFVF_DIFFUSE
    float x, y, z;
    D3DCOLOR color;
};

class EffectRender : public EffectRenderTest {
  protected:
    // The whole target as two triangles in clip space, in one colour, drawn with the shaders set.
    Frame DrawColouredQuad(D3DCOLOR colour) {
        const MeshVertex quad[6] = {{-1, -1, 0.5f, colour}, {-1, 1, 0.5f, colour}, {1, 1, 0.5f, colour},
                                    {-1, -1, 0.5f, colour}, {1, 1, 0.5f, colour},  {1, -1, 0.5f, colour}};
        SetStates({{D3DRS_LIGHTING, FALSE}, {D3DRS_CULLMODE, D3DCULL_NONE}});
        EXPECT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
        return DrawFrame([&] { device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(MeshVertex)); });
    }
    // A screen quad whose texel centres fall on pixel centres (Direct3D 9's half-pixel offset).
    Frame DrawEffectQuad() {
        return DrawFrame([&] {
            Passes(effect_, [&] { DrawTexturedRect(-0.5f, -0.5f, kSize - 0.5f, kSize - 0.5f, 0, 0, 1, 1); });
        });
    }
};

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

// Alpha 0.6 is written as 153 of 255. Every function has its table in the render tests.
TEST_F(EffectRender, TheAlphaTestAppliesUnderAnEffectsPixelShader) {
    effect_ = Make("float4 PS() : COLOR0 { return float4(0, 1, 0, 0.6); }\n"
                   "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    const struct {
        BOOL enabled;
        DWORD reference;
        Bgra expected;
    } cases[] = {
        {TRUE, 154, {0, 255, 0, 255}}, {TRUE, 153, {255, 0, 0, 255}}, {FALSE, 153, {0, 255, 0, 255}}};
    for (const auto& c : cases) {
        SetStates({{D3DRS_ALPHATESTENABLE, c.enabled},
                   {D3DRS_ALPHAFUNC, D3DCMP_LESS},
                   {D3DRS_ALPHAREF, c.reference}});
        const Frame frame = DrawFrame([&] { Passes(effect_, [&] { DrawClipQuad(); }); }, 0xFF0000FF);
        EXPECT_EQ(At(frame, 5, 5), c.expected) << c.enabled << " " << c.reference;
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
    DrawFrame([&] {
        Passes(
            effect_, [] {}, D3DXFX_DONOTSAVESTATE);
    }); // leaves the effect's shaders set
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
    DrawFrame([&] {
        Passes(
            effect_, [] {}, D3DXFX_DONOTSAVESTATE);
    });
    D3DPRESENT_PARAMETERS pp = Parameters();
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    EXPECT_EQ(draw(), (Bgra{0, 0, 255, 255}));
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
    DrawFrame([&] {
        Passes(
            effect_, [] {}, D3DXFX_DONOTSAVESTATE);
    });
    const Frame frame = DrawColouredQuad(0xFFFFFFFF);
    for (unsigned y = 0; y < kSize; y += 5) {
        EXPECT_EQ(At(frame, 3, y), (Bgra{0, 0, 0, 255})) << y;
        EXPECT_EQ(At(frame, kSize - 3, y), (Bgra{255, 255, 255, 255})) << y;
    }
}

} // namespace
