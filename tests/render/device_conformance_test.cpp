// Behaviour Direct3D 9 fixes where GL's defaults differ: the orthogonal viewer's specular term, index
// 0xFFFF as an ordinary index, depth bias in depth units for every depth format, the widened empty
// depth range, autogen levels, sRGB, clipped pre-transformed vertices and drawing through vertex
// declarations.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <vector>

namespace render_test {
namespace {

const Exercises kExercised{
    {&D3DCAPS9::RasterCaps, D3DPRASTERCAPS_DEPTHBIAS | D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS},
    {&D3DCAPS9::PrimitiveMiscCaps, D3DPMISCCAPS_CLIPTLVERTS},
    {&D3DCAPS9::VertexProcessingCaps,
     D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER}};

constexpr D3DCOLOR kGreen = 0xFF00FF00, kRed = 0xFFFF0000;
const Bgra kGreenPixel{0, 0xFF, 0, 0xFF};

class DeviceConformanceTest : public RenderTest {
  protected:
    void SetUp() override { CreateDevice(16, 16); }

    // A full-target quad at depth 0 textured from (0, 0) to (1, 1) onto width x width pixels.
    void DrawTextured(float width) {
        DrawStrip(kTexturedFvf, Quad<TexturedVertex>(-0.5f, -0.5f, width - 0.5f, width - 0.5f,
                                                     [](float x, float y, float s, float t) {
                                                         return TexturedVertex{x, y, 0, 1, s, t};
                                                     }));
    }
};

struct LitVertex { // D3DFVF_XYZ | D3DFVF_NORMAL
    float x, y, z, nx, ny, nz;
};

// Lighting: a quad facing the camera under identity transforms, lit by a directional light from the right
// front: toward the light L = (0.6, 0, -0.8), N = (0, 0, -1). With D3DRS_LOCALVIEWER FALSE the view
// vector is the camera's axis toward the viewer, (0, 0, -1): H = norm(0.6, 0, -1.8), N.H = 0.9487,
// and (N.H)^2 = 0.9 of the light's specular colour; the diffuse term in blue is N.L = 0.8.
TEST_F(DeviceConformanceTest, LightingWithTheOrthogonalViewer) {
    const auto quad = Quad<LitVertex>(
        -1, 1, 1, -1, [](float x, float y, float, float) { return LitVertex{x, y, 0.5f, 0, 0, -1}; });
    D3DMATERIAL9 material{{0, 0, 1, 1}, {}, {1, 1, 1, 1}, {}, 2.0f}; // diffuse, ambient, specular
    D3DLIGHT9 light{
        D3DLIGHT_DIRECTIONAL, {1, 1, 1, 1}, {1, 0.5f, 0, 1}, {}, {}, {-0.6f, 0, 0.8f}, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(device_->SetMaterial(&material), D3D_OK);
    ASSERT_EQ(device_->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(device_->LightEnable(0, TRUE), D3D_OK);
    SetStates({{D3DRS_SPECULARENABLE, TRUE}, {D3DRS_LOCALVIEWER, FALSE}});
    const auto centre = [&] {
        return At(DrawFrame([&] { DrawStrip(D3DFVF_XYZ | D3DFVF_NORMAL, quad); }), 8, 8);
    };
    const Bgra orthogonal = centre();
    EXPECT_NEAR(orthogonal[2], 0.9 * 255, 2);
    EXPECT_NEAR(orthogonal[1], 0.45 * 255, 2);
    EXPECT_NEAR(orthogonal[0], 0.8 * 255, 2);
    // A local viewer at the origin: (N.H)^2 is 0.741 at the vertex (1, 1) and 0.385 at (-1, -1), the
    // centre on their diagonal their mean.
    SetStates({{D3DRS_LOCALVIEWER, TRUE}});
    EXPECT_NEAR(centre()[2], 0.563 * 255, 2);
    // A point light at the origin: N.L is 0.5 / 1.5 at every corner (+-1, +-1, 0.5) of the quad; the
    // ambient light 0x20 adds to it.
    light = D3DLIGHT9{D3DLIGHT_POINT, {1, 1, 1, 1}, {1, 0.5f, 0, 1}, {}, {}, {}, 10.0f, 0, 1.0f, 0, 0, 0, 0};
    material = D3DMATERIAL9{{1, 0.5f, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {}, 2.0f};
    ASSERT_EQ(device_->SetMaterial(&material), D3D_OK);
    ASSERT_EQ(device_->SetLight(0, &light), D3D_OK);
    SetStates({{D3DRS_SPECULARENABLE, FALSE}, {D3DRS_AMBIENT, 0x00202020}});
    const Bgra lit = centre();
    EXPECT_NEAR(lit[2], 255 / 3.0 + 0x20, 2);
    EXPECT_NEAR(lit[1], 255 / 6.0 + 0x20, 2);
    EXPECT_NEAR(lit[0], 0x20, 2);
}

// Direct3D 9 has no primitive restart: a strip through index 0xFFFF is one strip of two triangles.
TEST_F(DeviceConformanceTest, StripThroughIndexFFFF) {
    // Vertex i of the caller's array is index i: the four used are the last ones 16-bit indices reach.
    std::vector<ScreenVertex> vertices(0x10000);
    vertices[0xFFFC] = {0, 0, 0.5f, 1, kGreen};
    vertices[0xFFFD] = {16, 0, 0.5f, 1, kGreen};
    vertices[0xFFFE] = {16, 16, 0.5f, 1, kGreen};
    vertices[0xFFFF] = {0, 16, 0.5f, 1, kGreen};
    const WORD indices[4] = {0xFFFC, 0xFFFD, 0xFFFF, 0xFFFE};
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    const Frame frame = DrawFrame([&] {
        ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLESTRIP, 0xFFFC, 4, 2, indices, D3DFMT_INDEX16,
                                                  vertices.data(), sizeof(ScreenVertex)),
                  D3D_OK);
    });
    EXPECT_EQ(At(frame, 2, 2), kGreenPixel);
    EXPECT_EQ(At(frame, 13, 13), kGreenPixel);
}

// Depth bias is added to the stored depth in 0..1 units whatever the format and the viewport's depth
// range (screen-space z is stored as it is): under a viewport of depth 0..0.5, a quad at z 0.25 biased
// by 0.2 stores 0.45, so a probe at 0.44 passes LESSEQUAL in column 0 and one at 0.46 fails in column
// 1. SLOPESCALEDEPTHBIAS 1 on a quad whose depth is 0.25 + x/64 at pixel x adds the slope 1/64: column
// 0 stores 0.25 + 1/64 (a probe at 0.25 + 0.75/64 passes), column 1 stores 0.25 + 2/64 (a probe at
// 0.25 + 2.25/64 fails).
TEST_F(DeviceConformanceTest, DepthBiasInDepthUnitsPerFormat) {
    struct Case {
        float bias, slope, passes, fails; // the probes' depths in columns 0 and 1
    };
    const Case cases[] = {{0.2f, 0.0f, 0.44f, 0.46f}, {0.0f, 1.0f, 0.25f + 0.75f / 64, 0.25f + 2.25f / 64}};
    const D3DVIEWPORT9 halfDepth{0, 0, 16, 16, 0.0f, 0.5f};
    ASSERT_EQ(device_->SetViewport(&halfDepth), D3D_OK);
    for (D3DFORMAT format : {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32}) {
        IDirect3DSurface9* depth = nullptr;
        ASSERT_EQ(
            device_->CreateDepthStencilSurface(16, 16, format, D3DMULTISAMPLE_NONE, 0, TRUE, &depth, nullptr),
            D3D_OK);
        ASSERT_EQ(device_->SetDepthStencilSurface(depth), D3D_OK);
        for (const Case& c : cases) {
            const Frame frame = DrawFrame([&] {
                SetStates(
                    {{D3DRS_DEPTHBIAS, FloatBits(c.bias)}, {D3DRS_SLOPESCALEDEPTHBIAS, FloatBits(c.slope)}});
                // Depth 0.25 + x/64 at pixel x when sloped (the left edge at x = 0 is the pixel centre).
                DrawStrip(kScreenFvf, Quad<ScreenVertex>(0, 0, 16, 16, [&](float x, float y, float s, float) {
                              return ScreenVertex{x, y, 0.25f + s * c.slope / 4, 1, kRed};
                          }));
                SetStates({{D3DRS_DEPTHBIAS, 0}, {D3DRS_SLOPESCALEDEPTHBIAS, 0}});
                DrawScreenRect(0, 0, 1, 16, c.passes, kGreen);
                DrawScreenRect(1, 0, 2, 16, c.fails, kGreen);
            });
            EXPECT_EQ(At(frame, 0, 8), kGreenPixel) << "format " << format << " slope " << c.slope;
            EXPECT_EQ(At(frame, 1, 8), ToBgra(kRed)) << "format " << format << " slope " << c.slope;
        }
        ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
        depth->Release();
    }
}

// Pre-transformed vertices are clipped (D3DPMISCCAPS_CLIPTLVERTS): to the viewport, (4, 4) to (12, 12)
// here, and to depth 0..1, with the depth test off: a quad over the whole target colours only the
// viewport, and one at z 1.5 nothing.
TEST_F(DeviceConformanceTest, PreTransformedVerticesAreClipped) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    const D3DVIEWPORT9 inner{4, 4, 8, 8, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&inner), D3D_OK);
    SetStates({{D3DRS_ZENABLE, D3DZB_FALSE}});
    Scene([&] {
        DrawScreenRect(-0.5f, -0.5f, 15.5f, 15.5f, 0.5f, kGreen);
        DrawScreenRect(-0.5f, -0.5f, 15.5f, 15.5f, 1.5f, 0xFF0000FF);
    });
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 8, 8), kGreenPixel);
    EXPECT_EQ(At(frame, 3, 8), ToBgra(kRed));
    EXPECT_EQ(At(frame, 12, 12), ToBgra(kRed));
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
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 0.5005f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    for (const float z : {0.0f, 0.6f}) {
        const float left = z == 0.0f ? -1.0f : 0.0f;
        DrawStrip(D3DFVF_XYZ | D3DFVF_DIFFUSE,
                  Quad<Vertex>(left, 1, left + 1, -1, [&](float x, float y, float, float) {
                      return Vertex{x, y, z, kGreen};
                  }));
    }
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 4, 8), kGreenPixel);
    EXPECT_EQ(At(frame, 12, 8), (Bgra{0xFF, 0, 0, 0xFF}));
}

