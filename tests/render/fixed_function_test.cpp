// The fixed-function pipeline: user clip planes in world space, the texture stage operations and their
// arguments (lighting: device_conformance_test.cpp).
#include "caps_coverage.h"
#include "render_fixture.h"

#include <d3dx9math.h>

#include <algorithm>
#include <cmath>

namespace render_test {
namespace {

struct ColoredVertex { // D3DFVF_XYZ | D3DFVF_DIFFUSE
    float x, y, z;
    D3DCOLOR color;
};

// Diffuse D, texture factor T, the stage's texture X (1x1) and constant K, as 0..255 channels.
constexpr D3DCOLOR kDiffuse = 0x80C08040;  // a 0x80, r 0xC0, g 0x80, b 0x40
constexpr D3DCOLOR kFactor = 0xC0204080;   // a 0xC0, r 0x20, g 0x40, b 0x80
constexpr D3DCOLOR kTexel = 0x40103050;    // a 0x40, r 0x10, g 0x30, b 0x50
constexpr D3DCOLOR kConstant = 0xFF123456; // r 0x12, g 0x34, b 0x56
struct StageCase {
    DWORD op, arg1, arg2;
    Bgra expected; // B, G, R
    DWORD arg0 = D3DTA_CURRENT;
};
const StageCase kStageCases[] = {
    {D3DTOP_SELECTARG1, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x80, 0x40, 0x20, 255}},
    {D3DTOP_SELECTARG2, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x40, 0x80, 0xC0, 255}},
    {D3DTOP_MODULATE, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x20, 0x20, 0x18, 255}},
    {D3DTOP_MODULATE2X, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x40, 0x40, 0x30, 255}},
    {D3DTOP_MODULATE4X, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x81, 0x81, 0x60, 255}},
    {D3DTOP_ADD, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0xC0, 0xC0, 0xE0, 255}},
    {D3DTOP_ADDSIGNED, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x40, 0x40, 0x60, 255}},
    {D3DTOP_ADDSIGNED2X, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x81, 0x81, 0xC1, 255}},
    {D3DTOP_SUBTRACT, D3DTA_DIFFUSE, D3DTA_TFACTOR, {0x00, 0x40, 0xA0, 255}},
    {D3DTOP_ADDSMOOTH, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0xA0, 0xA0, 0xC8, 255}},
    {D3DTOP_BLENDDIFFUSEALPHA, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x60, 0x60, 0x70, 255}},
    {D3DTOP_BLENDTEXTUREALPHA, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x50, 0x70, 0x98, 255}},
    {D3DTOP_BLENDFACTORALPHA, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x70, 0x50, 0x48, 255}},
    {D3DTOP_BLENDTEXTUREALPHAPM, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0xB0, 0xA0, 0xB0, 255}},
    {D3DTOP_BLENDCURRENTALPHA, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x60, 0x60, 0x70, 255}},
    {D3DTOP_MODULATEALPHA_ADDCOLOR, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0xB0, 0xA0, 0xB1, 255}},
    {D3DTOP_MODULATECOLOR_ADDALPHA, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0xE0, 0xE0, 0xD8, 255}},
    {D3DTOP_MODULATEINVALPHA_ADDCOLOR, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x90, 0x60, 0x4F, 255}},
    {D3DTOP_MODULATEINVCOLOR_ADDALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE, {0x6C, 0xA8, 0xF4, 255}},
    {D3DTOP_DOTPRODUCT3, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x00, 0x00, 0x00, 255}},
    {D3DTOP_MULTIPLYADD, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x70, 0x50, 0x28, 255}, D3DTA_TEXTURE},
    {D3DTOP_LERP, D3DTA_TFACTOR, D3DTA_DIFFUSE, {0x54, 0x74, 0xB6, 255}, D3DTA_TEXTURE},
    {D3DTOP_SELECTARG1, D3DTA_TFACTOR | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, {0x7F, 0xBF, 0xDF, 255}},
    {D3DTOP_SELECTARG1, D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE, D3DTA_DIFFUSE, {0xC0, 0xC0, 0xC0, 255}},
    {D3DTOP_SELECTARG1, D3DTA_CONSTANT, D3DTA_DIFFUSE, {0x56, 0x34, 0x12, 255}},
};
// DISABLE, TEMP and the per-stage constant in the cascade and rows below.
const Exercises kExercised{
    {&D3DCAPS9::TextureOpCaps,
     D3DTEXOPCAPS_DISABLE | BitsOf(kStageCases, [](const StageCase& c) { return CapBit(c.op); })},
    {&D3DCAPS9::PrimitiveMiscCaps, D3DPMISCCAPS_TSSARGTEMP | D3DPMISCCAPS_PERSTAGECONSTANT},
    {&D3DCAPS9::TextureCaps, D3DPTEXTURECAPS_ALPHA}, // BLENDTEXTUREALPHA's texel alpha
    {&D3DCAPS9::VertexProcessingCaps,
     D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_MATERIALSOURCE7}};

