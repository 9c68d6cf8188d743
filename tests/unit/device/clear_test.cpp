// Clear and the viewport: exact bytes read back from the back buffer and the depth-stencil surface.
#include "device_fixture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using ClearTest = DeviceFixture;

constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr D3DCOLOR kRed = 0xFFFF0000;
const DeviceFixture::Pixel kBlackPixel{0x00, 0x00, 0x00, 0xFF};
const DeviceFixture::Pixel kRedPixel{0x00, 0x00, 0xFF, 0xFF};

TEST_F(ClearTest, ClearsTheWholeBackBufferInArgbByteOrderAndX8ReadsOpaque) {
    for (const D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        D3DPRESENT_PARAMETERS pp = Parameters();
        pp.BackBufferFormat = format;
        CreateDevice(pp);
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x10336699, 1.0f, 0), D3D_OK);
        ReadBack();
        EXPECT_EQ(width_ * height_, UINT{kWindowWidth * kWindowHeight});
        EXPECT_EQ(Count(Pixel{0x99, 0x66, 0x33,
                              static_cast<std::uint8_t>(format == D3DFMT_X8R8G8B8 ? 0xFF : 0x10)}),
                  std::size_t{width_} * height_);
        device_->Release();
        device_ = nullptr;
    }
}

// Rects, the viewport and the scissor test each limit a clear; row 0 is at the top.
TEST_F(ClearTest, RectsTheViewportAndTheScissorTestLimitTheClear) {
    CreateDevice();
    struct Case {
        BOOL scissorTest;
        RECT scissor;
        D3DVIEWPORT9 viewport;
        std::vector<D3DRECT> rects;
        std::size_t red;
        UINT x, y; // a red pixel, when there are any
    };
    const D3DVIEWPORT9 whole{0, 0, kWindowWidth, kWindowHeight, 0.0f, 1.0f};
    const D3DVIEWPORT9 inner{8, 4, 16, 8, 0.0f, 1.0f};
    const RECT scissor{4, 2, 12, 10};
    const Case cases[] = {
        {FALSE, scissor, whole, {{2, 1, 10, 4}, {60, 40, 80, 60}}, 8 * 3 + 4 * 8, 2, 1}, // past the target
        {FALSE, scissor, inner, {}, 16 * 8, 8, 4},
        {FALSE, scissor, inner, {{0, 0, 10, 6}}, 2 * 2, 9, 5},
        {TRUE, scissor, whole, {}, 8 * 8, 4, 2},
        {TRUE, scissor, whole, {{0, 0, 6, 6}}, 2 * 4, 5, 5},
        {TRUE, scissor, inner, {}, 4 * 6, 11, 9},
        {TRUE, {60, 40, 100, 100}, whole, {}, 4 * 8, 63, 47}, // reaches past the target
        {TRUE, {5, 5, 5, 5}, whole, {}, 0, 0, 0},
        {FALSE, scissor, whole, {}, std::size_t{kWindowWidth} * kWindowHeight, 0, 0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE), D3D_OK);
        ASSERT_EQ(device_->SetViewport(&whole), D3D_OK);
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, c.scissorTest), D3D_OK);
        ASSERT_EQ(device_->SetScissorRect(&c.scissor), D3D_OK);
        ASSERT_EQ(device_->SetViewport(&c.viewport), D3D_OK);
        const auto count = static_cast<DWORD>(c.rects.size());
        ASSERT_EQ(device_->Clear(count, count ? c.rects.data() : nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0),
                  D3D_OK);
        ReadBack();
        EXPECT_EQ(Count(kRedPixel), c.red) << c.scissorTest << " " << c.viewport.X << " " << count;
        if (c.red > 0) {
            EXPECT_EQ(At(c.x, c.y), kRedPixel) << c.x << "," << c.y;
        }
    }
    // A viewport must fit the target.
    const D3DVIEWPORT9 tooWide{1, 0, kWindowWidth, 10, 0.0f, 1.0f};
    const D3DVIEWPORT9 overflowing{0xFFFFFFFF, 0, 2, 10, 0.0f, 1.0f};
    const D3DVIEWPORT9 badDepth{0, 0, 10, 10, 0.0f, 2.0f};
    for (const D3DVIEWPORT9* bad :
         {&tooWide, &overflowing, &badDepth, static_cast<const D3DVIEWPORT9*>(nullptr)})
        EXPECT_EQ(device_->SetViewport(bad), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetViewport(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(ClearTest, SettingRenderTargetZeroResetsTheScissorRectangle) {
    CreateDevice();
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &backBuffer), D3D_OK);
    IDirect3DSurface9* small = RenderTarget(16, 8, D3DFMT_X8R8G8B8);
    ASSERT_EQ(device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), D3D_OK);
    const RECT corner{2, 2, 4, 4};
    RECT scissor{};
    ASSERT_EQ(device_->SetScissorRect(&corner), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, small), D3D_OK);
    ASSERT_EQ(device_->GetScissorRect(&scissor), D3D_OK);
    EXPECT_EQ(std::make_pair(scissor.right, scissor.bottom), std::make_pair(LONG{16}, LONG{8}));
    ASSERT_EQ(device_->SetScissorRect(&corner), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, backBuffer), D3D_OK);

    // The scissor test stays on; a clear covers the whole new target (drawing: the render tests).
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kRed, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(Count(kRedPixel), std::size_t{kWindowWidth} * kWindowHeight);
    small->Release();
    backBuffer->Release();
}

