// A stand-in window and an IDirect3D9, helpers to create a device on them and read its pixels. Every
// test ends with as many live platform objects as it started with.
#ifndef VTR3_TESTS_UNIT_DEVICE_DEVICE_FIXTURE_H
#define VTR3_TESTS_UNIT_DEVICE_DEVICE_FIXTURE_H

#include "stand_in_device.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

class DeviceFixture : public ::testing::Test, protected StandInDevice {
  public:
    using Pixel = std::array<std::uint8_t, 4>; // B, G, R, A

  protected:
    static constexpr int kWindowWidth = 64;
    static constexpr int kWindowHeight = 48;

    void SetUp() override {
        baseline_ = platform::LiveObjectCount();
        ASSERT_TRUE(Open(kWindowWidth, kWindowHeight, "device test"));
    }

    void TearDown() override {
        EXPECT_EQ(Close(), 0u);
        EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    }

    // Creates device_ with the given parameters (default: Parameters()).
    void CreateDevice() {
        D3DPRESENT_PARAMETERS pp = Parameters();
        CreateDevice(pp);
    }
    void CreateDevice(D3DPRESENT_PARAMETERS pp) { ASSERT_EQ(Create(&pp, &device_), D3D_OK); }

    // device_'s render, texture-stage and sampler states through its getters; 0xDEADBEEF (and a
    // failure) where a getter refuses.
    DWORD Render(D3DRENDERSTATETYPE state) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(device_->GetRenderState(state, &value), D3D_OK);
        return value;
    }
    DWORD Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(device_->GetTextureStageState(stage, type, &value), D3D_OK);
        return value;
    }
    DWORD Sampler(DWORD sampler, D3DSAMPLERSTATETYPE type) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(device_->GetSamplerState(sampler, type, &value), D3D_OK);
        return value;
    }

    // Resources of device_; null, and a failure, when the device refuses.
    IDirect3DTexture9* Texture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                               D3DPOOL pool) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device_->CreateTexture(width, height, levels, usage, format, pool, &texture, nullptr),
                  D3D_OK);
        return texture;
    }
    IDirect3DSurface9* RenderTarget(UINT width, UINT height, D3DFORMAT format) {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(device_->CreateRenderTarget(width, height, format, D3DMULTISAMPLE_NONE, 0, FALSE, &surface,
                                              nullptr),
                  D3D_OK);
        return surface;
    }
    IDirect3DSurface9* PlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool) {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(device_->CreateOffscreenPlainSurface(width, height, format, pool, &surface, nullptr),
                  D3D_OK);
        return surface;
    }

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
    std::vector<std::uint8_t> pixels_;
    UINT width_ = 0;
    UINT height_ = 0;
};

#endif