class FixedFunctionTest : public RenderTest {
  protected:
    void SetUp() override { CreateDevice(64, 64); }

    void SetCamera() {
        D3DXMATRIX view, projection;
        D3DXMatrixIdentity(&view);
        D3DXMatrixPerspectiveFovLH(&projection, 3.14159265f / 3.0f, 1.0f, 0.5f, 10.0f);
        ASSERT_EQ(device_->SetTransform(D3DTS_VIEW, &view), D3D_OK);
        ASSERT_EQ(device_->SetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    }
};

TEST_F(FixedFunctionTest, ClipPlaneCutsTheMeshInWorldSpace) {
    SetCamera();
    ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
    // A plane at z = 2 wider than the view; keep x >= 0.25 in world space.
    const std::array<ColoredVertex, 4> quad{
        {{-4, 4, 2, 0xFFFF0000}, {4, 4, 2, 0xFF00FF00}, {-4, -4, 2, 0xFF0000FF}, {4, -4, 2, 0xFFFFFFFF}}};
    const float plane[4] = {1.0f, 0.0f, 0.0f, -0.25f};
    ASSERT_EQ(device_->SetClipPlane(0, plane), D3D_OK);
    const auto draw = [&] { return DrawFrame([&] { DrawStrip(D3DFVF_XYZ | D3DFVF_DIFFUSE, quad); }); };
    // Column of world x = 0.25 at z = 2: 32 + 32 * 0.25 / (2 tan 30deg).
    const float boundary = 32.0f + 32.0f * 0.25f / (2.0f * std::tan(3.14159265f / 6.0f));
    for (DWORD enabled : {DWORD{0}, DWORD{D3DCLIPPLANE0}}) {
        ASSERT_EQ(device_->SetRenderState(D3DRS_CLIPPLANEENABLE, enabled), D3D_OK);
        const Frame frame = draw();
        for (unsigned x = 0; x < 64; ++x) {
            const float distance = static_cast<float>(x) - boundary;
            if (std::fabs(distance) < 1.0f)
                continue;
            const bool drawn = !enabled || distance > 0.0f;
            EXPECT_EQ(At(frame, x, 32) != (Bgra{0, 0, 0, 255}), drawn) << "x " << x << " enabled " << enabled;
        }
        if (enabled) {
            EXPECT_TRUE(MatchesGolden("clip_plane", frame, 2, 8));
        }
    }
    // Moving the camera does not move a world-space plane: from x = +0.5 it cuts at column 25.
    D3DXMATRIX view;
    D3DXMatrixTranslation(&view, -0.5f, 0.0f, 0.0f);
    ASSERT_EQ(device_->SetTransform(D3DTS_VIEW, &view), D3D_OK);
    const Frame moved = draw();
    EXPECT_EQ(At(moved, 24, 32), (Bgra{0, 0, 0, 255}));
    EXPECT_NE(At(moved, 26, 32), (Bgra{0, 0, 0, 255}));
}

TEST_F(FixedFunctionTest, StageOperationsCombineTheirArguments) {
    IDirect3DTexture9* texture = Texture(1, 1, 1, 0, D3DFMT_A8R8G8B8);
    Fill(texture, 0, [](UINT, UINT) { return kTexel; });
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_TEXTUREFACTOR, kFactor), D3D_OK);
    SetStageStates(0, {{D3DTSS_CONSTANT, kConstant}});
    for (const StageCase& c : kStageCases) {
        SetStageStates(0, {{D3DTSS_COLOROP, c.op},
                           {D3DTSS_COLORARG1, c.arg1},
                           {D3DTSS_COLORARG2, c.arg2},
                           {D3DTSS_COLORARG0, c.arg0}});
        const Bgra p = At(DrawFrame([&] { DrawScreenRect(0, 0, 64, 64, 0.5f, kDiffuse); }), 8, 8);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(p[i], c.expected[i], 2) << "op " << c.op << " channel " << i;
    }
    // Stage 0 writes TEMP, not CURRENT; stage 2 reads stage 1's result as CURRENT; stage 3 off ends
    // the cascade.
    SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1},
                       {D3DTSS_COLORARG1, D3DTA_TFACTOR},
                       {D3DTSS_RESULTARG, D3DTA_TEMP}});
    SetStageStates(1, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_CURRENT}});
    SetStageStates(2, {{D3DTSS_COLOROP, D3DTOP_MODULATE},
                       {D3DTSS_COLORARG1, D3DTA_CURRENT},
                       {D3DTSS_COLORARG2, D3DTA_TEMP}});
    SetStageStates(3, {{D3DTSS_COLOROP, D3DTOP_DISABLE}});
    SetStageStates(4, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}});
    const Bgra p = At(DrawFrame([&] { DrawScreenRect(0, 0, 64, 64, 0.5f, kDiffuse); }), 8, 8);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(p[i], (Bgra{0x20, 0x20, 0x18})[i], 2) << "channel " << i;
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
}

