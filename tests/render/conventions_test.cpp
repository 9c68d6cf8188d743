// Direct3D 9's rasterisation conventions through the device: pixel centres at integer
// coordinates with the top-left fill rule, row 0 at the top, clockwise triangles kept by default,
// and the argument checks of the user-pointer draws.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <algorithm>

namespace render_test {
namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000;
const Bgra kRedPixel{0, 0, 255, 255};
const Bgra kBlackPixel{0, 0, 0, 255};

const Exercises kExercised{
    {&D3DCAPS9::PrimitiveMiscCaps, D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW},
    {&D3DCAPS9::ShadeCaps,
     D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND},
    {&D3DCAPS9::RasterCaps, D3DPRASTERCAPS_COLORPERSPECTIVE},
    {&D3DCAPS9::TextureCaps, D3DPTEXTURECAPS_PERSPECTIVE}};

class ConventionsTest : public RenderTest {
  protected:
    void SetUp() override { CreateDevice(64, 48); }
};

TEST_F(ConventionsTest, RectanglesCoverThePixelsWhoseCentresTheyContain) {
    struct Case {
        float left, top, right, bottom;
        unsigned minX, minY, maxX, maxY;
    };
    // Integer edges: pixels left..right-1 (top-left rule); half-pixel edges round up.
    const Case cases[] = {{10, 10, 20, 20, 10, 10, 19, 19},
                          {10.5f, 10.5f, 20.5f, 20.5f, 11, 11, 20, 20},
                          {0, 0, 64, 48, 0, 0, 63, 47}};
    for (const Case& c : cases) {
        const Frame frame = DrawFrame([&] { DrawScreenRect(c.left, c.top, c.right, c.bottom, 0.5f, kRed); });
        std::size_t wrong = 0;
        for (unsigned y = 0; y < frame.height; ++y)
            for (unsigned x = 0; x < frame.width; ++x)
                wrong += (At(frame, x, y) == kRedPixel) !=
                         (x >= c.minX && x <= c.maxX && y >= c.minY && y <= c.maxY);
        EXPECT_EQ(wrong, 0u) << c.left;
    }
}

TEST_F(ConventionsTest, CounterClockwiseTrianglesAreCulledByDefault) {
    // Screen space, y down: (0,0) (40,0) (0,40) runs clockwise on screen.
    const ScreenVertex clockwise[3] = {{0, 0, 0.5f, 1, kRed}, {40, 0, 0.5f, 1, kRed}, {0, 40, 0.5f, 1, kRed}};
    const ScreenVertex counter[3] = {clockwise[0], clockwise[2], clockwise[1]};
    struct Case {
        DWORD cull;
        const ScreenVertex* vertices;
        bool drawn;
    };
    const Case cases[] = {{D3DCULL_CCW, clockwise, true},  {D3DCULL_CCW, counter, false},
                          {D3DCULL_CW, clockwise, false},  {D3DCULL_CW, counter, true},
                          {D3DCULL_NONE, clockwise, true}, {D3DCULL_NONE, counter, true}};
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    for (const Case& c : cases) {
        ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, c.cull), D3D_OK);
        const Frame frame = DrawFrame([&] {
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, c.vertices, sizeof(ScreenVertex)),
                      D3D_OK);
        });
        EXPECT_EQ(At(frame, 5, 5), c.drawn ? kRedPixel : kBlackPixel) << "cull mode " << c.cull;
    }
}

