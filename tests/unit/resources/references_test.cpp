// Reference counts where Direct3D 9 leaves them: a texture's surfaces count on the texture, getters
// add one, and bindings hold the device's own reference, which the caller never sees.
#include "resource_fixture.h"

namespace {

using ResourceReferencesTest = ResourceFixture;

TEST_F(ResourceReferencesTest, SurfacesOfATextureCountOnTheTexture) {
    IDirect3DTexture9* texture = Texture(8, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    EXPECT_EQ(CountOf(device_), 2u);
    IDirect3DSurface9 *level0 = nullptr, *level1 = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level0), D3D_OK);
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level1), D3D_OK);
    EXPECT_EQ(CountOf(texture), 3u);
    EXPECT_EQ(CountOf(level0), 3u);
    EXPECT_EQ(CountOf(device_), 2u); // the texture holds the device once, however many references
    IDirect3DTexture9* container = nullptr;
    ASSERT_EQ(level1->GetContainer(IID_IDirect3DTexture9, reinterpret_cast<void**>(&container)), D3D_OK);
    EXPECT_EQ(container, texture);
    EXPECT_EQ(container->Release(), 3u);
    void* none = nullptr;
    EXPECT_EQ(level1->GetContainer(IID_IDirect3DCubeTexture9, &none), E_NOINTERFACE);

    // The caller's texture reference goes first; the surfaces keep the texture alive.
    EXPECT_EQ(texture->Release(), 2u);
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(level1->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(level0->Release(), 1u);
    const std::size_t alive = platform::LiveObjectCount();
    EXPECT_EQ(level1->Release(), 0u);
    EXPECT_EQ(platform::LiveObjectCount(), alive - 3); // the texture and its two surfaces
    EXPECT_EQ(CountOf(device_), 1u);
}

TEST_F(ResourceReferencesTest, BoundResourcesStayAliveUntilUnbound) {
    IDirect3DTexture9* texture = Texture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(64, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    ASSERT_EQ(device_->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    const std::size_t withResources = platform::LiveObjectCount();
    ASSERT_EQ(device_->SetTexture(3, texture), D3D_OK);
    ASSERT_EQ(device_->SetTexture(D3DVERTEXTEXTURESAMPLER0, texture), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, vertices, 8, 12), D3D_OK);
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    // Binding does not show in the caller's counts.
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(vertices->Release(), 0u);
    EXPECT_EQ(indices->Release(), 0u);
    EXPECT_EQ(platform::LiveObjectCount(), withResources);

    // Getters hand the bound objects out with a reference, and they still work.
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device_->GetTexture(3, &bound), D3D_OK);
    EXPECT_EQ(bound->GetLevelCount(), 1u);
    EXPECT_EQ(bound->Release(), 0u);
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT offset = 0, stride = 0;
    ASSERT_EQ(device_->GetStreamSource(0, &stream, &offset, &stride), D3D_OK);
    EXPECT_EQ(offset, 8u);
    EXPECT_EQ(stride, 12u);
    void* data = nullptr;
    EXPECT_EQ(stream->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(stream->Unlock(), D3D_OK);
    EXPECT_EQ(stream->Release(), 0u);

    ASSERT_EQ(device_->SetTexture(3, nullptr), D3D_OK);
    EXPECT_EQ(platform::LiveObjectCount(), withResources);
    ASSERT_EQ(device_->SetTexture(D3DVERTEXTEXTURESAMPLER0, nullptr), D3D_OK);
    EXPECT_EQ(platform::LiveObjectCount(), withResources - 2); // the texture with its one surface
    ASSERT_EQ(device_->SetStreamSource(0, nullptr, 0, 0), D3D_OK);
    EXPECT_EQ(platform::LiveObjectCount(), withResources - 3);
    // The indices stay bound: the device lets go of them when it goes (TearDown checks).
}

TEST_F(ResourceReferencesTest, RenderTargetsHoldTheirTextureAndTheDeviceLetsGo) {
    IDirect3DTexture9* texture = Texture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    IDirect3DSurface9* secondTarget = RenderTarget(16, 16, D3DFMT_R32F);
    ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(1, secondTarget), D3D_OK);
    EXPECT_EQ(surface->Release(), 1u);
    EXPECT_EQ(texture->Release(), 0u);

    D3DVIEWPORT9 viewport{};
    ASSERT_EQ(device_->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, 16u);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0), D3D_OK);
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &target), D3D_OK);
    EXPECT_EQ(CountOf(target), 1u);
    EXPECT_EQ(TargetBytes(target, 64)[2], 0x33);
    target->Release();
    // Clear fills every bound target: 0x33 of red is 0.2 in the float target.
    const std::vector<std::uint8_t> second = TargetBytes(secondTarget, 64);
    float red = 0.0f;
    std::memcpy(&red, second.data(), 4);
    EXPECT_FLOAT_EQ(red, 0.2f);
    secondTarget->Release();
    IDirect3DSurface9* none = nullptr;
    EXPECT_EQ(device_->GetRenderTarget(2, &none), D3DERR_NOTFOUND);
    EXPECT_EQ(device_->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetRenderTarget(1, nullptr), D3D_OK);
    // The device's release at destruction takes the texture (TearDown checks the live count).
}

} // namespace
