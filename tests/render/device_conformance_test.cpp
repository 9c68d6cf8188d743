// Behaviour Direct3D 9 fixes where GL's defaults differ: the orthogonal viewer's specular term, index
// 0xFFFF as an ordinary index, depth bias in depth units for every depth format and the widened empty
// depth range.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <d3dx9math.h>

#include <cstring>
#include <vector>

namespace render_test {
namespace {

const Exercises kExercised{
    {&D3DCAPS9::RasterCaps, D3DPRASTERCAPS_DEPTHBIAS | D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS},
    {&D3DCAPS9::VertexProcessingCaps,
     D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER}};

class DeviceConformanceTest : public RenderTest {
  protected:
    void SetUp() override { CreateDevice(16, 16); }
};

DWORD Bits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct LitVertex { // D3DFVF_XYZ | D3DFVF_NORMAL
    float x, y, z, nx, ny, nz;
};

// A quad facing the camera under identity transforms, lit by a directional light from the right
// front: toward the light L = (0.6, 0, -0.8), N = (0, 0, -1). With D3DRS_LOCALVIEWER FALSE the view
// vector is the camera's axis toward the viewer, (0, 0, -1): H = norm(0.6, 0, -1.8), N.H = 0.9487,
// and (N.H)^2 = 0.9 of the light's specular colour.
TEST_F(DeviceConformanceTest, OrthogonalViewerSpecular) {
    const LitVertex quad[4] = {
        {-1, 1, 0.5f, 0, 0, -1}, {1, 1, 0.5f, 0, 0, -1}, {-1, -1, 0.5f, 0, 0, -1}, {1, -1, 0.5f, 0, 0, -1}};
    D3DMATERIAL9 material{};
    material.Specular = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    material.Power = 2.0f;
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Specular = D3DCOLORVALUE{1.0f, 0.5f, 0.0f, 1.0f};
    light.Direction = D3DVECTOR{-0.6f, 0.0f, 0.8f};
    ASSERT_EQ(device_->SetMaterial(&material), D3D_OK);
    ASSERT_EQ(device_->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(device_->LightEnable(0, TRUE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SPECULARENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_LOCALVIEWER, FALSE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(LitVertex)), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const Bgra centre = At(ReadFrame(), 8, 8);
    EXPECT_NEAR(centre[2], 0.9 * 255, 2);
    EXPECT_NEAR(centre[1], 0.45 * 255, 2);
    EXPECT_EQ(centre[0], 0);
    // A local viewer at the origin: (N.H)^2 is 0.741 at the vertex (1, 1) and 0.385 at (-1, -1), the
    // centre on their diagonal their mean.
    ASSERT_EQ(device_->SetRenderState(D3DRS_LOCALVIEWER, TRUE), D3D_OK);
    const auto draw = [&] {
        return At(DrawFrame([&] {
                      ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(LitVertex)),
                                D3D_OK);
                  }),
                  8, 8);
    };
    EXPECT_NEAR(draw()[2], 0.563 * 255, 2);
    // A point light at the origin: N.L is 0.5 / 1.5 at every corner (+-1, +-1, 0.5) of the quad.
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    light.Range = 10.0f;
    light.Attenuation0 = 1.0f;
    material.Diffuse = D3DCOLORVALUE{1.0f, 0.5f, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetMaterial(&material), D3D_OK);
    ASSERT_EQ(device_->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SPECULARENABLE, FALSE), D3D_OK);
    const Bgra lit = draw();
    EXPECT_NEAR(lit[2], 255 / 3.0, 2);
    EXPECT_NEAR(lit[1], 255 / 6.0, 2);
}

// Direct3D 9 has no primitive restart: a strip through index 0xFFFF is one strip of two triangles.
TEST_F(DeviceConformanceTest, StripThroughIndexFFFF) {
    // Vertex i of the caller's array is index i: the four used are the last ones 16-bit indices reach.
    std::vector<ScreenVertex> vertices(0x10000);
    vertices[0xFFFC] = {0, 0, 0.5f, 1, 0xFF00FF00};
    vertices[0xFFFD] = {16, 0, 0.5f, 1, 0xFF00FF00};
    vertices[0xFFFE] = {16, 16, 0.5f, 1, 0xFF00FF00};
    vertices[0xFFFF] = {0, 16, 0.5f, 1, 0xFF00FF00};
    const WORD indices[4] = {0xFFFC, 0xFFFD, 0xFFFF, 0xFFFE};
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLESTRIP, 0xFFFC, 4, 2, indices, D3DFMT_INDEX16,
                                              vertices.data(), sizeof(ScreenVertex)),
              D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 2, 2), (Bgra{0, 0xFF, 0, 0xFF}));
    EXPECT_EQ(At(frame, 13, 13), (Bgra{0, 0xFF, 0, 0xFF}));
}