// Fog: a red quad fogged towards blue over a depth ramp, left to right; each pixel's red is 255 f
// and its blue 255 (1 - f), f the fog factor worked out here.
struct FogCase {
    const char* what;
    DWORD table, vertex, range;
    float start, end, density;
    float left, right; // the depth at the quad's left and right edges
    enum { kScreen, kWorld, kPerspective } geometry;
    DWORD enable = TRUE;
};
const FogCase kFogCases[] = {
    {"table linear, z", D3DFOG_LINEAR, D3DFOG_NONE, FALSE, 0.2f, 0.8f, 1, 0, 1, FogCase::kScreen},
    {"table exp, z", D3DFOG_EXP, D3DFOG_NONE, FALSE, 0, 1, 2, 0, 1, FogCase::kScreen},
    {"table exp2, z", D3DFOG_EXP2, D3DFOG_NONE, FALSE, 0, 1, 2, 0, 1, FogCase::kScreen},
    {"table over vertex, z", D3DFOG_EXP, D3DFOG_LINEAR, FALSE, 0, 1, 2, 0, 1, FogCase::kWorld},
    {"vertex linear", D3DFOG_NONE, D3DFOG_LINEAR, FALSE, 0, 1, 1, 0, 1, FogCase::kWorld},
    {"vertex exp", D3DFOG_NONE, D3DFOG_EXP, FALSE, 0, 1, 2, 0, 1, FogCase::kWorld},
    {"vertex exp2", D3DFOG_NONE, D3DFOG_EXP2, FALSE, 0, 1, 1.5f, 0, 1, FogCase::kWorld},
    // Only the end changes from the row above: the vertex stage must see it.
    {"vertex linear, range", D3DFOG_NONE, D3DFOG_LINEAR, TRUE, 0, 3, 1.5f, 0.5f, 0.5f, FogCase::kWorld},
    {"vertex linear, depth", D3DFOG_NONE, D3DFOG_LINEAR, FALSE, 0, 3, 1, 0.5f, 0.5f, FogCase::kWorld},
    {"specular alpha", D3DFOG_NONE, D3DFOG_NONE, FALSE, 0, 1, 1, 0, 1, FogCase::kScreen},
    {"fog off", D3DFOG_LINEAR, D3DFOG_NONE, FALSE, 0.2f, 0.8f, 1, 0, 1, FogCase::kScreen, FALSE},
    {"table linear, eye distance", D3DFOG_LINEAR, D3DFOG_NONE, FALSE, 1, 5, 1, 2, 2, FogCase::kPerspective},
};
const Exercises kFogExercised{{&D3DCAPS9::RasterCaps, D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGVERTEX |
                                                          D3DPRASTERCAPS_FOGRANGE | D3DPRASTERCAPS_ZFOG |
                                                          D3DPRASTERCAPS_WFOG}};
