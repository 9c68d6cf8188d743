// Every texture address mode, point and linear filters for magnification and minification, and the
// mip filter's choice of levels, one draw each onto 8x8 pixels, checked against a reference sampler.
#include "render_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace render_test {
namespace {

constexpr D3DCOLOR kBorder = 0xFF808040;

// Checks: red from the texel's column, green from its row, so a neighbour is always different.
D3DCOLOR Checker(UINT x, UINT y) {
    return 0xFF000040 | ((x & 1) ? 0xFF0000u : 0u) | ((y & 1) ? 0xFF00u : 0u);
}

// A texture coordinate after Direct3D's address mode, in 0..1; outside 0..1 for BORDER.
double Addressed(DWORD mode, double u) {
    switch (mode) {
    case D3DTADDRESS_WRAP:
        return u - std::floor(u);
    case D3DTADDRESS_MIRROR: {
        const double t = u - 2.0 * std::floor(u / 2.0);
        return t > 1.0 ? 2.0 - t : t;
    }
    case D3DTADDRESS_CLAMP:
        return std::clamp(u, 0.0, 1.0);
    case D3DTADDRESS_MIRRORONCE:
        return std::min(std::abs(u), 1.0);
    default:
        return u;
    }
}

// Channel c (0 red, 1 green, 2 blue) of a checker texture of size texels sampled at (u, v), clamped.
double Sampled(UINT size, double u, double v, bool linear, int c) {
    const auto texel = [&](double x, double y) {
        const UINT tx = static_cast<UINT>(std::clamp(x, 0.0, size - 1.0));
        const UINT ty = static_cast<UINT>(std::clamp(y, 0.0, size - 1.0));
        return ((Checker(tx, ty) >> (16 - 8 * c)) & 0xFF) / 255.0;
    };
    if (!linear)
        return texel(std::floor(u * size), std::floor(v * size));
    const double s = u * size - 0.5, t = v * size - 0.5;
    const double x = std::floor(s), y = std::floor(t), fx = s - x, fy = t - y;
    return (texel(x, y) * (1 - fx) + texel(x + 1, y) * fx) * (1 - fy) +
           (texel(x, y + 1) * (1 - fx) + texel(x + 1, y + 1) * fx) * fy;
}

int Byte(D3DCOLOR color, int c) {
    return static_cast<int>((color >> (16 - 8 * c)) & 0xFF);
}

class SamplerTablesTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(8, 8);
        ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
        ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3D_OK);
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_BORDERCOLOR, kBorder), D3D_OK);
        ASSERT_EQ(device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1), D3D_OK);
    }
    void TearDown() override {
        if (texture_) {
            EXPECT_EQ(texture_->Release(), 0u);
        }
        RenderTest::TearDown();
    }

    // A square texture of the given levels; texel(level, x, y) gives each colour.
    void CreateTexture(UINT size, UINT levels, const std::function<D3DCOLOR(UINT, UINT, UINT)>& texel) {
        ASSERT_EQ(device_->CreateTexture(size, size, levels, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture_,
                                         nullptr),
                  D3D_OK);
        for (UINT level = 0; level < levels; ++level)
            Fill(texture_, level, [&](UINT x, UINT y) { return texel(level, x, y); });
        ASSERT_EQ(device_->SetTexture(0, texture_), D3D_OK);
    }
    void Sampler(D3DSAMPLERSTATETYPE type, DWORD value) {
        ASSERT_EQ(device_->SetSamplerState(0, type, value), D3D_OK);
    }
    // The 8x8 target covered by texture coordinates from start to start + span on both axes:
    // pixel i samples start + (i + 0.5) * span / 8.
    Frame Draw(float start, float span) {
        const float end = start + span;
        return DrawFrame([&] { DrawTexturedRect(-0.5f, -0.5f, 7.5f, 7.5f, start, start, end, end); });
    }
    static double Coordinate(double start, double span, unsigned i) { return start + (i + 0.5) * span / 8.0; }

    IDirect3DTexture9* texture_ = nullptr;
};

