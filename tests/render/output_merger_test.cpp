// What happens to a pixel after the pixel stage: depth writes, the stencil buffer as a mask, colour
// write masks (which Clear ignores) and the scissor rectangle. Each compare function, stencil operation and
// blend has its own table in output_merger_tables_test.cpp.
#include "caps_coverage.h"
#include "render_fixture.h"

namespace render_test {
namespace {

constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;

const Exercises kExercised{{&D3DCAPS9::PrimitiveMiscCaps, D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_COLORWRITEENABLE},
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
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DrawScreenRect(left, top, right, bottom, z, color);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
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
