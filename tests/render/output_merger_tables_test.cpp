// Every compare function, stencil operation, blend factor and blend operation, one draw each into
// an 8x8 A8R8G8B8 target, the expected pixel worked out from Direct3D 9's formulas; and what happens
// to a pixel after the pixel stage: depth writes, the stencil buffer as a mask, colour write masks
// (which Clear ignores) and the scissor rectangle.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace render_test {
namespace {

constexpr D3DCOLOR kGreen = 0xFF00FF00, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// D3DCMP_* - 1 is a mask of the outcomes that pass: 1 less, 2 equal, 4 greater.
bool Compares(DWORD func, int value, int reference) {
    const int outcome = value < reference ? 1 : value == reference ? 2 : 4;
    return ((func - 1) & outcome) != 0;
}

// Index: D3DSTENCILOP_*.
int StencilAfter(DWORD op, int value, int reference) {
    const int after[] = {value,
                         value,
                         0,
                         reference,
                         std::min(value + 1, 255),
                         std::max(value - 1, 0),
                         ~value & 0xFF,
                         (value + 1) & 0xFF,
                         (value - 1) & 0xFF};
    return after[op];
}

// A colour's channel c (0 red .. 3 alpha) as 0..1.
double Channel(D3DCOLOR color, int c) {
    static const int kShift[4] = {16, 8, 0, 24};
    return ((color >> kShift[c]) & 0xFF) / 255.0;
}

// Direct3D's blend factor for channel c; index: D3DBLEND_* (the BOTH factors are resolved by Blended).
double Factor(DWORD factor, int c, D3DCOLOR source, D3DCOLOR dest, D3DCOLOR constant) {
    const double s = Channel(source, c), d = Channel(dest, c), sa = Channel(source, 3), da = Channel(dest, 3);
    const double k = Channel(constant, c);
    const double factors[] = {1,      0,  1,      s,    1 - s, sa,
                              1 - sa, da, 1 - da, d,    1 - d, c == 3 ? 1 : std::min(sa, 1 - da),
                              1,      1,  k,      1 - k};
    return factors[factor];
}

struct BlendCase {
    DWORD source, dest, op;
    D3DCOLOR constant;
    DWORD alphaSource = 0, alphaDest = 0; // a separate alpha blend when not 0
};

const std::vector<BlendCase> kBlendCases = [] {
    constexpr D3DCOLOR kConstant = 0xCC336699, kOtherConstant = 0x40C08020;
    std::vector<BlendCase> cases;
    for (DWORD f :
         {D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCALPHA,
          D3DBLEND_INVSRCALPHA, D3DBLEND_DESTALPHA, D3DBLEND_INVDESTALPHA, D3DBLEND_DESTCOLOR,
          D3DBLEND_INVDESTCOLOR, D3DBLEND_SRCALPHASAT, D3DBLEND_BLENDFACTOR, D3DBLEND_INVBLENDFACTOR}) {
        cases.push_back({f, D3DBLEND_ZERO, D3DBLENDOP_ADD, kConstant});
        cases.push_back({D3DBLEND_ZERO, f, D3DBLENDOP_ADD, kConstant});
        cases.push_back({D3DBLEND_ZERO, f, D3DBLENDOP_ADD, kOtherConstant}); // the constant alone changes
    }
    for (DWORD f : {D3DBLEND_BOTHSRCALPHA, D3DBLEND_BOTHINVSRCALPHA})
        cases.push_back({f, D3DBLEND_ZERO, D3DBLENDOP_ADD, kConstant});
    for (DWORD op = D3DBLENDOP_ADD; op <= D3DBLENDOP_MAX; ++op) {
        cases.push_back({D3DBLEND_SRCALPHA, D3DBLEND_ONE, op, kConstant});
        cases.push_back({D3DBLEND_ONE, D3DBLEND_INVSRCALPHA, op, kConstant});
    }
    cases.push_back({D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, kConstant, D3DBLEND_ZERO,
                     D3DBLEND_DESTCOLOR});
    return cases;
}();

constexpr DWORD kLastCompare = D3DCMP_ALWAYS, kLastStencilOp = D3DSTENCILOP_DECR;
DWORD BlendBit(DWORD factor) {
    return factor == D3DBLEND_INVBLENDFACTOR ? D3DPBLENDCAPS_BLENDFACTOR : CapBit(factor);
}
const Exercises kExercised{
    {&D3DCAPS9::ZCmpCaps, CapBit(kLastCompare + 1) - 1},
    {&D3DCAPS9::AlphaCmpCaps, CapBit(kLastCompare + 1) - 1},
    {&D3DCAPS9::RasterCaps, D3DPRASTERCAPS_ZTEST},
    {&D3DCAPS9::LineCaps, D3DLINECAPS_ZTEST | D3DLINECAPS_ALPHACMP | D3DLINECAPS_BLEND},
    {&D3DCAPS9::StencilCaps, (CapBit(kLastStencilOp + 1) - 1) | D3DSTENCILCAPS_TWOSIDED},
    {&D3DCAPS9::SrcBlendCaps, BitsOf(kBlendCases, [](const BlendCase& b) { return BlendBit(b.source); })},
    {&D3DCAPS9::DestBlendCaps, BitsOf(kBlendCases, [](const BlendCase& b) { return BlendBit(b.dest); })},
    {&D3DCAPS9::PrimitiveMiscCaps, D3DPMISCCAPS_BLENDOP | BitsOf(kBlendCases, [](const BlendCase& b) {
                                       return b.alphaSource ? DWORD{D3DPMISCCAPS_SEPARATEALPHABLEND} : 0;
                                   })}};

// The blended channel c as a byte.
int Blended(const BlendCase& b, int c, D3DCOLOR source, D3DCOLOR dest) {
    DWORD sourceFactor = b.source, destFactor = b.dest;
    if (c == 3 && b.alphaSource)
        sourceFactor = b.alphaSource, destFactor = b.alphaDest;
    if (b.source == D3DBLEND_BOTHSRCALPHA || b.source == D3DBLEND_BOTHINVSRCALPHA) {
        const bool inverse = b.source == D3DBLEND_BOTHINVSRCALPHA;
        sourceFactor = inverse ? D3DBLEND_INVSRCALPHA : D3DBLEND_SRCALPHA;
        destFactor = inverse ? D3DBLEND_SRCALPHA : D3DBLEND_INVSRCALPHA;
    }
    const double s = Channel(source, c) * Factor(sourceFactor, c, source, dest, b.constant);
    const double d = Channel(dest, c) * Factor(destFactor, c, source, dest, b.constant);
    double result = s + d;
    if (b.op == D3DBLENDOP_SUBTRACT)
        result = s - d;
    else if (b.op == D3DBLENDOP_REVSUBTRACT)
        result = d - s;
    else if (b.op == D3DBLENDOP_MIN)
        result = std::min(Channel(source, c), Channel(dest, c)); // factors play no part
    else if (b.op == D3DBLENDOP_MAX)
        result = std::max(Channel(source, c), Channel(dest, c));
    return static_cast<int>(std::lround(std::clamp(result, 0.0, 1.0) * 255.0));
}

class OutputMergerTablesTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(8, 8);
        ASSERT_EQ(device_->CreateRenderTarget(8, 8, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &target_,
                                              nullptr),
                  D3D_OK);
        ASSERT_EQ(
            device_->CreateOffscreenPlainSurface(8, 8, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy_, nullptr),
            D3D_OK);
        ASSERT_EQ(device_->SetRenderTarget(0, target_), D3D_OK);
        SetStates({{D3DRS_LIGHTING, FALSE}});
    }
    void TearDown() override {
        for (IDirect3DSurface9* surface : {target_, copy_})
            if (surface) {
                EXPECT_EQ(surface->Release(), 0u);
            }
        RenderTest::TearDown();
    }

    void Clear(D3DCOLOR color, DWORD stencil = 0) {
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, color,
                                 1.0f, stencil),
                  D3D_OK);
    }
    // Two triangles over rows 0 to 5 (counter-clockwise when asked) and a line along row 6.
    void Draw(D3DCOLOR color, float z = 0.5f, bool counterClockwise = false) {
        const ScreenVertex line[2] = {{0, 6, z, 1, color}, {8, 6, z, 1, color}};
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DrawScreenRect(counterClockwise ? 8.0f : 0.0f, 0, counterClockwise ? 0.0f : 8.0f, 6, z, color);
        if (!counterClockwise) {
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(ScreenVertex)), D3D_OK);
        }
        ASSERT_EQ(device_->EndScene(), D3D_OK);
    }
    // The target's pixel (4, 4) as A8R8G8B8, the line's pixel (4, 6) expected the same.
    D3DCOLOR Pixel() {
        EXPECT_EQ(device_->GetRenderTargetData(target_, copy_), D3D_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(copy_->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        D3DCOLOR pixel = 0;
        if (locked.pBits) {
            pixel = static_cast<const D3DCOLOR*>(locked.pBits)[4 * (locked.Pitch / 4) + 4];
            EXPECT_EQ(static_cast<const D3DCOLOR*>(locked.pBits)[6 * (locked.Pitch / 4) + 4], pixel)
                << "line";
        }
        copy_->UnlockRect();
        return pixel;
    }
    int Stencil(bool line = true) {
        std::vector<std::uint8_t> stencil;
        UINT width = 0, height = 0;
        EXPECT_TRUE(platform::ReadDepthStencil(device_, nullptr, &stencil, &width, &height));
        EXPECT_TRUE(!line || stencil.empty() || stencil[6 * width + 4] == stencil[4 * width + 4]) << "line";
        return stencil.empty() ? -1 : stencil[4 * width + 4];
    }

    IDirect3DSurface9* target_ = nullptr;
    IDirect3DSurface9* copy_ = nullptr;
};

TEST_F(OutputMergerTablesTest, CompareFunctionsDecideTheDepthAndAlphaTests) {
    for (DWORD func = D3DCMP_NEVER; func <= kLastCompare; ++func)
        for (int step = -1; step <= 1; ++step) {
            // Depth: green at 0.5 first, then red nearer, at the same depth, or farther.
            SetStates({{D3DRS_ZENABLE, D3DZB_TRUE}, {D3DRS_ZFUNC, D3DCMP_ALWAYS}});
            Clear(0);
            Draw(kGreen, 0.5f);
            SetStates({{D3DRS_ZFUNC, func}});
            Draw(kRed, 0.5f + 0.25f * static_cast<float>(step));
            EXPECT_EQ(Pixel(), Compares(func, step, 0) ? kRed : kGreen)
                << "depth func " << func << " step " << step;
            // Alpha: red with alpha one below, at, or one above the reference.
            SetStates({{D3DRS_ZENABLE, D3DZB_FALSE},
                       {D3DRS_ALPHATESTENABLE, TRUE},
                       {D3DRS_ALPHAREF, 0x80},
                       {D3DRS_ALPHAFUNC, func}});
            Clear(0);
            const DWORD alpha = static_cast<DWORD>(0x80 + step);
            Draw((alpha << 24) | 0xFF0000);
            EXPECT_EQ(Pixel(), Compares(func, 0x80 + step, 0x80) ? (alpha << 24) | 0xFF0000 : 0u)
                << "alpha func " << func << " step " << step;
            SetStates({{D3DRS_ALPHATESTENABLE, FALSE}});
        }
}

TEST_F(OutputMergerTablesTest, StencilOperationsWrapAndSaturateAsDirect3DDoes) {
    constexpr int kReference = 0x3C;
    // Two-sided: counter-clockwise triangles take the CCW_ states; the clockwise ones would invert.
    const D3DRENDERSTATETYPE paths[2][4] = {
        {D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL, D3DRS_STENCILPASS, D3DRS_STENCILFUNC},
        {D3DRS_CCW_STENCILFAIL, D3DRS_CCW_STENCILZFAIL, D3DRS_CCW_STENCILPASS, D3DRS_CCW_STENCILFUNC}};
    SetStates({{D3DRS_STENCILENABLE, TRUE}, {D3DRS_STENCILREF, kReference}, {D3DRS_CULLMODE, D3DCULL_NONE}});
    for (int ccw = 0; ccw < 2; ++ccw)
        for (DWORD op = D3DSTENCILOP_KEEP; op <= kLastStencilOp; ++op)
            for (int path = 0; path < 3; ++path)
                for (int start : {0, 0x5A, 255}) {
                    SetStates({{D3DRS_TWOSIDEDSTENCILMODE, ccw}});
                    for (int other = 0; other < 3; ++other) {
                        SetStates({{paths[ccw][other], other == path ? op : DWORD{D3DSTENCILOP_KEEP}}});
                        if (ccw)
                            SetStates({{paths[0][other], D3DSTENCILOP_INVERT}});
                    }
                    SetStates({{paths[ccw][3], path == 0 ? D3DCMP_NEVER : D3DCMP_ALWAYS},
                               {D3DRS_ZFUNC, path == 1 ? D3DCMP_NEVER : D3DCMP_ALWAYS}});
                    Clear(0, static_cast<DWORD>(start));
                    Draw(kRed, 0.5f, ccw);
                    EXPECT_EQ(Stencil(!ccw), StencilAfter(op, start, kReference))
                        << "op " << op << " state " << paths[ccw][path] << " from " << start;
                }
}

TEST_F(OutputMergerTablesTest, BlendFactorsAndOperationsFollowDirect3DsFormula) {
    constexpr D3DCOLOR kSource = 0x90C06030, kDest = 0xA04080A0;
    SetStates({{D3DRS_ALPHABLENDENABLE, TRUE}});
    for (const BlendCase& b : kBlendCases) {
        SetStates({{D3DRS_SEPARATEALPHABLENDENABLE, b.alphaSource != 0}});
        if (b.alphaSource)
            SetStates({{D3DRS_SRCBLENDALPHA, b.alphaSource}, {D3DRS_DESTBLENDALPHA, b.alphaDest}});
        SetStates({{D3DRS_SRCBLEND, b.source},
                   {D3DRS_DESTBLEND, b.dest},
                   {D3DRS_BLENDOP, b.op},
                   {D3DRS_BLENDFACTOR, b.constant}});
        Clear(kDest);
        Draw(kSource);
        const D3DCOLOR pixel = Pixel();
        for (int c = 0; c < 4; ++c)
            EXPECT_LE(
                std::abs(static_cast<int>(Channel(pixel, c) * 255.0 + 0.5) - Blended(b, c, kSource, kDest)),
                1)
                << "source " << b.source << " dest " << b.dest << " op " << b.op << " constant " << std::hex
                << b.constant << " channel " << c;
    }
}

const Exercises kMasksExercised{
    {&D3DCAPS9::PrimitiveMiscCaps, D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_COLORWRITEENABLE},
    {&D3DCAPS9::RasterCaps, D3DPRASTERCAPS_SCISSORTEST}};

class OutputMergerTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(32, 32);
        ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
    }

    void Clear(D3DCOLOR color) {
        ASSERT_EQ(
            device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, color, 1.0f, 0),
            D3D_OK);
    }
    void Rect(D3DCOLOR color, float z = 0.5f, float left = 0, float top = 0, float right = 32,
              float bottom = 32) {
        Scene([&] { DrawScreenRect(left, top, right, bottom, z, color); });
    }
    Bgra Centre() { return At(ReadFrame(), 16, 16); }
};