constexpr float kSpecularAlpha = 128.0f / 255.0f;

float FogFactor(DWORD mode, float d, const FogCase& c) {
    const float f = mode == D3DFOG_EXP    ? std::exp(-c.density * d)
                    : mode == D3DFOG_EXP2 ? std::exp(-(c.density * d) * (c.density * d))
                                          : (c.end - d) / (c.end - c.start);
    return std::clamp(f, 0.0f, 1.0f);
}

// At t from 0 (left edge) to 1: table fog per pixel, vertex fog per corner and interpolated.
float ExpectedFog(const FogCase& c, float t) {
    if (!c.enable)
        return 1.0f;
    const auto distance = [&](float s) {
        const float z = c.left + (c.right - c.left) * s;
        return c.range ? std::sqrt(2.0f + z * z) : z; // corners at x, y = +-1
    };
    if (c.table != D3DFOG_NONE)
        return FogFactor(c.table, distance(t), c);
    if (c.vertex == D3DFOG_NONE)
        return kSpecularAlpha;
    return FogFactor(c.vertex, distance(0), c) +
           (FogFactor(c.vertex, distance(1), c) - FogFactor(c.vertex, distance(0), c)) * t;
}

TEST_F(FixedFunctionTest, FogBlendsTowardsTheFogColourByEachMode) {
    struct FogVertex { // D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
    };
    SetStates({{D3DRS_LIGHTING, FALSE}, {D3DRS_ZENABLE, FALSE}, {D3DRS_FOGCOLOR, 0xFF0000FF}});
    for (const FogCase& c : kFogCases) {
        if (c.geometry == FogCase::kPerspective)
            SetCamera();
        SetStates({{D3DRS_FOGENABLE, c.enable},
                   {D3DRS_FOGTABLEMODE, c.table},
                   {D3DRS_FOGVERTEXMODE, c.vertex},
                   {D3DRS_RANGEFOGENABLE, c.range},
                   {D3DRS_FOGSTART, FloatBits(c.start)},
                   {D3DRS_FOGEND, FloatBits(c.end)},
                   {D3DRS_FOGDENSITY, FloatBits(c.density)}});
        const float edge = c.geometry == FogCase::kPerspective ? 4.0f : 1.0f;
        const Frame frame = DrawFrame([&] {
            if (c.geometry == FogCase::kScreen) {
                DrawStrip(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR,
                          Quad<FogVertex>(0, 0, 64, 64, [&](float x, float y, float s, float) {
                              return FogVertex{x, y, s != 0 ? c.right : c.left, 1.0f, 0xFFFF0000, 0x80000000};
                          }));
            } else {
                DrawStrip(
                    D3DFVF_XYZ | D3DFVF_DIFFUSE,
                    Quad<ColoredVertex>(-edge, edge, edge, -edge, [&](float x, float y, float s, float) {
                        return ColoredVertex{x, y, s != 0 ? c.right : c.left, 0xFFFF0000};
                    }));
            }
        });
        for (unsigned x = 4; x < 64; x += 16) {
            const float f = ExpectedFog(c, static_cast<float>(x) / 64.0f);
            const Bgra p = At(frame, x, 32);
            EXPECT_NEAR(p[2], 255.0f * f, 2.0f) << c.what << " at x " << x;
            EXPECT_NEAR(p[0], 255.0f * (1.0f - f), 2.0f) << c.what << " at x " << x;
        }
    }
}

} // namespace
} // namespace render_test
