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
#include <cstring>
#include <initializer_list>
#include <utility>

namespace render_test {

struct ScreenVertex { // D3DFVF_XYZRHW | D3DFVF_DIFFUSE
    float x, y, z, rhw;
    D3DCOLOR color;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

struct TexturedVertex { // D3DFVF_XYZRHW | D3DFVF_TEX1
    float x, y, z, rhw, u, v;
};
constexpr DWORD kTexturedFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;

// Writes texel(x, y) into every texel of a locked 32-bit level of the given size.
template <typename Texel>
void FillLocked(const D3DLOCKED_RECT& locked, UINT width, UINT height, Texel texel) {
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x)
            reinterpret_cast<D3DCOLOR*>(static_cast<std::uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                texel(x, y);
}

// Fills a level of an A8R8G8B8 or X8R8G8B8 texture, or a face of a cube texture, with texel(x, y).
template <typename Texel> void Fill(IDirect3DTexture9* texture, UINT level, Texel texel) {
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
    FillLocked(locked, desc.Width, desc.Height, texel);
    ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
}
template <typename Texel> void Fill(IDirect3DCubeTexture9* cube, D3DCUBEMAP_FACES face, Texel texel) {
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(cube->GetLevelDesc(0, &desc), D3D_OK);
    ASSERT_EQ(cube->LockRect(face, 0, &locked, nullptr, 0), D3D_OK);
    FillLocked(locked, desc.Width, desc.Height, texel);
    ASSERT_EQ(cube->UnlockRect(face, 0), D3D_OK);
}

using Bgra = std::array<std::uint8_t, 4>;

// A rectangle as a triangle strip, clockwise as Direct3D keeps by default: corner(x, y, s, t) makes the
// vertex at (x, y), s 0 at the left edge and 1 at the right, t 0 at the top and 1 at the bottom.
template <typename Vertex, typename Corner>
std::array<Vertex, 4> Quad(float left, float top, float right, float bottom, Corner corner) {
    return {corner(left, top, 0.0f, 0.0f), corner(right, top, 1.0f, 0.0f), corner(left, bottom, 0.0f, 1.0f),
            corner(right, bottom, 1.0f, 1.0f)};
}

// A float render or sampler state's bits.
inline DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

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

    // Render states or one stage's texture stage states, set in the order given.
    void SetStates(std::initializer_list<std::pair<D3DRENDERSTATETYPE, DWORD>> states) {
        for (const auto& [state, value] : states)
            ASSERT_EQ(device_->SetRenderState(state, value), D3D_OK) << state;
    }
    void SetStageStates(DWORD stage,
                        std::initializer_list<std::pair<D3DTEXTURESTAGESTATETYPE, DWORD>> states) {
        for (const auto& [state, value] : states)
            ASSERT_EQ(device_->SetTextureStageState(stage, state, value), D3D_OK) << stage << " " << state;
    }

    Frame ReadFrame() const {
        Frame frame;
        EXPECT_TRUE(platform::ReadBackBuffer(device_, &frame.bgra, &frame.width, &frame.height));
        return frame;
    }

    // A texture of the device; null, and a failure, when the device refuses.
    IDirect3DTexture9* Texture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                               D3DPOOL pool = D3DPOOL_MANAGED) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device_->CreateTexture(width, height, levels, usage, format, pool, &texture, nullptr),
                  D3D_OK);
        return texture;
    }

    // The draw inside a scene; and on a black target with the depth cleared to 1, read back.
    template <typename Draw> void Scene(Draw draw) {
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        draw();
        EXPECT_EQ(device_->EndScene(), D3D_OK);
    }
    template <typename Draw> Frame DrawFrame(Draw draw, D3DCOLOR clear = 0xFF000000) {
        EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0), D3D_OK);
        Scene(draw);
        return ReadFrame();
    }

    static Bgra ToBgra(D3DCOLOR c) {
        return Bgra{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                    static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 24)};
    }
    static Bgra At(const Frame& frame, unsigned x, unsigned y) {
        const std::size_t i = (std::size_t{y} * frame.width + x) * 4;
        return Bgra{frame.bgra[i], frame.bgra[i + 1], frame.bgra[i + 2], frame.bgra[i + 3]};
    }

    // A user-pointer triangle strip in the given vertex format.
    template <typename Vertex, std::size_t N> void DrawStrip(DWORD fvf, const std::array<Vertex, N>& strip) {
        ASSERT_EQ(device_->SetFVF(fvf), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, N - 2, strip.data(), sizeof(Vertex)), D3D_OK);
    }
    // A rectangle in screen space of one colour, and one with texture coordinates from (u0, v0) at
    // the top left to (u1, v1).
    void DrawScreenRect(float left, float top, float right, float bottom, float z, D3DCOLOR color) {
        DrawStrip(kScreenFvf,
                  Quad<ScreenVertex>(left, top, right, bottom, [&](float x, float y, float, float) {
                      return ScreenVertex{x, y, z, 1.0f, color};
                  }));
    }
    void DrawTexturedRect(float left, float top, float right, float bottom, float u0, float v0, float u1,
                          float v1) {
        DrawStrip(kTexturedFvf,
                  Quad<TexturedVertex>(left, top, right, bottom, [&](float x, float y, float s, float t) {
                      return TexturedVertex{x, y, 0.5f, 1.0f, s != 0 ? u1 : u0, t != 0 ? v1 : v0};
                  }));
    }

    std::size_t baseline_ = 0;
};

} // namespace render_test

#endif
