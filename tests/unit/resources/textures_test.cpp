// Mip chains and level descriptions, cube faces and volume slices, and the lock rules of textures
// (drawing into cube faces: tests/render/render_targets_test.cpp).
#include "resource_fixture.h"

#include <algorithm>
#include <tuple>

namespace {

using TexturesTest = ResourceFixture;

TEST_F(TexturesTest, LevelsFollowTheMipChainAndDescribeEachLevel) {
    IDirect3DTexture9* texture = Texture(64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    ASSERT_EQ(texture->GetLevelCount(), 7u);
    D3DSURFACE_DESC desc{};
    for (UINT level = 0; level < 7; ++level) {
        ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
        EXPECT_EQ(std::make_tuple(desc.Width, desc.Height, desc.Format, desc.Pool, desc.Type),
                  std::make_tuple(64u >> level, std::max(16u >> level, 1u), D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                  D3DRTYPE_SURFACE));
    }
    EXPECT_EQ(texture->GetLevelDesc(7, &desc), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->GetType(), D3DRTYPE_TEXTURE);
    texture->Release();

    // Levels past the chain are refused; a generated chain shows one level.
    EXPECT_EQ(device_->CreateTexture(8, 8, 5, 0, D3DFMT_L8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    texture =
        Texture(8, 8, 0, D3DUSAGE_AUTOGENMIPMAP | D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    EXPECT_EQ(texture->GetAutoGenFilterType(), D3DTEXF_LINEAR);
    EXPECT_EQ(texture->SetAutoGenFilterType(D3DTEXF_NONE), D3DERR_INVALIDCALL);
    texture->Release();

    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(device_->CreateCubeTexture(16, 0, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
    EXPECT_EQ(cube->GetLevelCount(), 5u);
    ASSERT_EQ(cube->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(cube->GetType(), D3DRTYPE_CUBETEXTURE);
    // Faces past the sixth and levels past the chain have no surface.
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(cube->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(6), 0, &surface), D3DERR_INVALIDCALL);
    EXPECT_EQ(cube->GetCubeMapSurface(D3DCUBEMAP_FACE_POSITIVE_X, 5, &surface), D3DERR_INVALIDCALL);
    EXPECT_EQ(surface, nullptr);
    cube->Release();

    IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(device_->CreateVolumeTexture(8, 4, 2, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &volume, nullptr),
              D3D_OK);
    EXPECT_EQ(volume->GetLevelCount(), 4u);
    D3DVOLUME_DESC volumeDesc{};
    ASSERT_EQ(volume->GetLevelDesc(1, &volumeDesc), D3D_OK);
    EXPECT_EQ(std::make_tuple(volumeDesc.Width, volumeDesc.Height, volumeDesc.Depth, volumeDesc.Type),
              std::make_tuple(4u, 2u, 1u, D3DRTYPE_VOLUME));
    EXPECT_EQ(volume->GetType(), D3DRTYPE_VOLUMETEXTURE);
    volume->Release();
}

TEST_F(TexturesTest, LocksFollowDirect3DsRules) {
    IDirect3DTexture9* texture = Texture(16, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    D3DLOCKED_RECT locked{}, whole{};
    const RECT inside{4, 2, 8, 6};
    ASSERT_EQ(texture->LockRect(0, &locked, &inside, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 64);
    EXPECT_EQ(texture->LockRect(0, &whole, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(whole.pBits, nullptr);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    // The rectangle's first pixel is where the pointer points.
    ASSERT_EQ(texture->LockRect(0, &whole, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(locked.pBits) - static_cast<std::uint8_t*>(whole.pBits),
              2 * 64 + 4 * 4);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    for (const RECT& bad : {RECT{8, 0, 17, 4}, RECT{8, 4, 4, 6}})
        EXPECT_EQ(texture->LockRect(0, &locked, &bad, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->LockRect(2, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->LockRect(0, nullptr, nullptr, 0), D3DERR_INVALIDCALL);
    // A level's own surface locks the same level.
    IDirect3DSurface9* level1 = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level1), D3D_OK);
    ASSERT_EQ(level1->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 32);
    EXPECT_EQ(texture->LockRect(1, &whole, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->UnlockRect(1), D3D_OK);
    level1->Release();
    texture->Release();

    // Video-memory textures lock only when dynamic, render targets never; DXT locks whole blocks.
    for (const DWORD usage : {0L, D3DUSAGE_RENDERTARGET}) {
        texture = Texture(16, 16, 1, usage, usage ? D3DFMT_A8R8G8B8 : D3DFMT_DXT5, D3DPOOL_DEFAULT);
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
        texture->Release();
    }
    texture = Texture(16, 16, 1, 0, D3DFMT_DXT5, D3DPOOL_SYSTEMMEM);
    const RECT unaligned{2, 0, 8, 4}, blocks{4, 4, 12, 8};
    EXPECT_EQ(texture->LockRect(0, &locked, &unaligned, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(texture->LockRect(0, &locked, &blocks, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 4 * 16); // a row of four blocks
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    texture->Release();
}

TEST_F(TexturesTest, VolumesLockBoxesSliceBySlice) {
    IDirect3DVolumeTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateVolumeTexture(4, 2, 3, 1, D3DUSAGE_DYNAMIC, D3DFMT_L8, D3DPOOL_DEFAULT, &texture,
                                           nullptr),
              D3D_OK);
    D3DLOCKED_BOX locked{};
    ASSERT_EQ(texture->LockBox(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(locked.RowPitch, 4);
    EXPECT_EQ(locked.SlicePitch, 8);
    for (int i = 0; i < 24; ++i)
        static_cast<std::uint8_t*>(locked.pBits)[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(texture->UnlockBox(0), D3D_OK);

    IDirect3DVolume9* volume = nullptr;
    ASSERT_EQ(texture->GetVolumeLevel(0, &volume), D3D_OK);
    EXPECT_EQ(CountOf(texture), 2u);
    const D3DBOX box{1, 1, 3, 2, 1, 3};
    ASSERT_EQ(volume->LockBox(&locked, &box, D3DLOCK_READONLY), D3D_OK);
    const auto* bytes = static_cast<const std::uint8_t*>(locked.pBits);
    EXPECT_EQ(std::make_tuple(bytes[0], bytes[1], bytes[locked.SlicePitch]),
              std::make_tuple(8 + 4 + 1, 8 + 4 + 2, 16 + 4 + 1));
    EXPECT_EQ(volume->UnlockBox(), D3D_OK);
    const D3DBOX tooDeep{0, 0, 4, 2, 2, 4};
    EXPECT_EQ(volume->LockBox(&locked, &tooDeep, 0), D3DERR_INVALIDCALL);
    IDirect3DVolumeTexture9* container = nullptr;
    ASSERT_EQ(volume->GetContainer(IID_IDirect3DVolumeTexture9, reinterpret_cast<void**>(&container)),
              D3D_OK);
    EXPECT_EQ(container, texture);
    container->Release();
    EXPECT_EQ(volume->Release(), 1u);
    EXPECT_EQ(texture->Release(), 0u);
}

} // namespace