// Depth bias is added to the depth value in 0..1 units whatever the format: a quad at z 0.25 biased
// by 0.25 stores 0.5, so a probe at 0.49 passes LESSEQUAL in column 0 and one at 0.51 fails in column
// 1. SLOPESCALEDEPTHBIAS 1 on a quad whose depth is 0.25 + x/64 at pixel x adds the slope 1/64:
// column 0 stores 0.25 + 1/64 (a probe at 0.25 + 0.75/64 passes), column 1 stores 0.25 + 2/64 (a probe
// at 0.25 + 2.25/64 fails).
TEST_F(DeviceConformanceTest, DepthBiasInDepthUnitsPerFormat) {
    struct Case {
        float bias, slope, passes, fails; // the probes' depths in columns 0 and 1
    };
    const Case cases[] = {{0.25f, 0.0f, 0.49f, 0.51f}, {0.0f, 1.0f, 0.25f + 0.75f / 64, 0.25f + 2.25f / 64}};
    for (D3DFORMAT format : {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32}) {
        IDirect3DSurface9* depth = nullptr;
        ASSERT_EQ(
            device_->CreateDepthStencilSurface(16, 16, format, D3DMULTISAMPLE_NONE, 0, TRUE, &depth, nullptr),
            D3D_OK);
        ASSERT_EQ(device_->SetDepthStencilSurface(depth), D3D_OK);
        for (const Case& c : cases) {
            ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0),
                      D3D_OK);
            ASSERT_EQ(device_->BeginScene(), D3D_OK);
            ASSERT_EQ(device_->SetRenderState(D3DRS_DEPTHBIAS, Bits(c.bias)), D3D_OK);
            ASSERT_EQ(device_->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, Bits(c.slope)), D3D_OK);
            // Depth 0.25 + x/64 at pixel x when sloped (the left edge at x = 0 is the pixel centre).
            const float right = c.slope != 0.0f ? 0.25f + 16.0f / 64 : 0.25f;
            const ScreenVertex quad[4] = {{0, 0, 0.25f, 1, 0xFFFF0000},
                                          {16, 0, right, 1, 0xFFFF0000},
                                          {0, 16, 0.25f, 1, 0xFFFF0000},
                                          {16, 16, right, 1, 0xFFFF0000}};
            ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex)), D3D_OK);
            ASSERT_EQ(device_->SetRenderState(D3DRS_DEPTHBIAS, 0), D3D_OK);
            ASSERT_EQ(device_->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, 0), D3D_OK);
            DrawScreenRect(0, 0, 1, 16, c.passes, 0xFF00FF00);
            DrawScreenRect(1, 0, 2, 16, c.fails, 0xFF00FF00);
            ASSERT_EQ(device_->EndScene(), D3D_OK);
            const Frame frame = ReadFrame();
            EXPECT_EQ(At(frame, 0, 8), (Bgra{0, 0xFF, 0, 0xFF}))
                << "format " << format << " slope " << c.slope;
            EXPECT_EQ(At(frame, 1, 8), (Bgra{0, 0, 0xFF, 0xFF}))
                << "format " << format << " slope " << c.slope;
        }
        ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
        depth->Release();
    }
}

// An empty depth range (MinZ = MaxZ = 0.5) is drawn over 0.5..0.501, as Windows' runtime widens it to
// MinZ + 0.001 (Wine too): against depth 0.5005, a quad at z 0 (0.5) passes LESS, one at z 0.6
// (0.5006) fails.
TEST_F(DeviceConformanceTest, AnEmptyDepthRangeIsWidened) {
    struct Vertex { // D3DFVF_XYZ | D3DFVF_DIFFUSE, under identity transforms
        float x, y, z;
        D3DCOLOR colour;
    };
    const D3DVIEWPORT9 flat{0, 0, 16, 16, 0.5f, 0.5f};
    ASSERT_EQ(device_->SetViewport(&flat), D3D_OK);
    SetStates({{D3DRS_ZFUNC, D3DCMP_LESS}, {D3DRS_LIGHTING, FALSE}});
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 0.5005f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    for (const float z : {0.0f, 0.6f}) {
        const float left = z == 0.0f ? -1.0f : 0.0f;
        const Vertex quad[4] = {{left, 1, z, 0xFF00FF00},
                                {left + 1, 1, z, 0xFF00FF00},
                                {left, -1, z, 0xFF00FF00},
                                {left + 1, -1, z, 0xFF00FF00}};
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    }
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 4, 8), (Bgra{0, 0xFF, 0, 0xFF}));
    EXPECT_EQ(At(frame, 12, 8), (Bgra{0xFF, 0, 0, 0xFF}));
}

