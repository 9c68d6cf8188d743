// A stand-in window, an IDirect3D9 and helpers to create a device on them and read its pixels. Every
// test ends with as many live platform objects as it started with.
#ifndef VTR3_TESTS_UNIT_DEVICE_DEVICE_FIXTURE_H
#define VTR3_TESTS_UNIT_DEVICE_DEVICE_FIXTURE_H

#include "platform_control.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

class DeviceFixture : public ::testing::Test {
  public:
    using Pixel = std::array<std::uint8_t, 4>; // B, G, R, A

  protected:
    static constexpr int kWindowWidth = 64;
    static constexpr int kWindowHeight = 48;

    void SetUp() override {
        baseline_ = platform::LiveObjectCount();
        window_ = platform::CreateStandInWindow(kWindowWidth, kWindowHeight, "device test");
        direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(direct3d_, nullptr);
    }

    void TearDown() override {
        if (device_) {
            EXPECT_EQ(device_->Release(), 0u);
        }
        if (direct3d_) {
            EXPECT_EQ(direct3d_->Release(), 0u);
        }
        platform::DestroyStandInWindow(window_);
        EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    }

    // Windowed, the window's size, X8R8G8B8 with a D24S8 depth-stencil surface.
    D3DPRESENT_PARAMETERS Parameters() const {
        D3DPRESENT_PARAMETERS pp{};
        pp.Windowed = TRUE;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        return pp;
    }

    HRESULT Create(D3DPRESENT_PARAMETERS* pp, IDirect3DDevice9** device,
                   DWORD flags = D3DCREATE_HARDWARE_VERTEXPROCESSING) {
        return direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, flags, pp, device);
    }

    // Creates device_ with the given parameters (default: Parameters()).
    void CreateDevice() {
        D3DPRESENT_PARAMETERS pp = Parameters();
        CreateDevice(pp);
    }
    void CreateDevice(D3DPRESENT_PARAMETERS pp) { ASSERT_EQ(Create(&pp, &device_), D3D_OK); }

    // The back buffer as B, G, R, A bytes, row 0 at the top.
    void ReadBack() {
        ASSERT_TRUE(platform::ReadBackBuffer(device_, &pixels_, &width_, &height_));
        ASSERT_EQ(pixels_.size(), std::size_t{width_} * height_ * 4);
    }
    Pixel At(UINT x, UINT y) const {
        const std::size_t i = (std::size_t{y} * width_ + x) * 4;
        return Pixel{pixels_[i], pixels_[i + 1], pixels_[i + 2], pixels_[i + 3]};
    }
    // How many pixels of the back buffer hold the given colour.
    std::size_t Count(const Pixel& colour) const {
        std::size_t count = 0;
        for (UINT y = 0; y < height_; ++y)
            for (UINT x = 0; x < width_; ++x)
                count += At(x, y) == colour;
        return count;
    }

    std::size_t baseline_ = 0;
    HWND window_ = nullptr;
    IDirect3D9* direct3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    std::vector<std::uint8_t> pixels_;
    UINT width_ = 0;
    UINT height_ = 0;
};

#endif