TEST_F(ClearTest, ClearsDepthAndStencilSeparately) {
    CreateDevice();
    std::vector<float> depth;
    std::vector<std::uint8_t> stencil;
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 0.25f, 0x15A), D3D_OK);
    ASSERT_TRUE(platform::ReadDepthStencil(device_, &depth, &stencil, nullptr, nullptr));
    ASSERT_EQ(depth.size(), std::size_t{kWindowWidth * kWindowHeight});
    // 24 bits of depth hold 0.25 to within one step of 2^-24.
    EXPECT_TRUE(std::all_of(depth.begin(), depth.end(), [](float z) { return std::abs(z - 0.25f) < 1e-6f; }));
    // The stencil value is cut to the surface's 8 bits.
    EXPECT_TRUE(std::all_of(stencil.begin(), stencil.end(), [](std::uint8_t s) { return s == 0x5A; }));

    const D3DRECT rect{0, 0, 4, 2};
    ASSERT_EQ(device_->Clear(1, &rect, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    ASSERT_TRUE(platform::ReadDepthStencil(device_, &depth, &stencil, nullptr, nullptr));
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 1.0f), 4 * 2);
    EXPECT_EQ(depth[kWindowWidth + 3], 1.0f);
    EXPECT_NEAR(depth[kWindowWidth + 4], 0.25f, 1e-6f);
    EXPECT_TRUE(std::all_of(stencil.begin(), stencil.end(), [](std::uint8_t s) { return s == 0x5A; }));
}

TEST_F(ClearTest, RefusesBadFlagsAndArgumentsAndTakesMismatchedRectsAsWineDoes) {
    D3DPRESENT_PARAMETERS pp = Parameters();
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    CreateDevice(pp);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0), D3D_OK);

    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->Clear(0, nullptr, 0x8, kRed, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kRed, 1.5f, 0),
              D3DERR_INVALIDCALL);
    // What Wine's Direct3D 9 does with the two mismatches the documentation forbids: rectangles with
    // a count of 0 clear nothing (nor does a refused clear), a count without rectangles the whole viewport.
    const D3DRECT rect{2, 2, 6, 6};
    EXPECT_EQ(device_->Clear(0, &rect, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(Count(kBlackPixel), std::size_t{width_} * height_);
    EXPECT_EQ(device_->Clear(1, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(Count(kRedPixel), std::size_t{width_} * height_);
    device_->Release();
    device_ = nullptr;

    pp.EnableAutoDepthStencil = FALSE;
    CreateDevice(pp);
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    EXPECT_FALSE(platform::ReadDepthStencil(device_, nullptr, nullptr, nullptr, nullptr));
}

} // namespace