// The levels of an autogen texture follow level 0 however it changes: a 16x16 texture drawn onto
// 2x2 pixels samples its 2x2 level, and shows each colour level 0 was last cleared or drawn to.
TEST_F(DeviceConformanceTest, AutogenLevelsFollowClearsAndDraws) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(16, 16, 0, D3DUSAGE_RENDERTARGET | D3DUSAGE_AUTOGENMIPMAP,
                                     D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    IDirect3DSurface9 *level0 = nullptr, *backBuffer = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level0), D3D_OK);
    ASSERT_EQ(device_->GetRenderTarget(0, &backBuffer), D3D_OK);
    ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT), D3D_OK);
    struct Vertex {
        float x, y, z, rhw, u, v;
    };
    const Vertex small[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                             {1.5f, -0.5f, 0, 1, 1, 0},
                             {-0.5f, 1.5f, 0, 1, 0, 1},
                             {1.5f, 1.5f, 0, 1, 1, 1}};
    for (D3DCOLOR colour : {0xFF00FF00u, 0xFF0000FFu, 0xFFFF0000u}) {
        ASSERT_EQ(device_->SetRenderTarget(0, level0), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        if (colour == 0xFFFF0000u)
            DrawScreenRect(0, 0, 16, 16, 0.0f, colour);
        else
            ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->SetRenderTarget(0, backBuffer), D3D_OK);
        ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
        ASSERT_EQ(device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, small, sizeof(Vertex)), D3D_OK);
        ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        const Bgra expected{static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                            static_cast<std::uint8_t>(colour >> 16), 0xFF};
        EXPECT_EQ(At(ReadFrame(), 1, 1), expected) << std::hex << colour;
    }
    level0->Release();
    backBuffer->Release();
    texture->Release();
}

// sRGB: a texel of 128 decodes to 255 * ((128/255 + 0.055) / 1.055)^2.4 = 55.04, and 55 written
// encodes to 255 * (1.055 * (55/255)^(1/2.4) - 0.055) = 127.96, for draws and clears alike.
TEST_F(DeviceConformanceTest, SrgbSamplingAndWriting) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<DWORD*>(locked.pBits) = 0xFF808080;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    struct Vertex {
        float x, y, z, rhw, u, v;
    };
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {15.5f, -0.5f, 0, 1, 1, 0},
                            {-0.5f, 15.5f, 0, 1, 0, 1},
                            {15.5f, 15.5f, 0, 1, 1, 1}};
    struct Case {
        DWORD srgbTexture, srgbWrite;
        bool clear; // a clear to 55 instead of the textured draw
        std::uint8_t expected;
    };
    const Case cases[] = {{FALSE, FALSE, false, 128},
                          {TRUE, FALSE, false, 55},
                          {TRUE, TRUE, false, 128},
                          {FALSE, TRUE, true, 128},
                          {FALSE, FALSE, true, 55}};
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1), D3D_OK);
    for (const Case& c : cases) {
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, c.srgbTexture), D3D_OK);
        ASSERT_EQ(device_->SetRenderState(D3DRS_SRGBWRITEENABLE, c.srgbWrite), D3D_OK);
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF373737, 1.0f, 0), D3D_OK);
        if (!c.clear) {
            ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
            ASSERT_EQ(device_->BeginScene(), D3D_OK);
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
            ASSERT_EQ(device_->EndScene(), D3D_OK);
        }
        const Bgra pixel = At(ReadFrame(), 8, 8);
        EXPECT_NEAR(pixel[1], c.expected, 1) << c.srgbTexture << c.srgbWrite << c.clear;
    }
    ASSERT_EQ(device_->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE), D3D_OK);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    texture->Release();
}

} // namespace
} // namespace render_test