TEST_F(SamplerTablesTest, AddressModesFoldCoordinatesOutsideTheTexture) {
    CreateTexture(2, 1, [](UINT, UINT x, UINT y) { return Checker(x, y); });
    for (DWORD mode = D3DTADDRESS_WRAP; mode <= D3DTADDRESS_MIRRORONCE; ++mode) {
        Sampler(D3DSAMP_ADDRESSU, mode);
        Sampler(D3DSAMP_ADDRESSV, mode);
        const Frame frame = Draw(-2.0f, 4.0f);
        for (unsigned y = 0; y < 8; ++y)
            for (unsigned x = 0; x < 8; ++x) {
                const double u = Addressed(mode, Coordinate(-2, 4, x)),
                             v = Addressed(mode, Coordinate(-2, 4, y));
                const bool border = u < 0 || u > 1 || v < 0 || v > 1;
                for (int c = 0; c < 3; ++c)
                    EXPECT_EQ(At(frame, x, y)[2 - c],
                              border ? Byte(kBorder, c) : std::lround(Sampled(2, u, v, false, c) * 255))
                        << "mode " << mode << " at " << x << "," << y << " channel " << c;
            }
    }
}

TEST_F(SamplerTablesTest, MinAndMagFiltersApplyToTheirOwnScale) {
    struct Case {
        UINT size; // 2 texels magnified, 16 minified onto 8 pixels
        DWORD min, mag;
        float start; // a sixty-fourth off the texel edges where 16 texels fall on 8 pixels
    };
    const Case cases[] = {{2, D3DTEXF_POINT, D3DTEXF_LINEAR, 0.0f},
                          {2, D3DTEXF_LINEAR, D3DTEXF_POINT, 0.0f},
                          {16, D3DTEXF_POINT, D3DTEXF_LINEAR, 1.0f / 64},
                          {16, D3DTEXF_LINEAR, D3DTEXF_POINT, 1.0f / 64}};
    Sampler(D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    Sampler(D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    for (const Case& k : cases) {
        CreateTexture(k.size, 1, [](UINT, UINT x, UINT y) { return Checker(x, y); });
        Sampler(D3DSAMP_MINFILTER, k.min);
        Sampler(D3DSAMP_MAGFILTER, k.mag);
        const Frame frame = Draw(k.start, 1.0f);
        const bool linear = (k.size > 8 ? k.min : k.mag) == D3DTEXF_LINEAR;
        for (unsigned y = 0; y < 8; ++y)
            for (unsigned x = 0; x < 8; ++x)
                for (int c = 0; c < 3; ++c) {
                    const double expected =
                        Sampled(k.size, Coordinate(k.start, 1, x), Coordinate(k.start, 1, y), linear, c);
                    EXPECT_LE(std::abs(At(frame, x, y)[2 - c] - expected * 255), 1.5)
                        << k.size << " texels, min " << k.min << " mag " << k.mag << " at " << x << "," << y;
                }
        ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
        texture_->Release();
        texture_ = nullptr;
    }
}

TEST_F(SamplerTablesTest, MipFilterSelectsAndBlendsLevels) {
    // Each level of a 16x16 texture one colour. Between levels only a level of detail of x.5 is
    // checked: llvmpipe, as GL allows, sharpens the blend towards the nearer level.
    static const D3DCOLOR kLevels[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    struct Case {
        DWORD mip, maxLevel;
        float lod;
        double weights[3]; // of levels 0, 1, 2
    };
    const Case cases[] = {{D3DTEXF_NONE, 0, 1.25f, {1, 0, 0}},
                          {D3DTEXF_POINT, 0, 1.25f, {0, 1, 0}},
                          {D3DTEXF_POINT, 0, 1.75f, {0, 0, 1}},
                          {D3DTEXF_LINEAR, 0, 1.5f, {0, 0.5, 0.5}},
                          {D3DTEXF_POINT, 2, 1.25f, {0, 0, 1}}};
    CreateTexture(16, 5, [](UINT level, UINT, UINT) { return kLevels[level]; });
    for (const Case& k : cases) {
        Sampler(D3DSAMP_MIPFILTER, k.mip);
        Sampler(D3DSAMP_MAXMIPLEVEL, k.maxLevel);
        const Bgra pixel = At(Draw(0.0f, std::pow(2.0f, k.lod) / 2.0f), 4, 4);
        for (int c = 0; c < 3; ++c) {
            double expected = 0;
            for (int level = 0; level < 3; ++level)
                expected += k.weights[level] * Byte(kLevels[level], c);
            EXPECT_LE(std::abs(pixel[2 - c] - expected), 2)
                << "mip " << k.mip << " max level " << k.maxLevel << " lod " << k.lod;
        }
    }
}

} // namespace
} // namespace render_test