// With w 1 on the left and 4 on the right, an attribute at screen fraction s is p = (s / 4) / (1 - s
// + s / 4) of the way right. Diffuse alpha and specular green go 0 to 1, u over two texels, black and
// blue (linear, clamped); red stays 1, and all is blended by alpha over black.
TEST_F(ConventionsTest, AttributesInterpolateWithPerspective) {
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
        float u, v;
    };
    const std::array<Vertex, 4> quad{{{-0.5f, -0.5f, 0.5f, 1, 0x00FF0000, 0, 0, 0},
                                      {63.5f, -0.5f, 0.5f, 0.25f, 0xFFFF0000, 0xFF00FF00, 1, 0},
                                      {-0.5f, 47.5f, 0.5f, 1, 0x00FF0000, 0, 0, 1},
                                      {63.5f, 47.5f, 0.5f, 0.25f, 0xFFFF0000, 0xFF00FF00, 1, 1}}};
    IDirect3DTexture9* texture = Texture(2, 1, 1, 0, D3DFMT_A8R8G8B8);
    Fill(texture, 0, [](UINT x, UINT) { return x ? 0xFF0000FFu : 0xFF000000u; });
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR), D3D_OK);
    ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP), D3D_OK);
    SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_ADD}, {D3DTSS_ALPHAOP, D3DTOP_SELECTARG2}});
    SetStates({{D3DRS_SPECULARENABLE, TRUE},
               {D3DRS_ALPHABLENDENABLE, TRUE},
               {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
               {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}});
    const Frame frame =
        DrawFrame([&] { DrawStrip(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1, quad); });
    for (unsigned x = 0; x < 64; ++x) {
        const double s = (x + 0.5) / 64, p = s / 4 / (1 - s + s / 4);
        const Bgra pixel = At(frame, x, 8);
        EXPECT_NEAR(pixel[2], 255 * p, 2) << x;
        EXPECT_NEAR(pixel[1], 255 * p * p, 2) << x;
        EXPECT_NEAR(pixel[0], 255 * p * std::clamp(2 * p - 0.5, 0.0, 1.0), 2) << x;
    }
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(ConventionsTest, PrimitiveTypesMatchTheirGolden) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202020, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    const ScreenVertex points[3] = {
        {2, 2, 0, 1, 0xFFFFFFFF}, {4, 2, 0, 1, 0xFFFF0000}, {6, 2, 0, 1, 0xFF00FF00}};
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_POINTLIST, 3, points, sizeof(ScreenVertex)), D3D_OK);
    const ScreenVertex lines[4] = {{2, 6, 0, 1, 0xFFFF0000},
                                   {30, 6, 0, 1, 0xFF0000FF},
                                   {2, 8, 0, 1, 0xFF00FF00},
                                   {2, 30, 0, 1, 0xFFFFFF00}};
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_LINELIST, 2, lines, sizeof(ScreenVertex)), D3D_OK);
    const ScreenVertex strip[3] = {
        {6, 10, 0, 1, 0xFFFFFFFF}, {20, 24, 0, 1, 0xFFFF00FF}, {6, 24, 0, 1, 0xFF00FFFF}};
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_LINESTRIP, 2, strip, sizeof(ScreenVertex)), D3D_OK);
    const ScreenVertex fan[5] = {{48, 24, 0, 1, 0xFFFFFFFF},
                                 {40, 10, 0, 1, 0xFFFF0000},
                                 {60, 16, 0, 1, 0xFF00FF00},
                                 {60, 34, 0, 1, 0xFF0000FF},
                                 {40, 40, 0, 1, 0xFFFFFF00}};
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 3, fan, sizeof(ScreenVertex)), D3D_OK);
    // Flat shading takes each triangle's first vertex, a fan's second.
    ASSERT_EQ(device_->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT), D3D_OK);
    const ScreenVertex list[6] = {{22, 30, 0, 1, 0xFFFF0000}, {34, 30, 0, 1, 0xFF00FF00},
                                  {22, 46, 0, 1, 0xFF0000FF}, {24, 10, 0, 1, 0xFF00FF00},
                                  {36, 10, 0, 1, 0xFFFF0000}, {36, 26, 0, 1, 0xFF0000FF}};
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, list, sizeof(ScreenVertex)), D3D_OK);
    const WORD fanIndices[4] = {0, 1, 2, 3};
    const ScreenVertex flatFan[4] = {{8, 34, 0, 1, 0xFFFFFFFF},
                                     {8, 46, 0, 1, 0xFFFF00FF},
                                     {18, 46, 0, 1, 0xFF00FFFF},
                                     {18, 34, 0, 1, 0xFFFFFF00}};
    EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLEFAN, 0, 4, 2, fanIndices, D3DFMT_INDEX16, flatFan,
                                              sizeof(ScreenVertex)),
              D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 4, 2), kRedPixel);   // a point at integer coordinates lights that pixel
    EXPECT_EQ(At(frame, 26, 36), kRedPixel); // the first triangle is flat red
    EXPECT_EQ(At(frame, 10, 44), (Bgra{255, 0, 255, 255})); // the fan's first triangle takes vertex 1
    EXPECT_TRUE(MatchesGolden("primitive_types", frame, 2, 8));
}

TEST_F(ConventionsTest, UserPointerDrawsCheckTheirArguments) {
    const ScreenVertex tri[3] = {{0, 0, 0, 1, kRed}, {10, 0, 0, 1, kRed}, {0, 10, 0, 1, kRed}};
    const WORD indices[3] = {0, 1, 2};
    const WORD pastTheRange[3] = {0, 1, 3};
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    // Outside a scene Direct3D 9 refuses to draw.
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof(ScreenVertex)), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 0, tri, sizeof(ScreenVertex)), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, nullptr, sizeof(ScreenVertex)),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(9), 1, tri, sizeof(ScreenVertex)),
              D3DERR_INVALIDCALL);
    const auto indexed = [&](const WORD* list, D3DFORMAT format) {
        return device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, list, format, tri,
                                               sizeof(ScreenVertex));
    };
    EXPECT_EQ(indexed(pastTheRange, D3DFMT_INDEX16), D3DERR_INVALIDCALL);
    EXPECT_EQ(indexed(indices, D3DFMT_A8R8G8B8), D3DERR_INVALIDCALL);
    EXPECT_EQ(indexed(nullptr, D3DFMT_INDEX16), D3DERR_INVALIDCALL);
    // More vertices than the streaming buffer takes fail rather than overrun it.
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_POINTLIST, 0x7FFFFFF0u, tri, sizeof(ScreenVertex)),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetVertexDeclaration(nullptr), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof(ScreenVertex)), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
}

} // namespace
} // namespace render_test
