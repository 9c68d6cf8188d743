// Every texture address mode, point and linear filters for magnification and minification, and the mip
// filter's choice of levels, one draw each onto 8x8 pixels of a 2D, a volume (one slice) and a cube texture
// (its +z face), checked against a reference sampler.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iterator>

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

enum Kind { kFlat, kVolume, kCube };
// Each address row sets U to a mode and V to the next.
constexpr DWORD kAddressModes[] = {D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR, D3DTADDRESS_CLAMP,
                                   D3DTADDRESS_BORDER, D3DTADDRESS_MIRRORONCE};
DWORD AddressBit(DWORD mode) { // MIRRORONCE's bit follows INDEPENDENTUV's
    return mode == D3DTADDRESS_MIRRORONCE ? D3DPTADDRESSCAPS_MIRRORONCE : CapBit(mode);
}
struct FilterCase {
    UINT size; // 2 texels magnified, 16 minified onto 8 pixels
    DWORD min, mag;
    float start; // a sixty-fourth off the texel edges where 16 texels fall on 8 pixels
};
const FilterCase kFilterCases[] = {{2, D3DTEXF_POINT, D3DTEXF_LINEAR, 0.0f},
                                   {2, D3DTEXF_LINEAR, D3DTEXF_POINT, 0.0f},
                                   {16, D3DTEXF_POINT, D3DTEXF_LINEAR, 1.0f / 64},
                                   {16, D3DTEXF_LINEAR, D3DTEXF_POINT, 1.0f / 64}};
struct MipCase {
    DWORD mip, maxLevel;
    float lod;
    double weights[3]; // of levels 0, 1, 2
    float bias = 0.0f;
};
const MipCase kMipCases[] = {
    {D3DTEXF_NONE, 0, 1.25f, {1, 0, 0}},  {D3DTEXF_POINT, 0, 1.25f, {0, 1, 0}},
    {D3DTEXF_POINT, 0, 1.75f, {0, 0, 1}}, {D3DTEXF_LINEAR, 0, 1.5f, {0, 0.5, 0.5}},
    {D3DTEXF_POINT, 2, 1.25f, {0, 0, 1}}, {D3DTEXF_POINT, 0, 0.75f, {0, 0, 1}, 1.0f}};
// The caps bit of a filter, given the field's POINT bit (LINEAR's follows it).
DWORD FilterBit(DWORD filter, DWORD point) {
    return filter == D3DTEXF_NONE ? 0 : point << (filter - 1);
}
DWORD FilterBits() {
    return BitsOf(kFilterCases,
                  [](const FilterCase& k) {
                      return FilterBit(k.min, D3DPTFILTERCAPS_MINFPOINT) |
                             FilterBit(k.mag, D3DPTFILTERCAPS_MAGFPOINT);
                  }) |
           BitsOf(kMipCases, [](const MipCase& k) { return FilterBit(k.mip, D3DPTFILTERCAPS_MIPFPOINT); });
}
const DWORD kAddressed = D3DPTADDRESSCAPS_INDEPENDENTUV | BitsOf(kAddressModes, AddressBit);
const Exercises kExercised{{&D3DCAPS9::TextureAddressCaps, kAddressed},
                           {&D3DCAPS9::VolumeTextureAddressCaps, kAddressed},
                           {&D3DCAPS9::TextureFilterCaps, FilterBits()},
                           {&D3DCAPS9::VolumeTextureFilterCaps, FilterBits()},
                           {&D3DCAPS9::CubeTextureFilterCaps, FilterBits()},
                           {&D3DCAPS9::TextureCaps, D3DPTEXTURECAPS_MIPMAP | D3DPTEXTURECAPS_VOLUMEMAP |
                                                        D3DPTEXTURECAPS_MIPVOLUMEMAP |
                                                        D3DPTEXTURECAPS_CUBEMAP | D3DPTEXTURECAPS_MIPCUBEMAP},
                           {&D3DCAPS9::RasterCaps, BitsOf(kMipCases, [](const MipCase& k) {
                                return k.bias != 0.0f ? DWORD{D3DPRASTERCAPS_MIPMAPLODBIAS} : 0;
                            })}};

class SamplerTablesTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(8, 8);
        ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
        ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3D_OK);
        ASSERT_EQ(device_->SetSamplerState(0, D3DSAMP_BORDERCOLOR, kBorder), D3D_OK);
    }
    void TearDown() override {
        ReleaseTexture();
        RenderTest::TearDown();
    }

    // A square texture of the given levels (every cube face the same, volumes one deep); texel(level,
    // x, y) gives each colour.
    void CreateTexture(Kind kind, UINT size, UINT levels,
                       const std::function<D3DCOLOR(UINT, UINT, UINT)>& texel) {
        ReleaseTexture();
        IDirect3DTexture9* flat = nullptr;
        IDirect3DVolumeTexture9* volume = nullptr;
        IDirect3DCubeTexture9* cube = nullptr;
        const D3DFORMAT format = D3DFMT_A8R8G8B8;
        const D3DPOOL pool = D3DPOOL_MANAGED;
        const HRESULT created =
            kind == kFlat ? device_->CreateTexture(size, size, levels, 0, format, pool, &flat, nullptr)
            : kind == kVolume
                ? device_->CreateVolumeTexture(size, size, 1, levels, 0, format, pool, &volume, nullptr)
                : device_->CreateCubeTexture(size, levels, 0, format, pool, &cube, nullptr);
        ASSERT_EQ(created, D3D_OK);
        for (UINT level = 0; level < levels; ++level)
            for (int face = 0; face < (cube ? 6 : 1); ++face) {
                const auto cubeFace = static_cast<D3DCUBEMAP_FACES>(face);
                D3DLOCKED_RECT locked{};
                D3DLOCKED_BOX box{};
                ASSERT_EQ(flat     ? flat->LockRect(level, &locked, nullptr, 0)
                          : volume ? volume->LockBox(level, &box, nullptr, 0)
                                   : cube->LockRect(cubeFace, level, &locked, nullptr, 0),
                          D3D_OK);
                const UINT side = std::max(size >> level, 1u);
                FillLocked(volume ? D3DLOCKED_RECT{box.RowPitch, box.pBits} : locked, side, side,
                           [&](UINT x, UINT y) { return texel(level, x, y); });
                flat     ? flat->UnlockRect(level)
                : volume ? volume->UnlockBox(level)
                         : cube->UnlockRect(cubeFace, level);
            }
        texture_ = flat     ? static_cast<IDirect3DBaseTexture9*>(flat)
                   : volume ? static_cast<IDirect3DBaseTexture9*>(volume)
                            : cube;
        ASSERT_EQ(device_->SetTexture(0, texture_), D3D_OK);
    }
    void ReleaseTexture() {
        if (texture_) {
            ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
            EXPECT_EQ(texture_->Release(), 0u);
            texture_ = nullptr;
        }
    }
    void Sampler(D3DSAMPLERSTATETYPE type, DWORD value) {
        ASSERT_EQ(device_->SetSamplerState(0, type, value), D3D_OK);
    }
    // The 8x8 target covered by texture coordinates from start to start + span on both axes:
    // pixel i samples start + (i + 0.5) * span / 8.
    // A cube texture's +z face is sampled at (2u - 1, 1 - 2v, 1), a volume's slice at w 0.5.
    Frame Draw(float start, float span, Kind kind = kFlat) {
        const float end = start + span;
        if (kind == kFlat)
            return DrawFrame([&] { DrawTexturedRect(-0.5f, -0.5f, 7.5f, 7.5f, start, start, end, end); });
        struct Vertex {
            float x, y, z, rhw, s, t, r;
        };
        return DrawFrame([&] {
            DrawStrip(D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0),
                      Quad<Vertex>(-0.5f, -0.5f, 7.5f, 7.5f, [&](float x, float y, float s, float t) {
                          const float u = start + s * span, v = start + t * span;
                          return kind == kCube ? Vertex{x, y, 0.5f, 1, 2 * u - 1, 1 - 2 * v, 1}
                                               : Vertex{x, y, 0.5f, 1, u, v, 0.5f};
                      }));
        });
    }
    static double Coordinate(double start, double span, unsigned i) { return start + (i + 0.5) * span / 8.0; }

    IDirect3DBaseTexture9* texture_ = nullptr;
};

