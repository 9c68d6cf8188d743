// What happens to a pixel after the pixel stage: alpha test, depth and stencil tests, blending,
// colour write masks and the scissor rectangle.
#include "render_fixture.h"

namespace render_test {
namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;

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
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DrawScreenRect(left, top, right, bottom, z, color);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
    }
    Bgra Centre() { return At(ReadFrame(), 16, 16); }
};

TEST_F(OutputMergerTest, BlendingCombinesWithTheTargetByFactorAndOperation) {
    struct Case {
        DWORD source, dest, op;
        Bgra expected;
    };
    // Red at alpha 0x80 over blue.
    const Case cases[] = {{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, {127, 0, 128, 255}},
                          {D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_ADD, {255, 0, 255, 255}},
                          {D3DBLEND_BOTHSRCALPHA, D3DBLEND_ZERO, D3DBLENDOP_ADD, {127, 0, 128, 255}},
                          {D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT, {255, 0, 0, 255}},
                          {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO, D3DBLENDOP_ADD, {0, 0, 0, 255}},
                          {D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLENDOP_ADD, {255, 0, 0, 255}}};
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE), D3D_OK);
    for (const Case& c : cases) {
        ASSERT_EQ(device_->SetRenderState(D3DRS_SRCBLEND, c.source), D3D_OK);
        ASSERT_EQ(device_->SetRenderState(D3DRS_DESTBLEND, c.dest), D3D_OK);
        ASSERT_EQ(device_->SetRenderState(D3DRS_BLENDOP, c.op), D3D_OK);
        Clear(kBlue);
        Rect(0x80FF0000);
        const Bgra p = Centre();
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(p[i], c.expected[i], 1) << "blend " << c.source << "/" << c.dest << " op " << c.op;
    }
}

TEST_F(OutputMergerTest, AlphaTestKeepsPixelsWhoseAlphaPassesTheReference) {
    // Alpha rises from 0 at x = 0 by 255 / 32 a pixel: 127.5 at x = 16, 135.5 at x = 17.
    const ScreenVertex quad[4] = {{0, 0, 0.5f, 1, 0x00FF0000},
                                  {32, 0, 0.5f, 1, 0xFFFF0000},
                                  {0, 32, 0.5f, 1, 0x00FF0000},
                                  {32, 32, 0.5f, 1, 0xFFFF0000}};
    struct Case {
        DWORD func;
        unsigned firstDrawn, lastDrawn;
    };
    const Case cases[] = {{D3DCMP_GREATEREQUAL, 17, 31}, {D3DCMP_LESS, 0, 16}, {D3DCMP_NEVER, 1, 0}};
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHAREF, 130), D3D_OK);
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    for (const Case& c : cases) {
        ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHAFUNC, c.func), D3D_OK);
        Clear(kBlue);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex)), D3D_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        const Frame frame = ReadFrame();
        for (unsigned x = 0; x < 32; ++x) {
            const bool drawn = x >= c.firstDrawn && x <= c.lastDrawn;
            EXPECT_EQ(At(frame, x, 5)[2], drawn ? 255 : 0) << "func " << c.func << " x " << x;
        }
    }
}

TEST_F(OutputMergerTest, DepthTestKeepsTheNearerSurface) {
    Clear(kBlue);
    Rect(kGreen, 0.2f);
    Rect(kRed, 0.8f);
    EXPECT_EQ(Centre(), (Bgra{0, 255, 0, 255})); // LESSEQUAL by default: the far one fails
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATER), D3D_OK);
    Rect(kRed, 0.8f);
    EXPECT_EQ(Centre(), (Bgra{0, 0, 255, 255}));
    // Without writes the depth stays 0.8; without the test anything draws.
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZWRITEENABLE, FALSE), D3D_OK);
    Rect(kGreen, 0.9f);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZWRITEENABLE, TRUE), D3D_OK);
    Rect(kBlue, 0.85f);
    EXPECT_EQ(Centre(), (Bgra{255, 0, 0, 255}));
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE), D3D_OK);
    Rect(kRed, 1.0f);
    EXPECT_EQ(Centre(), (Bgra{0, 0, 255, 255}));
    std::vector<float> depth;
    UINT width = 0, height = 0;
    ASSERT_TRUE(platform::ReadDepthStencil(device_, &depth, nullptr, &width, &height));
    EXPECT_NEAR(depth[16 * width + 16], 0.85f, 1e-5f);
}

TEST_F(OutputMergerTest, StencilScissorAndWriteMasksLimitWhatIsWritten) {
    Clear(kBlue);
    // Mark a square in the stencil buffer only.
    ASSERT_EQ(device_->SetRenderState(D3DRS_STENCILENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_STENCILREF, 1), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_COLORWRITEENABLE, 0), D3D_OK);
    Rect(kRed, 0.5f, 4, 4, 12, 12);
    // Draw where the stencil holds 1, red and green only.
    ASSERT_EQ(
        device_->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN),
        D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS), D3D_OK);
    Rect(0xFFFFFF00);
    ASSERT_EQ(device_->SetRenderState(D3DRS_STENCILENABLE, FALSE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF), D3D_OK);
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
}

} // namespace
} // namespace render_test