// The levels of an autogen texture follow level 0 however it changes: a 16x16 texture drawn onto
// 2x2 pixels samples its 2x2 level, and shows each colour level 0 was last cleared or drawn to.
TEST_F(DeviceConformanceTest, AutogenLevelsFollowClearsAndDraws) {
    IDirect3DTexture9* texture =
        Texture(16, 16, 0, D3DUSAGE_RENDERTARGET | D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9 *level0 = nullptr, *backBuffer = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level0), D3D_OK);
    ASSERT_EQ(device_->GetRenderTarget(0, &backBuffer), D3D_OK);
    ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT), D3D_OK);
    for (D3DCOLOR colour : {kGreen, 0xFF0000FFu, kRed}) {
        ASSERT_EQ(device_->SetRenderTarget(0, level0), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        if (colour == kRed)
            DrawScreenRect(0, 0, 16, 16, 0.0f, colour);
        else
            ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->SetRenderTarget(0, backBuffer), D3D_OK);
        ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
        DrawTextured(2);
        ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        EXPECT_EQ(At(ReadFrame(), 1, 1), ToBgra(colour)) << std::hex << colour;
    }
    level0->Release();
    backBuffer->Release();
    texture->Release();
}

// sRGB: a texel of 128 decodes to 255 * ((128/255 + 0.055) / 1.055)^2.4 = 55.04, and 55 written
// encodes to 255 * (1.055 * (55/255)^(1/2.4) - 0.055) = 127.96, for draws and clears alike.
TEST_F(DeviceConformanceTest, SrgbSamplingAndWriting) {
    IDirect3DTexture9* texture = Texture(1, 1, 1, 0, D3DFMT_A8R8G8B8);
    Fill(texture, 0, [](UINT, UINT) { return 0xFF808080u; });
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
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    for (const Case& c : cases) {
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, c.srgbTexture), D3D_OK);
        SetStates({{D3DRS_SRGBWRITEENABLE, c.srgbWrite}});
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF373737, 1.0f, 0), D3D_OK);
        if (!c.clear)
            Scene([&] { DrawTextured(16); });
        EXPECT_NEAR(At(ReadFrame(), 8, 8)[1], c.expected, 1) << c.srgbTexture << c.srgbWrite << c.clear;
    }
    SetStates({{D3DRS_SRGBWRITEENABLE, FALSE}});
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    texture->Release();
}

