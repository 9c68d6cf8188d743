// Copies between surfaces: ColorFill, StretchRect, UpdateSurface, UpdateTexture (with dirty regions)
// and GetRenderTargetData, checked byte for byte, and their refusals.
#include "resource_fixture.h"

#include <algorithm>

namespace {

using CopiesTest = ResourceFixture;

std::uint32_t PixelAt(const std::vector<std::uint8_t>& bytes, UINT width, UINT x, UINT y) {
    const std::size_t i = (std::size_t{y} * width + x) * 4;
    return std::uint32_t{bytes[i]} | std::uint32_t{bytes[i + 1]} << 8 | std::uint32_t{bytes[i + 2]} << 16 |
           std::uint32_t{bytes[i + 3]} << 24;
}

TEST_F(CopiesTest, ColorFillAndStretchRectLandWhereDirect3DPutsThem) {
    IDirect3DSurface9* source = RenderTarget(4, 4, D3DFMT_A8R8G8B8);
    IDirect3DSurface9* target = RenderTarget(8, 8, D3DFMT_A8R8G8B8);
    ASSERT_EQ(device_->ColorFill(source, nullptr, 0xFF000080), D3D_OK);
    const RECT topLeft{0, 0, 2, 1};
    ASSERT_EQ(device_->ColorFill(source, &topLeft, 0x80FF0000), D3D_OK);
    const std::vector<std::uint8_t> filled = TargetBytes(source, 16);
    EXPECT_EQ(PixelAt(filled, 4, 1, 0), 0x80FF0000u);
    EXPECT_EQ(PixelAt(filled, 4, 2, 0), 0xFF000080u);
    EXPECT_EQ(PixelAt(filled, 4, 1, 1), 0xFF000080u);

    // Scaled twice with point filtering: every source pixel becomes a 2x2 block, rows top-down.
    ASSERT_EQ(device_->ColorFill(target, nullptr, 0), D3D_OK);
    ASSERT_EQ(device_->StretchRect(source, nullptr, target, nullptr, D3DTEXF_POINT), D3D_OK);
    std::vector<std::uint8_t> stretched = TargetBytes(target, 32);
    EXPECT_EQ(PixelAt(stretched, 8, 3, 1), 0x80FF0000u);
    EXPECT_EQ(PixelAt(stretched, 8, 4, 1), 0xFF000080u);
    EXPECT_EQ(PixelAt(stretched, 8, 3, 2), 0xFF000080u);
    // Into a rectangle of the target, from a rectangle of the source.
    ASSERT_EQ(device_->ColorFill(target, nullptr, 0), D3D_OK);
    const RECT corner{6, 6, 8, 8};
    ASSERT_EQ(device_->StretchRect(source, &topLeft, target, &corner, D3DTEXF_POINT), D3D_OK);
    stretched = TargetBytes(target, 32);
    EXPECT_EQ(PixelAt(stretched, 8, 7, 7), 0x80FF0000u);
    EXPECT_EQ(PixelAt(stretched, 8, 5, 7), 0u);

    const RECT outside{0, 0, 5, 4};
    EXPECT_EQ(device_->StretchRect(source, &outside, target, nullptr, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->StretchRect(source, nullptr, target, nullptr, D3DTEXF_ANISOTROPIC),
              D3DERR_INVALIDCALL);
    const RECT left{0, 0, 2, 2};
    const RECT overlapping{1, 1, 3, 3};
    EXPECT_EQ(device_->StretchRect(source, &left, source, &overlapping, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->ColorFill(source, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->StretchRect(nullptr, nullptr, target, nullptr, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    // GetRenderTargetData wants a system-memory surface of the same size and format.
    IDirect3DSurface9* wrongSize = PlainSurface(8, 8, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(device_->GetRenderTargetData(source, wrongSize), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetRenderTargetData(wrongSize, target), D3DERR_INVALIDCALL);
    // A system-memory surface is no render target and no video memory to fill.
    EXPECT_EQ(device_->ColorFill(wrongSize, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->StretchRect(wrongSize, nullptr, target, nullptr, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    wrongSize->Release();
    source->Release();
    target->Release();
}

// A DXT plain surface fills in whole blocks that decode to the colour: both endpoints its R5G6B5
// (green 0x07E0, red 0xF800), every index 0; DXT1 below half alpha takes index 3 (transparent),
// DXT3 the 4-bit alpha (0x80 * 15 / 255 = 8), DXT5 the alpha as both alpha endpoints.
TEST_F(CopiesTest, ColorFillWritesWholeDxtBlocks) {
    struct Case {
        D3DFORMAT format;
        D3DCOLOR colour;
        std::vector<int> block;
    };
    const Case cases[] = {
        {D3DFMT_DXT1, 0xFF00FF00, {0xE0, 0x07, 0xE0, 0x07, 0, 0, 0, 0}},
        {D3DFMT_DXT1, 0x00FF0000, {0x00, 0xF8, 0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF}},
        {D3DFMT_DXT3,
         0x80FF0000,
         {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0, 0xF8, 0, 0xF8, 0, 0, 0, 0}},
        {D3DFMT_DXT5, 0x80FF0000, {0x80, 0x80, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0, 0xF8, 0, 0, 0, 0}},
    };
    const RECT aligned{4, 0, 8, 4}, misaligned{2, 0, 8, 4};
    for (const Case& c : cases) {
        IDirect3DSurface9* surface = PlainSurface(8, 8, c.format, D3DPOOL_DEFAULT);
        ASSERT_EQ(device_->ColorFill(surface, nullptr, c.colour), D3D_OK);
        EXPECT_EQ(device_->ColorFill(surface, &aligned, c.colour), D3D_OK);
        EXPECT_EQ(device_->ColorFill(surface, &misaligned, c.colour), D3DERR_INVALIDCALL);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        const auto* last = static_cast<const std::uint8_t*>(locked.pBits) + locked.Pitch + c.block.size();
        EXPECT_EQ(std::vector<int>(last, last + c.block.size()), c.block) << c.format << " " << c.colour;
        ASSERT_EQ(surface->UnlockRect(), D3D_OK);
        surface->Release();
    }
}

TEST_F(CopiesTest, UpdatesCopySystemMemoryIntoVideoMemory) {
    IDirect3DSurface9* source = PlainSurface(4, 4, D3DFMT_L8, D3DPOOL_SYSTEMMEM);
    IDirect3DSurface9* plain = PlainSurface(8, 8, D3DFMT_L8, D3DPOOL_DEFAULT);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(source->LockRect(&locked, nullptr, 0), D3D_OK);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            static_cast<std::uint8_t*>(locked.pBits)[row * locked.Pitch + column] =
                static_cast<std::uint8_t>(row * 16 + column);
    ASSERT_EQ(source->UnlockRect(), D3D_OK);
    ASSERT_EQ(plain->LockRect(&locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    std::memset(locked.pBits, 0xEE, std::size_t{8} * static_cast<UINT>(locked.Pitch));
    ASSERT_EQ(plain->UnlockRect(), D3D_OK);

    const RECT part{1, 2, 3, 4};
    const POINT at{5, 0};
    ASSERT_EQ(device_->UpdateSurface(source, &part, plain, &at), D3D_OK);
    ASSERT_EQ(plain->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* bytes = static_cast<const std::uint8_t*>(locked.pBits);
    // Rows 0 and 1, columns 4 to 7, and row 2's column 5.
    EXPECT_EQ((std::vector<int>{bytes[4], bytes[5], bytes[6], bytes[7], bytes[locked.Pitch + 5],
                                bytes[locked.Pitch + 6], bytes[2 * locked.Pitch + 5]}),
              (std::vector<int>{0xEE, 2 * 16 + 1, 2 * 16 + 2, 0xEE, 3 * 16 + 1, 3 * 16 + 2, 0xEE}));
    ASSERT_EQ(plain->UnlockRect(), D3D_OK);
    const POINT tooFar{7, 0};
    EXPECT_EQ(device_->UpdateSurface(source, &part, plain, &tooFar), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->UpdateSurface(plain, nullptr, source, nullptr), D3DERR_INVALIDCALL);
    source->Release();
    plain->Release();

    // UpdateTexture: a source with more levels gives its matching ones.
    IDirect3DTexture9* staging = Texture(8, 8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    IDirect3DTexture9* texture = Texture(4, 4, 0, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    for (UINT level = 0; level < staging->GetLevelCount(); ++level) {
        ASSERT_EQ(staging->LockRect(level, &locked, nullptr, 0), D3D_OK);
        static_cast<std::uint32_t*>(locked.pBits)[0] = 0xA0000000u + level;
        ASSERT_EQ(staging->UnlockRect(level), D3D_OK);
    }
    ASSERT_EQ(device_->UpdateTexture(staging, texture), D3D_OK);
    for (UINT level = 0; level < texture->GetLevelCount(); ++level) {
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        EXPECT_EQ(static_cast<std::uint32_t*>(locked.pBits)[0], 0xA0000001u + level);
        ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
    }
    EXPECT_EQ(device_->UpdateTexture(texture, staging), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->UpdateTexture(staging, nullptr), D3DERR_INVALIDCALL);
    staging->Release();
    texture->Release();
}

// UpdateTexture copies the source's dirty region only, scaled down the levels, and cleans the source.
// Each step fills both source levels with its value without dirtying, dirties as it says, updates,
// and reads level 0 at (0, 0), (2, 2), (7, 7) and level 1 at (1, 1): (2, 2) to (3, 3) at level 0 is
// (1, 1) to (1.5, 1.5) at level 1, rounded outward to (1, 1) to (2, 2).
TEST_F(CopiesTest, UpdateTextureCopiesTheDirtyRegion) {
    IDirect3DTexture9* staging = Texture(8, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    IDirect3DTexture9* texture = Texture(8, 8, 2, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    enum Dirty { kNone, kAddDirtyRect, kLock, kReadOnlyLock };
    struct Step {
        std::uint32_t value;
        Dirty dirty;
        RECT rect;
        std::uint32_t expected[4];
    };
    const Step steps[] = {
        {0x11, kNone, {}, {0x11, 0x11, 0x11, 0x11}}, // a new texture is dirty all over
        {0x22, kNone, {}, {0x11, 0x11, 0x11, 0x11}}, // the update cleaned it
        {0x33, kAddDirtyRect, {2, 2, 3, 3}, {0x11, 0x33, 0x11, 0x33}},
        {0x44, kLock, {6, 6, 8, 8}, {0x11, 0x33, 0x44, 0x33}}, // level 1: (3, 3) only
        {0x55, kReadOnlyLock, {0, 0, 8, 8}, {0x11, 0x33, 0x44, 0x33}},
    };
    D3DLOCKED_RECT locked{};
    const auto texel = [&](UINT level, UINT x, UINT y) {
        EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        const std::uint32_t value = static_cast<const std::uint32_t*>(locked.pBits)[y * locked.Pitch / 4 + x];
        texture->UnlockRect(level);
        return value;
    };
    for (const Step& step : steps) {
        for (UINT level = 0; level < 2; ++level) {
            ASSERT_EQ(staging->LockRect(level, &locked, nullptr, D3DLOCK_NO_DIRTY_UPDATE), D3D_OK);
            std::fill_n(static_cast<std::uint32_t*>(locked.pBits), (8 >> level) * locked.Pitch / 4,
                        step.value);
            ASSERT_EQ(staging->UnlockRect(level), D3D_OK);
        }
        if (step.dirty == kAddDirtyRect) {
            ASSERT_EQ(staging->AddDirtyRect(&step.rect), D3D_OK);
        } else if (step.dirty != kNone) {
            ASSERT_EQ(staging->LockRect(0, &locked, &step.rect, step.dirty == kLock ? 0 : D3DLOCK_READONLY),
                      D3D_OK);
            ASSERT_EQ(staging->UnlockRect(0), D3D_OK);
        }
        ASSERT_EQ(device_->UpdateTexture(staging, texture), D3D_OK);
        EXPECT_EQ(
            (std::vector<std::uint32_t>{texel(0, 0, 0), texel(0, 2, 2), texel(0, 7, 7), texel(1, 1, 1)}),
            std::vector<std::uint32_t>(step.expected, step.expected + 4))
            << step.value;
    }
    const RECT outside{6, 0, 9, 2}, inverted{4, 4, 2, 2};
    EXPECT_EQ(staging->AddDirtyRect(&outside), D3DERR_INVALIDCALL);
    EXPECT_EQ(staging->AddDirtyRect(&inverted), D3DERR_INVALIDCALL);
    staging->Release();
    texture->Release();
}

} // namespace