TEST_F(SamplerTablesTest, AddressModesFoldCoordinatesOutsideTheTexture) {
    for (Kind kind : {kFlat, kVolume}) {
        CreateTexture(kind, 2, 1, [](UINT, UINT x, UINT y) { return Checker(x, y); });
        for (std::size_t i = 0; i < std::size(kAddressModes); ++i) {
            const DWORD mode = kAddressModes[i], modeV = kAddressModes[(i + 1) % std::size(kAddressModes)];
            Sampler(D3DSAMP_ADDRESSU, mode);
            Sampler(D3DSAMP_ADDRESSV, modeV);
            const Frame frame = Draw(-2.0f, 4.0f, kind);
            for (unsigned y = 0; y < 8; ++y)
                for (unsigned x = 0; x < 8; ++x) {
                    const double u = Addressed(mode, Coordinate(-2, 4, x)),
                                 v = Addressed(modeV, Coordinate(-2, 4, y));
                    const bool border = u < 0 || u > 1 || v < 0 || v > 1;
                    for (int c = 0; c < 3; ++c)
                        EXPECT_EQ(At(frame, x, y)[2 - c],
                                  border ? Byte(kBorder, c) : std::lround(Sampled(2, u, v, false, c) * 255))
                            << "kind " << kind << " mode " << mode << " at " << x << "," << y;
                }
        }
    }
}

TEST_F(SamplerTablesTest, MinAndMagFiltersApplyToTheirOwnScale) {
    Sampler(D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    Sampler(D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    for (Kind kind : {kFlat, kVolume, kCube})
        for (const FilterCase& k : kFilterCases) {
            CreateTexture(kind, k.size, 1, [](UINT, UINT x, UINT y) { return Checker(x, y); });
            Sampler(D3DSAMP_MINFILTER, k.min);
            Sampler(D3DSAMP_MAGFILTER, k.mag);
            const Frame frame = Draw(k.start, 1.0f, kind);
            const bool linear = (k.size > 8 ? k.min : k.mag) == D3DTEXF_LINEAR;
            const unsigned edge = kind == kCube ? 2 : 0; // a cube's edges may filter across faces
            for (unsigned y = edge; y < 8 - edge; ++y)
                for (unsigned x = edge; x < 8 - edge; ++x)
                    for (int c = 0; c < 3; ++c) {
                        const double expected =
                            Sampled(k.size, Coordinate(k.start, 1, x), Coordinate(k.start, 1, y), linear, c);
                        EXPECT_LE(std::abs(At(frame, x, y)[2 - c] - expected * 255), 1.5)
                            << "kind " << kind << ", " << k.size << " texels, min " << k.min << " mag "
                            << k.mag << " at " << x << "," << y;
                    }
        }
}

TEST_F(SamplerTablesTest, MipFilterSelectsAndBlendsLevels) {
    // Each level of a 16x16 texture one colour. Between levels only a level of detail of x.5 is
    // checked: llvmpipe, as GL allows, sharpens the blend towards the nearer level.
    static const D3DCOLOR kLevels[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    for (Kind kind : {kFlat, kVolume, kCube}) {
        CreateTexture(kind, 16, 5, [](UINT level, UINT, UINT) { return kLevels[level]; });
        for (const MipCase& k : kMipCases) {
            Sampler(D3DSAMP_MIPFILTER, k.mip);
            Sampler(D3DSAMP_MAXMIPLEVEL, k.maxLevel);
            Sampler(D3DSAMP_MIPMAPLODBIAS, FloatBits(k.bias));
            const Bgra pixel = At(Draw(0.0f, std::pow(2.0f, k.lod) / 2.0f, kind), 4, 4);
            for (int c = 0; c < 3; ++c) {
                double expected = 0;
                for (int level = 0; level < 3; ++level)
                    expected += k.weights[level] * Byte(kLevels[level], c);
                EXPECT_LE(std::abs(pixel[2 - c] - expected), 2)
                    << "kind " << kind << " mip " << k.mip << " max level " << k.maxLevel << " lod " << k.lod
                    << " bias " << k.bias;
            }
        }
    }
}

} // namespace
} // namespace render_test