TEST_F(OutputMergerTest, DepthWritesOffLeaveTheDepthBufferAlone) {
    Clear(kBlue);
    Rect(kGreen, 0.8f);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZWRITEENABLE, FALSE), D3D_OK);
    Rect(kRed, 0.5f); // drawn, but the depth stays 0.8
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZWRITEENABLE, TRUE), D3D_OK);
    Rect(kBlue, 0.7f);
    EXPECT_EQ(Centre(), (Bgra{255, 0, 0, 255}));
    std::vector<float> depth;
    UINT width = 0, height = 0;
    ASSERT_TRUE(platform::ReadDepthStencil(device_, &depth, nullptr, &width, &height));
    EXPECT_NEAR(depth[16 * width + 16], 0.7f, 1e-5f);
}

TEST_F(OutputMergerTest, StencilScissorAndWriteMasksLimitWhatIsWritten) {
    Clear(kBlue);
    // Mark a square in the stencil buffer only.
    SetStates({{D3DRS_STENCILENABLE, TRUE},
               {D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE},
               {D3DRS_STENCILREF, 1},
               {D3DRS_COLORWRITEENABLE, 0}});
    Rect(kRed, 0.5f, 4, 4, 12, 12);
    // Draw where the stencil holds 1, red and green only.
    SetStates({{D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN},
               {D3DRS_STENCILFUNC, D3DCMP_EQUAL},
               {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
               {D3DRS_ZFUNC, D3DCMP_ALWAYS}});
    Rect(0xFFFFFF00);
    SetStates({{D3DRS_STENCILENABLE, FALSE}, {D3DRS_COLORWRITEENABLE, 0xF}});
    // A scissored green square overlapping it.
    const RECT scissor{10, 10, 20, 20};
    ASSERT_EQ(device_->SetScissorRect(&scissor), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
    Rect(kGreen);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 5, 5), (Bgra{255, 255, 255, 255})); // yellow over blue where the stencil is 1
    EXPECT_EQ(At(frame, 3, 3), (Bgra{255, 0, 0, 255}));     // blue outside
    EXPECT_EQ(At(frame, 10, 10), (Bgra{0, 255, 0, 255}));   // scissor's first pixel
    EXPECT_EQ(At(frame, 20, 20), (Bgra{255, 0, 0, 255}));   // past the scissor
    EXPECT_TRUE(MatchesGolden("stencil_scissor_masks", frame, 0, 0));
    // Clear writes every channel whatever the write mask the last draw left.
    SetStates({{D3DRS_COLORWRITEENABLE, 0}});
    Rect(kRed);
    Clear(kBlue);
    EXPECT_EQ(Centre(), (Bgra{255, 0, 0, 255}));
}

} // namespace
} // namespace render_test
