// The state setters and getters: Direct3D 9's documented defaults and the arguments it refuses.
#include "../resources/resource_fixture.h"

#include <d3dx9math.h>

#include <cstring>
#include <tuple>
#include <utility>

namespace {

using StateTest = ResourceFixture;

TEST_F(StateTest, StatesStartAtDirect3DsDefaults) {
    // ZENABLE is on because the presentation asked for a depth buffer; FOGEND is 1.0f.
    const std::pair<D3DRENDERSTATETYPE, DWORD> render[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},      {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_LIGHTING, TRUE},           {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_COLORWRITEENABLE, 0xF},    {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
        {D3DRS_FOGEND, 0x3F800000},       {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_CLIPPLANEENABLE, 0}};
    for (const auto& [state, value] : render)
        EXPECT_EQ(Render(state), value) << state;
    const std::tuple<DWORD, D3DTEXTURESTAGESTATETYPE, DWORD> stages[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
        {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
        {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
        {5, D3DTSS_TEXCOORDINDEX, 5},
        {3, D3DTSS_COLORARG1, D3DTA_TEXTURE}};
    for (const auto& [stage, type, value] : stages)
        EXPECT_EQ(Stage(stage, type), value) << stage << " " << type;
    EXPECT_EQ(Sampler(0, D3DSAMP_ADDRESSU), DWORD{D3DTADDRESS_WRAP});
    EXPECT_EQ(Sampler(15, D3DSAMP_MINFILTER), DWORD{D3DTEXF_POINT});
    EXPECT_EQ(Sampler(D3DVERTEXTEXTURESAMPLER0, D3DSAMP_MAXANISOTROPY), 1u);
    RECT scissor{};
    ASSERT_EQ(device_->GetScissorRect(&scissor), D3D_OK);
    EXPECT_EQ(std::make_pair(scissor.right, scissor.bottom),
              std::make_pair(LONG{kWindowWidth}, LONG{kWindowHeight}));
}

TEST_F(StateTest, StateSettersRefuseWhatDirect3DRefuses) {
    DWORD value = 7;
    EXPECT_EQ(device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(10), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(210), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetRenderState(static_cast<D3DRENDERSTATETYPE>(0x7FFFFFFF), &value),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(value, 0u); // cleared first
    EXPECT_EQ(device_->GetRenderState(D3DRS_LIGHTING, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_ADD), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(12), 0),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetSamplerState(16, D3DSAMP_MINFILTER, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetSamplerState(0, static_cast<D3DSAMPLERSTATETYPE>(14), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetSamplerState(0, D3DSAMP_MINFILTER, nullptr), D3DERR_INVALIDCALL);
    D3DMATRIX m{};
    EXPECT_EQ(device_->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(1), &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTransform(D3DTS_VIEW, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetTransform(D3DTS_PROJECTION, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetMaterial(nullptr), D3DERR_INVALIDCALL);
    float plane[4] = {};
    EXPECT_EQ(device_->SetClipPlane(6, plane), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetClipPlane(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetFVF(D3DFVF_XYZ | 0x2000), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetFVF(nullptr), D3DERR_INVALIDCALL);
    const RECT inverted{10, 10, 5, 5};
    EXPECT_EQ(device_->SetScissorRect(&inverted), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetScissorRect(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(StateTest, TransformsMultiplyAsDirect3DDoes) {
    D3DXMATRIX identity, got;
    D3DXMatrixIdentity(&identity);
    ASSERT_EQ(device_->GetTransform(D3DTS_TEXTURE7, &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &identity, sizeof got), 0);
    D3DXMATRIX scale, translate, expected;
    D3DXMatrixScaling(&scale, 2.0f, 3.0f, 4.0f);
    D3DXMatrixTranslation(&translate, 1.0f, 2.0f, 3.0f);
    ASSERT_EQ(device_->SetTransform(D3DTS_WORLD, &translate), D3D_OK);
    ASSERT_EQ(device_->MultiplyTransform(D3DTS_WORLD, &scale), D3D_OK);
    D3DXMatrixMultiply(&expected, &scale, &translate); // the argument first: scale, then translate
    ASSERT_EQ(device_->GetTransform(D3DTS_WORLD, &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0);
    ASSERT_EQ(device_->GetTransform(D3DTS_WORLDMATRIX(1), &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &identity, sizeof got), 0);
}

TEST_F(StateTest, LightsStartAsDirect3DsDefaultLightAndEightAtOnce) {
    D3DLIGHT9 light{};
    BOOL enabled = TRUE;
    EXPECT_EQ(device_->GetLight(0, &light), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetLightEnable(3, &enabled), D3DERR_INVALIDCALL);
    // Enabling a light never set gives it Direct3D's default light.
    ASSERT_EQ(device_->LightEnable(3, TRUE), D3D_OK);
    ASSERT_EQ(device_->GetLight(3, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_EQ(light.Direction.z, 1.0f);
    ASSERT_EQ(device_->GetLightEnable(3, &enabled), D3D_OK);
    EXPECT_TRUE(enabled);
    // The inner cone (Theta 1) wider than the outer (Phi 0.5).
    D3DLIGHT9 spot{D3DLIGHT_SPOT, {}, {}, {}, {}, {}, 10.0f, 0, 0, 0, 0, 1.0f, 0.5f};
    EXPECT_EQ(device_->SetLight(1, &spot), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetLight(1, nullptr), D3DERR_INVALIDCALL);
    spot.Phi = 1.5f;
    ASSERT_EQ(device_->SetLight(1, &spot), D3D_OK);
    // Eight lights at once, no more.
    for (DWORD i = 10; i < 17; ++i)
        ASSERT_EQ(device_->LightEnable(i, TRUE), D3D_OK);
    EXPECT_EQ(device_->LightEnable(20, TRUE), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->LightEnable(3, FALSE), D3D_OK);
    EXPECT_EQ(device_->LightEnable(20, TRUE), D3D_OK);
}

} // namespace