// A declaration draws what its FVF equivalent draws, pixel for pixel; formats no FVF has draw their
// worked-out colour: UBYTE4N reads its bytes as red, green, blue, alpha (D3DCOLOR as blue, green, red,
// alpha), SHORT2N 0x4040 is 16448 / 32767 = 0.50197 of 255 = 128, and a second stream feeds colours.
TEST_F(DeviceConformanceTest, DeclarationsDrawAsTheirFvf) {
    using Element = D3DVERTEXELEMENT9;
    const auto at = [](WORD offset, BYTE type, BYTE usage) { return Element{0, offset, type, 0, usage, 0}; };
    struct Case {
        DWORD fvf;           // 0: none
        Element elements[4]; // a POSITION's x, y, z is under identity transforms, POSITIONT's in pixels
        DWORD tail[2];       // the words after the position
        Bgra expected;
    };
    const Element end = D3DDECL_END(), positionT = at(0, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT);
    const Case cases[] = {
        {kScreenFvf,
         {positionT, at(16, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR), end},
         {kGreen},
         kGreenPixel},
        {D3DFVF_XYZB1 | D3DFVF_DIFFUSE,
         {at(0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION),
          at(12, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_BLENDWEIGHT),
          at(16, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR), end},
         {FloatBits(0.5f), 0xFF0000FF},
         {0xFF, 0, 0, 0xFF}},
        {0,
         {positionT, at(16, D3DDECLTYPE_UBYTE4N, D3DDECLUSAGE_COLOR), end},
         {0xFFC08040},
         {0xC0, 0x80, 0x40, 0xFF}},
        {0,
         {positionT, at(16, D3DDECLTYPE_SHORT2N, D3DDECLUSAGE_COLOR), end},
         {0x7FFF4040},
         {0, 0xFF, 128, 0xFF}},
    };
    SetStates({{D3DRS_LIGHTING, FALSE}});
    for (const Case& c : cases) {
        const bool transformed = c.elements[0].Usage == D3DDECLUSAGE_POSITION;
        std::array<std::array<DWORD, 6>, 4> strip{};
        for (int i = 0; i < 4; ++i) {
            const float x = i & 1 ? 1.0f : -1.0f, y = i & 2 ? -1.0f : 1.0f;
            const float position[4] = {transformed ? x : (x + 1) * 8 - 0.5f,
                                       transformed ? y : (1 - y) * 8 - 0.5f, 0.5f, 1.0f};
            std::memcpy(strip[i].data(), position, sizeof position);
            std::memcpy(&strip[i][transformed ? 3 : 4], c.tail, sizeof c.tail);
        }
        IDirect3DVertexDeclaration9* declaration = nullptr;
        ASSERT_EQ(device_->CreateVertexDeclaration(c.elements, &declaration), D3D_OK);
        const Frame declared = DrawFrame([&] {
            ASSERT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip.data(), sizeof strip[0]),
                      D3D_OK);
        });
        EXPECT_EQ(At(declared, 8, 8), c.expected) << c.fvf;
        if (c.fvf) {
            EXPECT_EQ(DrawFrame([&] { DrawStrip(c.fvf, strip); }).bgra, declared.bgra) << c.fvf;
        }
        declaration->Release();
    }
    // One buffer: positions from byte 0 for stream 0, a red and four greens from byte 64 for stream 1
    // (from 68). User-pointer draws have no stream 1; a stride of 8 would read past the colours.
    const float positions[4][4] = {
        {-0.5f, -0.5f, 0, 1}, {15.5f, -0.5f, 0, 1}, {-0.5f, 15.5f, 0, 1}, {15.5f, 15.5f, 0, 1}};
    const D3DCOLOR colours[5] = {kRed, kGreen, kGreen, kGreen, kGreen};
    const Element split[] = {positionT, {1, 0, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}, end};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexBuffer9* buffer = nullptr;
    void* data = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(split, &declaration), D3D_OK);
    ASSERT_EQ(device_->CreateVertexBuffer(84, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, positions, 64);
    std::memcpy(static_cast<char*>(data) + 64, colours, 20);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, 16), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(1, buffer, 68, 8), D3D_OK);
    const Frame frame = DrawFrame([&] {
        EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, positions, 16), D3DERR_INVALIDCALL);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
        ASSERT_EQ(device_->SetStreamSource(1, buffer, 68, 4), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    });
    EXPECT_EQ(At(frame, 0, 0), kGreenPixel);
    buffer->Release(); // the device lets go of what is bound when it closes
    declaration->Release();
}

} // namespace
} // namespace render_test
