// What the device refuses, with the driver's codes: formats and usages it cannot take, bad
// arguments, out-of-range buffer locks, and Reset while the caller holds video memory.
#include "resource_fixture.h"

#include <tuple>

namespace {

using RefusalsTest = ResourceFixture;

TEST_F(RefusalsTest, CreationAgreesWithCheckDeviceFormat) {
    for (const D3DFORMAT format :
         {D3DFMT_R8G8B8,  D3DFMT_X8R8G8B8,      D3DFMT_A8R8G8B8, D3DFMT_V8U8, D3DFMT_CxV8U8, D3DFMT_R16F,
          D3DFMT_G16R16F, D3DFMT_A16B16G16R16F, D3DFMT_Q8W8V8U8, D3DFMT_R32F, D3DFMT_D32,    D3DFMT_D16,
          D3DFMT_D24S8,   D3DFMT_D24X8,         D3DFMT_L8,       D3DFMT_A8,   D3DFMT_A8L8,   D3DFMT_DXT1,
          D3DFMT_DXT3,    D3DFMT_DXT5,          D3DFMT_R5G6B5,   D3DFMT_P8,   D3DFMT_UYVY})
        for (const DWORD usage : {0L, D3DUSAGE_RENDERTARGET, D3DUSAGE_DEPTHSTENCIL, D3DUSAGE_DYNAMIC}) {
            const HRESULT check = direct3d_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, usage,
                                                               D3DRTYPE_TEXTURE, format);
            auto* texture = reinterpret_cast<IDirect3DTexture9*>(std::uintptr_t{0x1});
            const HRESULT created = device_->CreateTexture(
                8, 8, 1, usage, format, usage ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &texture, nullptr);
            EXPECT_EQ(check, created == D3D_OK ? D3D_OK : D3DERR_NOTAVAILABLE) << format << " " << usage;
            EXPECT_EQ(created, check == D3D_OK ? D3D_OK : D3DERR_INVALIDCALL) << format << " " << usage;
            if (SUCCEEDED(created))
                texture->Release();
            else
                EXPECT_EQ(texture, nullptr);
        }
    // The format table's render targets: 24-bit RGB never; depth formats need their usage.
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(
        device_->CreateRenderTarget(8, 8, D3DFMT_R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &surface, nullptr),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateOffscreenPlainSurface(8, 8, D3DFMT_D24S8, D3DPOOL_SYSTEMMEM, &surface, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateDepthStencilSurface(8, 8, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                 &surface, nullptr),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->CreateDepthStencilSurface(8, 8, D3DFMT_D32, D3DMULTISAMPLE_NONE, 0, FALSE, &surface,
                                                 nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    surface->Release();
}

TEST_F(RefusalsTest, BadArgumentsAreInvalidCalls) {
    // Bad sizes, pool or shared handle; render targets only in video memory, never dynamic; managed
    // textures never dynamic nor write-only.
    constexpr D3DPOOL kManaged = D3DPOOL_MANAGED;
    const std::tuple<UINT, DWORD, D3DPOOL, bool> cases[] = {
        {0, 0, kManaged, false},
        {1u << 20, 0, kManaged, false},
        {8, 0, static_cast<D3DPOOL>(7), false},
        {8, 0, kManaged, true},
        {8, D3DUSAGE_RENDERTARGET, kManaged, false},
        {8, D3DUSAGE_RENDERTARGET | D3DUSAGE_DYNAMIC, D3DPOOL_DEFAULT, false},
        {8, D3DUSAGE_DYNAMIC, kManaged, false},
        {8, D3DUSAGE_WRITEONLY, kManaged, false}};
    IDirect3DTexture9* texture = nullptr;
    HANDLE shared = nullptr;
    EXPECT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, kManaged, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    for (const auto& [width, usage, pool, withShared] : cases)
        EXPECT_EQ(device_->CreateTexture(width, 8, 1, usage, D3DFMT_A8R8G8B8, pool, &texture,
                                         withShared ? &shared : nullptr),
                  D3DERR_INVALIDCALL)
            << width << " " << usage << " " << pool;
    EXPECT_EQ(texture, nullptr);
    IDirect3DVolumeTexture9* volume = nullptr;
    EXPECT_EQ(device_->CreateVolumeTexture(8, 8, 8, 1, 0, D3DFMT_DXT1, kManaged, &volume, nullptr),
              D3DERR_INVALIDCALL);

    // System-memory textures are not sampled; samplers past the last are no samplers.
    texture = Texture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(device_->SetTexture(0, texture), D3DERR_INVALIDCALL);
    texture->Release();
    texture = Texture(8, 8, 1, 0, D3DFMT_A8R8G8B8, kManaged);
    EXPECT_EQ(device_->SetTexture(16, texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTexture(D3DVERTEXTEXTURESAMPLER3 + 1, texture), D3DERR_INVALIDCALL);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    // Not a render target, not a depth buffer.
    EXPECT_EQ(device_->SetRenderTarget(0, level), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetDepthStencilSurface(level), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetRenderTarget(4, nullptr), D3DERR_INVALIDCALL);
    level->Release();
    texture->Release();
    IDirect3DBaseTexture9* bound = nullptr;
    EXPECT_EQ(device_->GetTexture(300, &bound), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetTexture(0, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(RefusalsTest, BuffersLockInsideTheirBoundsAndDescribeThemselves) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    EXPECT_EQ(device_->CreateVertexBuffer(0, 0, 0, D3DPOOL_MANAGED, &vertices, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateVertexBuffer(64, 0, 0, D3DPOOL_SCRATCH, &vertices, nullptr), D3DERR_INVALIDCALL);
    const DWORD usage = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;
    ASSERT_EQ(device_->CreateVertexBuffer(64, usage, D3DFVF_XYZ, D3DPOOL_DEFAULT, &vertices, nullptr),
              D3D_OK);
    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_EQ(vertices->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(std::make_tuple(desc.Size, desc.FVF, desc.Usage, desc.Type),
              std::make_tuple(64u, DWORD{D3DFVF_XYZ}, usage, D3DRTYPE_VERTEXBUFFER));
    void* whole = nullptr;
    void* part = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, &whole, D3DLOCK_DISCARD), D3D_OK);
    // Locks nest; the pointer of a range is the buffer's plus its offset.
    ASSERT_EQ(vertices->Lock(16, 8, &part, D3DLOCK_NOOVERWRITE), D3D_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(part) - static_cast<std::uint8_t*>(whole), 16);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3DERR_INVALIDCALL);
    part = reinterpret_cast<void*>(std::uintptr_t{0x1});
    EXPECT_EQ(vertices->Lock(60, 8, &part, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(part, nullptr);
    EXPECT_EQ(vertices->Lock(65, 0, &part, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vertices->Lock(0, 0, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vertices->Release(), 0u);

    IDirect3DIndexBuffer9* indices = nullptr;
    EXPECT_EQ(device_->CreateIndexBuffer(12, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &indices, nullptr),
              D3DERR_INVALIDCALL);
    for (const D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
        ASSERT_EQ(device_->CreateIndexBuffer(24, 0, format, D3DPOOL_SYSTEMMEM, &indices, nullptr), D3D_OK);
        D3DINDEXBUFFER_DESC indexDesc{};
        ASSERT_EQ(indices->GetDesc(&indexDesc), D3D_OK);
        EXPECT_EQ(std::make_tuple(indexDesc.Format, indexDesc.Size, indexDesc.Pool, indices->GetType()),
                  std::make_tuple(format, 24u, D3DPOOL_SYSTEMMEM, D3DRTYPE_INDEXBUFFER));
        EXPECT_EQ(indices->Release(), 0u);
    }
}

TEST_F(RefusalsTest, ResetWaitsForTheCallersVideoMemoryResources) {
    IDirect3DTexture9* target = Texture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* managed = Texture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    D3DPRESENT_PARAMETERS pp = Parameters();
    pp.BackBufferWidth = 32;
    pp.BackBufferHeight = 16;
    EXPECT_EQ(device_->Reset(&pp), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->Reset(nullptr), D3DERR_INVALIDCALL);
    // A bound default-pool texture that the caller released does not hold Reset up.
    ASSERT_EQ(device_->SetTexture(0, target), D3D_OK);
    ASSERT_EQ(device_->SetTexture(1, managed), D3D_OK);
    EXPECT_EQ(target->Release(), 0u);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    EXPECT_EQ(device_->Reset(&pp), D3DERR_INVALIDCALL);
    backBuffer->Release();
    ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
    ASSERT_EQ(device_->Reset(&pp), D3D_OK);
    // Reset brings every state back to its default; managed textures survive, bindings do not; the
    // back buffer has the new size.
    EXPECT_EQ(Render(D3DRS_LIGHTING), DWORD{TRUE});
    IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(std::uintptr_t{0x1});
    ASSERT_EQ(device_->GetTexture(1, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(managed->GetLevelCount(), 1u);
    EXPECT_EQ(managed->Release(), 0u);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(width_, 32u);
    EXPECT_EQ(height_, 16u);
    EXPECT_EQ(At(31, 15), (Pixel{0xFF, 0x00, 0x00, 0xFF}));
}

} // namespace
