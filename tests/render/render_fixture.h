// A device on a stand-in window of a chosen size, with helpers to draw inside a scene and read the
// back buffer as a frame. Every test ends with as many live platform objects as it started with.
#ifndef VTR3_TESTS_RENDER_RENDER_FIXTURE_H
#define VTR3_TESTS_RENDER_RENDER_FIXTURE_H

#include "golden_image.h"
#include "stand_in_device.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace render_test {

struct ScreenVertex { // D3DFVF_XYZRHW | D3DFVF_DIFFUSE
    float x, y, z, rhw;
    D3DCOLOR color;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

using Bgra = std::array<std::uint8_t, 4>;

class RenderTest : public ::testing::Test, protected StandInDevice {
  protected:
    void TearDown() override {
        EXPECT_EQ(Close(), 0u);
        EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    }

    // Creates the device with an X8R8G8B8 back buffer and a D24S8 depth-stencil surface.
    void CreateDevice(int width, int height) {
        baseline_ = platform::LiveObjectCount();
        ASSERT_EQ(OpenDevice(width, height, "render test"), D3D_OK);
    }

    Frame ReadFrame() const {
        Frame frame;
        EXPECT_TRUE(platform::ReadBackBuffer(device_, &frame.bgra, &frame.width, &frame.height));
        return frame;
    }

    // The draw inside a scene on a black target with the depth cleared to 1, read back.
    template <typename Draw> Frame DrawFrame(Draw draw, D3DCOLOR clear = 0xFF000000) {
        EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0), D3D_OK);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        draw();
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        return ReadFrame();
    }

    static Bgra At(const Frame& frame, unsigned x, unsigned y) {
        const std::size_t i = (std::size_t{y} * frame.width + x) * 4;
        return Bgra{frame.bgra[i], frame.bgra[i + 1], frame.bgra[i + 2], frame.bgra[i + 3]};
    }

    // A rectangle of two triangles in screen space, clockwise as Direct3D keeps by default.
    void DrawScreenRect(float left, float top, float right, float bottom, float z, D3DCOLOR color) {
        const ScreenVertex quad[4] = {{left, top, z, 1.0f, color},
                                      {right, top, z, 1.0f, color},
                                      {left, bottom, z, 1.0f, color},
                                      {right, bottom, z, 1.0f, color}};
        ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    }

    std::size_t baseline_ = 0;
};

} // namespace render_test

#endif
